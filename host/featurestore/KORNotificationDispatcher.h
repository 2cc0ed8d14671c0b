#pragma once
// The dispatcher of one object: the objects connected to it as receivers (its
// fathers for events) and the listeners subscribed to it. Dispatching a
// notification calls the listeners, then each receiver's Receive, which passes
// it further up. Listeners and receivers may be removed while a notification
// is being delivered.
#include "featurestore/KORNotification.h"

#include <functional>
#include <vector>

class KORNotificationDispatcher {
public:
  using Listener = std::function<void(const KORNotification&)>;

  // iReceiver (an identity) receives what this object dispatches.
  void AddReceiver(KORBaseUnknown* iReceiver);
  void RemoveReceiver(KORBaseUnknown* iReceiver);
  bool HasReceiver(KORBaseUnknown* iReceiver) const;
  std::size_t ReceiverCount() const { return _receivers.size(); }

  int AddListener(Listener iListener);
  void RemoveListener(int iListenerId);

  // iSelf is the identity of the dispatching object, marked as reached first.
  void Dispatch(KORNotification& ioNotification, const void* iSelf);
  // Forgets receivers and listeners (the object leaves its document).
  void Clear();

private:
  struct Subscription {
    int id;
    Listener listener;
  };
  std::vector<KORBaseUnknown_var> _receivers;
  std::vector<Subscription> _listeners;
  int _nextListenerId = 1;
};
