#pragma once
// What every object of a document (feature, container, document) carries
// besides its implementation: a model-event dispatcher and whether it has
// left its document (removed or closed). A dead object answers queries but
// no longer takes part in the document: links to it do not resolve and
// events do not reach it.
#include "featurestore/KORNotificationDispatcher.h"

class KORImplementation;

class KORModelObject {
public:
  KORNotificationDispatcher& Dispatcher() { return _dispatcher; }
  bool IsDead() const { return _dead; }

  // The model object behind an interface pointer, or null.
  static KORModelObject* From(KORBaseUnknown* iObject);
  static KORModelObject* From(KORImplementation& iImplementation);
  static bool IsDeadObject(KORBaseUnknown* iObject);

protected:
  KORModelObject() = default;
  virtual ~KORModelObject() = default;
  void MarkDead() { _dead = true; }
  // Back in the document (undo or redo of its removal).
  void MarkAlive() { _dead = false; }

private:
  KORNotificationDispatcher _dispatcher;
  bool _dead = false;
};
