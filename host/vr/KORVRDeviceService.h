#pragma once
// The immersive-device service of one front-end run: the dispatcher that
// hands device events to their subscribers on the user-interface thread, the
// device manager whose mapping says which tracked body sends which event, and
// what the runtime reports as loaded. The application frame owns one and makes
// it current with its scope, so that the runtime information component and the
// tracking test reach the frame's service without naming the frame.
//
// Which events the head's and the hand's trackers send:
//   - a front end that feeds a tracking source sets the mapping
//     (SetMapping); the runtime then names exactly the mapped events;
//   - otherwise the runtime names what its settings say (KORIVRRuntimeInfo.h),
//     and with no runtime the host's defaults apply: body 1 sends the head's
//     "VIEWPORT_EVENT", body 2 the hand's "POSITION_EVENT", both of the device
//     KORVRDefaultDeviceName.
#include "system/KORCurrentScope.h"
#include "vr/KORVRDeviceManager.h"
#include "vr/KORVRDispatcher.h"

#include <optional>

inline constexpr const char* KORVRDefaultDeviceName = "Tracking";

class KORVRDeviceService {
public:
  KORVRDeviceService();
  KORVRDeviceService(const KORVRDeviceService&) = delete;
  KORVRDeviceService& operator=(const KORVRDeviceService&) = delete;

  // The service of the innermost active scope on this thread, or null.
  static KORVRDeviceService* Current();

  KORVRDispatcher& GetDispatcher() { return _dispatcher; }
  const KORVRDeviceManager& GetDeviceManager() const { return _manager; }
  // Replaces the default mapping; tracking sources started afterwards use it.
  void SetMapping(const KORVRDeviceManager& iManager);
  bool HasMapping() const { return _mapped; }

  // The identifier the runtime reports as loaded, whatever its registry says
  // (a journal's `runtime` line); empty: the registry decides.
  void SetLoadedConfigID(const KORUnicodeString& iID) { _loadedConfigID = iID; }
  const KORUnicodeString& GetLoadedConfigID() const { return _loadedConfigID; }

  class Scope : public KORCurrentScope<KORVRDeviceService> {
  public:
    explicit Scope(KORVRDeviceService& iService);
  };

private:
  KORVRDispatcher _dispatcher;
  KORVRDeviceManager _manager;
  bool _mapped = false;
  KORUnicodeString _loadedConfigID;
};

// A subscriber's hold on the dispatcher of the service current when it was
// made: the callbacks added through it are called on the user-interface
// thread when the frame is idle, and end when it is destroyed. It must not
// outlive that service (a command ends before its frame's service).
class KORVRDispatcherOnIdle {
public:
  KORVRDispatcherOnIdle();
  ~KORVRDispatcherOnIdle();
  KORVRDispatcherOnIdle(const KORVRDispatcherOnIdle&) = delete;
  KORVRDispatcherOnIdle& operator=(const KORVRDispatcherOnIdle&) = delete;

  // S_OK; E_FAIL when it was made outside every service.
  HRESULT AddDeviceCallback(const std::vector<KORVRDeviceEvent>& iEvents,
                            KORVRDeviceCallback iCallback);

private:
  KORVRDispatcher* _dispatcher;
  std::vector<KORVRDispatcher::SubscriptionId> _subscriptions;
};

// The host's default events of the head's and the hand's trackers, from the
// current service's mapping (the defaults above outside every service).
// oAvailable tells whether a tracker sends it; the event is empty otherwise.
KORVRDeviceEvent KORGetHeadTrackingEvent(bool& oAvailable);
KORVRDeviceEvent KORGetHandTrackingEvent(bool& oAvailable);

// The events the head's and the hand's trackers send, head first, as the
// tracking test finds them: named by the runtime (KORIVRRuntimeInfo.h) when
// one is available, else the host's defaults. A tracker that sends nothing is
// left out.
std::vector<KORVRDeviceEvent> KORVRGetTrackerEvents();

// The device manager's lookup of an event by device, name and index.
class KORVRManager {
public:
  // The event (without data) when a device of the current service sends it:
  // with a mapping set, a mapped event; without, any of the two tracking
  // events, as the runtime's own devices send what its settings name.
  // oAvailable false and an empty event otherwise.
  static KORVRDeviceEvent FindEvent(const KORString& iDeviceName, const KORString& iEventName,
                                    int iIndex, bool& oAvailable);
};
