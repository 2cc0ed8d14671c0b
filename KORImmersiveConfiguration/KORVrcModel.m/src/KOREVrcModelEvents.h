#pragma once
// Model events of elements and of the configuration container: the
// platform's event passing, plus what each kind does on receiving an event
// before passing it on (a view or tracker that hears a change of what it is
// connected to changes too; the configuration root renews its identifier).
#include "featurestore/KORStandardModelEvents.h"

class KOREVrcConfig;

class KOREVrcModelEvents : public KORStandardModelEvents {
public:
  HRESULT Receive(KORNotification& ioNotification) override;

  // What the receiving element does with an event, by what it is.
  enum class Role { ConfigurationRoot, ChangesOnModify, TrackingStation, GraphicResources, None };

private:
  // Found from the element's interfaces on its first event, and again only
  // when the extension dictionary changed (its kind never does).
  Role GetRole();
  Role _role = Role::None;
  unsigned _roleGeneration = 0;
  // The root's configuration behaviour (the component map attaches
  // KOREVrcConfig to every root), found with the role: the root renews
  // its identifier on every event. Not counted: it is this same object's.
  KOREVrcConfig* _config = nullptr;
};
