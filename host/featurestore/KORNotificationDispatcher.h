#pragma once
// The dispatcher of one object: the objects connected to it as receivers (its
// fathers for events) and the listeners subscribed to it. Dispatching a
// notification calls the listeners, then each receiver's Receive, which passes
// it further up. Listeners and receivers may be added or removed while a
// notification is being delivered: one removed is not called again, one added
// hears the next notification. Delivery copies nothing: what is removed during
// a delivery is only marked, and dropped once the outermost delivery ends.
#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORNotification.h"

#include <functional>
#include <memory>
#include <vector>

class KORModelObject;

class KORNotificationDispatcher {
public:
  using Listener = std::function<void(const KORNotification&)>;

  // iReceiver (an identity) receives what this object dispatches.
  void AddReceiver(KORBaseUnknown* iReceiver);
  void RemoveReceiver(KORBaseUnknown* iReceiver);
  bool HasReceiver(KORBaseUnknown* iReceiver) const;
  std::size_t ReceiverCount() const;

  int AddListener(Listener iListener);
  void RemoveListener(int iListenerId);

  // The dispatching object is marked as reached first.
  void Dispatch(KORNotification& ioNotification);
  // Where notifications mark the object of this dispatcher as reached.
  KORReachedMarks& Marks() { return _marks; }
  // Forgets receivers and listeners (the object leaves its document).
  void Clear();

private:
  struct Receiver {
    explicit Receiver(KORBaseUnknown* iObject);
    KORBaseUnknown_var object;
    KORModelObject* model; // null for an object of no document
    bool removed = false;
    // The receiver's events, bound on its first delivery and again only when
    // the extension dictionary changed: a busy object passes every event to
    // the same receivers.
    KORIModelEvents_var events;
    unsigned generation = 0; // 0: not bound yet
  };
  struct Subscription {
    int id; // 0 once removed
    // On the heap, so that a listener running stays in place when the list grows.
    std::unique_ptr<Listener> listener;
  };
  class Delivery;
  Receiver* FindReceiver(KORBaseUnknown* iReceiver);
  // Finds the receiver's model object (once) and its event interface (again
  // whenever the extension dictionary changed).
  static void Bind(Receiver& ioReceiver);
  // Drops what was removed during deliveries.
  void Compact();

  std::vector<Receiver> _receivers;
  std::vector<Subscription> _listeners;
  int _nextListenerId = 1;
  int _deliveries = 0; // nested deliveries running
  bool _removedDuringDelivery = false;
  KORReachedMarks _marks;
};
