#include "featurestore/KORNotificationDispatcher.h"

#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORModelObject.h"
#include "objectmodel/KORExtensionDictionary.h"

#include <algorithm>

// Counts a delivery in progress; the outermost one drops what was removed.
class KORNotificationDispatcher::Delivery {
public:
  explicit Delivery(KORNotificationDispatcher& iDispatcher) : _dispatcher(iDispatcher) {
    ++_dispatcher._deliveries;
  }
  ~Delivery() {
    if (--_dispatcher._deliveries == 0 && _dispatcher._removedDuringDelivery)
      _dispatcher.Compact();
  }
  Delivery(const Delivery&) = delete;
  Delivery& operator=(const Delivery&) = delete;

private:
  KORNotificationDispatcher& _dispatcher;
};

// The model object is found on the first delivery (Bind), not here: loading
// a document connects thousands of receivers that no event may ever reach.
KORNotificationDispatcher::Receiver::Receiver(KORBaseUnknown* iObject)
    : object(iObject), model(nullptr) {}

KORNotificationDispatcher::Receiver*
KORNotificationDispatcher::FindReceiver(KORBaseUnknown* iReceiver) {
  auto found = std::find_if(_receivers.begin(), _receivers.end(),
                            [&](const Receiver& r) { return r.object.get() == iReceiver; });
  return found == _receivers.end() ? nullptr : &*found;
}

void KORNotificationDispatcher::AddReceiver(KORBaseUnknown* iReceiver) {
  if (!iReceiver)
    return;
  // One removed earlier in the running delivery comes back in its place.
  if (Receiver* known = FindReceiver(iReceiver)) {
    known->removed = false;
    return;
  }
  // An element of a loaded document passes its events to its container and
  // to its father: room for both at once spares a regrowth on each.
  if (_receivers.empty())
    _receivers.reserve(2);
  _receivers.emplace_back(iReceiver);
}

void KORNotificationDispatcher::RemoveReceiver(KORBaseUnknown* iReceiver) {
  if (_deliveries == 0) {
    std::erase_if(_receivers, [&](const Receiver& r) { return r.object.get() == iReceiver; });
  } else if (Receiver* known = FindReceiver(iReceiver)) {
    known->removed = true;
    _removedDuringDelivery = true;
  }
}

bool KORNotificationDispatcher::HasReceiver(KORBaseUnknown* iReceiver) const {
  return std::any_of(_receivers.begin(), _receivers.end(), [&](const Receiver& r) {
    return !r.removed && r.object.get() == iReceiver;
  });
}

std::size_t KORNotificationDispatcher::ReceiverCount() const {
  return static_cast<std::size_t>(
      std::count_if(_receivers.begin(), _receivers.end(), [](const Receiver& r) { return !r.removed; }));
}

int KORNotificationDispatcher::AddListener(Listener iListener) {
  _listeners.push_back({_nextListenerId, std::make_unique<Listener>(std::move(iListener))});
  return _nextListenerId++;
}

void KORNotificationDispatcher::RemoveListener(int iListenerId) {
  if (_deliveries == 0) {
    std::erase_if(_listeners, [&](const Subscription& s) { return s.id == iListenerId; });
    return;
  }
  for (Subscription& subscription : _listeners)
    if (subscription.id == iListenerId) {
      subscription.id = 0;
      _removedDuringDelivery = true;
    }
}

void KORNotificationDispatcher::Dispatch(KORNotification& ioNotification) {
  // Marked first, so that a cycle leading back here stops; an object reached
  // already (a father handed a creation directly) still dispatches it.
  ioNotification.MarkReached(_marks);
  Delivery delivery(*this);
  // Indexes, not iterators: the lists may grow during the calls; entries added
  // past the count taken here wait for the next notification.
  const std::size_t listenerCount = _listeners.size();
  for (std::size_t i = 0; i < listenerCount; ++i)
    if (_listeners[i].id != 0)
      (*_listeners[i].listener)(ioNotification);
  const std::size_t receiverCount = _receivers.size();
  ioNotification.ExpectReached(receiverCount);
  for (std::size_t i = 0; i < receiverCount; ++i) {
    Receiver& receiver = _receivers[i];
    if (receiver.removed)
      continue;
    if (receiver.generation != KORExtensionDictionary::Generation())
      Bind(receiver);
    // Most receivers of a busy object were reached already through another
    // path: that is asked first, as it is the cheapest.
    KORModelObject* model = receiver.model;
    if (!(model ? ioNotification.MarkReached(model->Dispatcher()._marks)
                : ioNotification.MarkReached(receiver.object.get())))
      continue;
    // A raw pointer, as the list may move during the call; the receiver
    // stays alive, as a removed one is only marked until the delivery ends.
    KORIModelEvents* events = receiver.events.get();
    if (events && !(model && model->IsDead()))
      KORIgnoreResult(events->Receive(ioNotification),
                      "one receiver's failure does not stop the event reaching the others");
  }
}

void KORNotificationDispatcher::Bind(Receiver& ioReceiver) {
  ioReceiver.events = KORQuery<KORIModelEvents>(ioReceiver.object.get());
  // The object behind an identity never changes: found once.
  if (ioReceiver.generation == 0)
    ioReceiver.model = KORModelObject::From(ioReceiver.object.get());
  ioReceiver.generation = KORExtensionDictionary::Generation();
}

void KORNotificationDispatcher::Compact() {
  _removedDuringDelivery = false;
  // Moved out before they are released: releasing a receiver may run code
  // that looks at this dispatcher.
  std::vector<Receiver> removedReceivers;
  std::vector<Subscription> removedListeners;
  auto keptReceivers = std::stable_partition(_receivers.begin(), _receivers.end(),
                                             [](const Receiver& r) { return !r.removed; });
  std::move(keptReceivers, _receivers.end(), std::back_inserter(removedReceivers));
  _receivers.erase(keptReceivers, _receivers.end());
  auto keptListeners = std::stable_partition(_listeners.begin(), _listeners.end(),
                                             [](const Subscription& s) { return s.id != 0; });
  std::move(keptListeners, _listeners.end(), std::back_inserter(removedListeners));
  _listeners.erase(keptListeners, _listeners.end());
}

void KORNotificationDispatcher::Clear() {
  if (_deliveries > 0) {
    // The running delivery still walks the lists: mark everything removed.
    for (Receiver& receiver : _receivers)
      receiver.removed = true;
    for (Subscription& subscription : _listeners)
      subscription.id = 0;
    _removedDuringDelivery = true;
    return;
  }
  // Move out first: releasing a receiver may run code that looks at us.
  auto receivers = std::move(_receivers);
  auto listeners = std::move(_listeners);
  _receivers.clear();
  _listeners.clear();
}
