#include "featurestore/KORNotificationDispatcher.h"

#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORModelObject.h"

#include <algorithm>

void KORNotificationDispatcher::AddReceiver(KORBaseUnknown* iReceiver) {
  if (iReceiver && !HasReceiver(iReceiver))
    _receivers.emplace_back(iReceiver);
}

void KORNotificationDispatcher::RemoveReceiver(KORBaseUnknown* iReceiver) {
  std::erase_if(_receivers, [&](const KORBaseUnknown_var& r) { return r.get() == iReceiver; });
}

bool KORNotificationDispatcher::HasReceiver(KORBaseUnknown* iReceiver) const {
  return std::any_of(_receivers.begin(), _receivers.end(),
                     [&](const KORBaseUnknown_var& r) { return r.get() == iReceiver; });
}

int KORNotificationDispatcher::AddListener(Listener iListener) {
  _listeners.push_back({_nextListenerId, std::move(iListener)});
  return _nextListenerId++;
}

void KORNotificationDispatcher::RemoveListener(int iListenerId) {
  std::erase_if(_listeners, [&](const Subscription& s) { return s.id == iListenerId; });
}

void KORNotificationDispatcher::Dispatch(KORNotification& ioNotification, const void* iSelf) {
  ioNotification.MarkReached(iSelf);
  // Deliver to a snapshot, skipping whoever unsubscribed meanwhile.
  std::vector<int> listenerIds;
  for (const Subscription& s : _listeners)
    listenerIds.push_back(s.id);
  for (int id : listenerIds) {
    auto found = std::find_if(_listeners.begin(), _listeners.end(),
                              [&](const Subscription& s) { return s.id == id; });
    if (found != _listeners.end()) {
      Listener listener = found->listener; // the call may erase the entry
      listener(ioNotification);
    }
  }
  std::vector<KORBaseUnknown_var> receivers = _receivers;
  for (const KORBaseUnknown_var& receiver : receivers) {
    if (!HasReceiver(receiver.get()) || KORModelObject::IsDeadObject(receiver.get()))
      continue;
    if (!ioNotification.MarkReached(receiver.get()))
      continue;
    if (auto events = KORQuery<KORIModelEvents>(receiver))
      KORIgnoreResult(events->Receive(ioNotification),
                      "one receiver's failure does not stop the event reaching the others");
  }
}

void KORNotificationDispatcher::Clear() {
  // Move out first: releasing a receiver may run code that looks at us.
  auto receivers = std::move(_receivers);
  auto listeners = std::move(_listeners);
  _receivers.clear();
  _listeners.clear();
}
