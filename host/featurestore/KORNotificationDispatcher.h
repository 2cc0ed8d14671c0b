#pragma once
// The dispatcher of one object: the objects connected to it as receivers (its
// fathers for events) and the listeners subscribed to it. Dispatching a
// notification calls the listeners, then each receiver's Receive, which passes
// it further up. Listeners and receivers may be added or removed while a
// notification is being delivered: one removed is not called again, one added
// hears the next notification. Delivery copies nothing: what is removed during
// a delivery is only marked, and dropped once the outermost delivery ends.
#include "featurestore/KORNotification.h"

#include <functional>
#include <memory>
#include <vector>

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

  // iSelf is the identity of the dispatching object, marked as reached first.
  void Dispatch(KORNotification& ioNotification, const void* iSelf);
  // Forgets receivers and listeners (the object leaves its document).
  void Clear();

private:
  struct Receiver {
    KORBaseUnknown_var object;
    bool removed = false;
  };
  struct Subscription {
    int id; // 0 once removed
    // On the heap, so that a listener running stays in place when the list grows.
    std::unique_ptr<Listener> listener;
  };
  class Delivery;
  Receiver* FindReceiver(KORBaseUnknown* iReceiver);
  // Drops what was removed during deliveries.
  void Compact();

  std::vector<Receiver> _receivers;
  std::vector<Subscription> _listeners;
  int _nextListenerId = 1;
  int _deliveries = 0; // nested deliveries running
  bool _removedDuringDelivery = false;
};
