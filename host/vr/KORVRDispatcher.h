#pragma once
// The device dispatcher: hands device events, posted from any thread (the
// tracking sources read their sockets off the user-interface thread), to the
// subscribers on the thread that pumps it (the user-interface thread; the
// frame pumps it when idle).
//
// A subscriber registers a callback for an event name ("VIEWPORT_EVENT") or
// for a list of events (device, name and index). Each Pump delivers what was
// posted since the last one: every subscriber whose events arrived gets one
// notification holding them, oldest first, so a slow pump loses nothing and
// a subscriber that wants only the current placement reads Newest().
// Subscribers are called in the order they registered; a callback may remove
// any subscription, its own included, and a removed subscriber is not called
// again, not even later in the same pump. A subscription added during a pump
// receives from the next pump on.
//
// Posted events wait in a queue of bounded capacity: when the pump falls so
// far behind that it is full, the oldest event is dropped (and counted), as
// old placements are worth less than new ones.
#include "objectmodel/KORResult.h"
#include "vr/KORVRDeviceEvent.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

using KORVRDeviceCallback = std::function<void(const KORVRNotification&)>;

class KORVRDispatcher {
public:
  using SubscriptionId = std::uint64_t;

  explicit KORVRDispatcher(std::size_t iCapacity = 65536) : _capacity(iCapacity) {}
  KORVRDispatcher(const KORVRDispatcher&) = delete;
  KORVRDispatcher& operator=(const KORVRDispatcher&) = delete;

  // Every event named iEventName, from any device and index.
  SubscriptionId Subscribe(const KORString& iEventName, KORVRDeviceCallback iCallback);
  // The events of iEvents (compared with IsSameEvent).
  SubscriptionId AddDeviceCallback(const std::vector<KORVRDeviceEvent>& iEvents,
                                   KORVRDeviceCallback iCallback);
  // S_OK, or S_FALSE when iId is not (or no longer) subscribed.
  HRESULT RemoveCallback(SubscriptionId iId);

  // Thread-safe. The batch is queued as a whole (no pump sees half of it)
  // and ioEvents is left empty.
  void Post(KORVRDeviceEvent iEvent);
  void Post(std::vector<KORVRDeviceEvent>& ioEvents);

  // Delivers what was posted before the call; returns how many events it took
  // from the queue (delivered to no one when no subscriber wants them).
  std::size_t Pump();

  std::size_t GetPendingCount() const;
  std::uint64_t GetDroppedCount() const;

private:
  struct Subscription {
    SubscriptionId id;
    KORString eventName; // empty: listens to `events` instead
    std::vector<KORVRDeviceEvent> events;
    KORVRDeviceCallback callback;
    bool removed = false;
    bool Wants(const KORVRDeviceEvent& iEvent) const;
  };
  SubscriptionId Add(Subscription iSubscription);
  void PushLocked(KORVRDeviceEvent&& ioEvent);

  const std::size_t _capacity;
  mutable std::mutex _queueMutex;
  std::deque<KORVRDeviceEvent> _queue;
  std::uint64_t _dropped = 0;

  // Touched by the pumping thread only. Shared so that a pump keeps the
  // subscription it is calling alive when the callback removes it.
  std::vector<std::shared_ptr<Subscription>> _subscriptions;
  SubscriptionId _nextId = 1;
};
