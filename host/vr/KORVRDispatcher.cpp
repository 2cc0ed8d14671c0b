#include "vr/KORVRDispatcher.h"

#include <algorithm>

bool KORVRDispatcher::Subscription::Wants(const KORVRDeviceEvent& iEvent) const {
  if (!eventName.empty())
    return iEvent.GetName() == eventName;
  return std::any_of(events.begin(), events.end(),
                     [&](const KORVRDeviceEvent& iWanted) { return iWanted.IsSameEvent(iEvent); });
}

KORVRDispatcher::SubscriptionId KORVRDispatcher::Add(Subscription iSubscription) {
  iSubscription.id = _nextId++;
  _subscriptions.push_back(std::make_shared<Subscription>(std::move(iSubscription)));
  return _subscriptions.back()->id;
}

KORVRDispatcher::SubscriptionId KORVRDispatcher::Subscribe(const KORString& iEventName,
                                                           KORVRDeviceCallback iCallback) {
  return Add(Subscription{0, iEventName, {}, std::move(iCallback)});
}

KORVRDispatcher::SubscriptionId
KORVRDispatcher::AddDeviceCallback(const std::vector<KORVRDeviceEvent>& iEvents,
                                   KORVRDeviceCallback iCallback) {
  return Add(Subscription{0, "", iEvents, std::move(iCallback)});
}

HRESULT KORVRDispatcher::RemoveCallback(SubscriptionId iId) {
  auto found = std::find_if(_subscriptions.begin(), _subscriptions.end(),
                            [&](const auto& iSubscription) { return iSubscription->id == iId; });
  if (found == _subscriptions.end())
    return S_FALSE;
  (*found)->removed = true;
  _subscriptions.erase(found);
  return S_OK;
}

void KORVRDispatcher::PushLocked(KORVRDeviceEvent&& ioEvent) {
  if (_capacity == 0) {
    ++_dropped;
    return;
  }
  if (_queue.size() == _capacity) {
    _queue.pop_front();
    ++_dropped;
  }
  _queue.push_back(std::move(ioEvent));
}

void KORVRDispatcher::Post(KORVRDeviceEvent iEvent) {
  std::lock_guard lock(_queueMutex);
  PushLocked(std::move(iEvent));
}

void KORVRDispatcher::Post(std::vector<KORVRDeviceEvent>& ioEvents) {
  std::lock_guard lock(_queueMutex);
  for (KORVRDeviceEvent& event : ioEvents)
    PushLocked(std::move(event));
  ioEvents.clear();
}

std::size_t KORVRDispatcher::Pump() {
  std::deque<KORVRDeviceEvent> taken;
  {
    std::lock_guard lock(_queueMutex);
    taken.swap(_queue);
  }
  if (taken.empty())
    return 0;
  const std::vector<std::shared_ptr<Subscription>> subscribers = _subscriptions;
  for (const auto& subscriber : subscribers) {
    if (subscriber->removed)
      continue;
    std::vector<KORVRDeviceEvent> wanted;
    std::copy_if(taken.begin(), taken.end(), std::back_inserter(wanted),
                 [&](const KORVRDeviceEvent& iEvent) { return subscriber->Wants(iEvent); });
    if (!wanted.empty())
      subscriber->callback(KORVRNotification(std::move(wanted)));
  }
  return taken.size();
}

std::size_t KORVRDispatcher::GetPendingCount() const {
  std::lock_guard lock(_queueMutex);
  return _queue.size();
}

std::uint64_t KORVRDispatcher::GetDroppedCount() const {
  std::lock_guard lock(_queueMutex);
  return _dropped;
}
