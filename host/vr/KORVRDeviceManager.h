#pragma once
// The device manager: which tracked body of a tracking device becomes which
// device event. The caller configures it (from the configuration's head and
// hand trackers) before a source starts reading:
//
//   - the head's body becomes the head event, of the kind the runtime
//     settings name for the head: "VIEWPORT_EVENT" (one window) or
//     "POSITION_EVENT" (several windows), with that kind's data layout;
//   - the hand's body becomes a "POSITION_EVENT".
//
// Events are named by the device name, the event name and the body's ID as
// index, the way the runtime settings write them ("Polhemus VIEWPORT_EVENT 1").
// A body the controller does not see (negative quality) makes no event.
// A frame owns its manager; sources take a copy when they start, so a
// running source is not affected by later changes.
#include "objectmodel/KORResult.h"
#include "vr/KORVRDeviceEvent.h"
#include "vr/KORVRTrackingDatagram.h"

#include <optional>

class KORVRDeviceManager {
public:
  explicit KORVRDeviceManager(KORString iDeviceName) : _deviceName(std::move(iDeviceName)) {}

  const KORString& GetDeviceName() const { return _deviceName; }

  // E_INVALIDARG for a negative body ID or an event name other than the two
  // tracking events; the mapping is then left as it was.
  HRESULT SetHeadBody(int iBodyId, const KORString& iEventName);
  HRESULT SetHandBody(int iBodyId);
  void ClearMapping();

  // The head's (hand's) event with no data: S_OK, or E_FAIL (oEvent left as
  // it was) when no body is mapped to it.
  HRESULT GetHeadTrackingEvent(KORVRDeviceEvent& oEvent) const;
  HRESULT GetHandTrackingEvent(KORVRDeviceEvent& oEvent) const;
  // The mapped event named by device, event name and index: S_OK, or E_FAIL
  // (oEvent left as it was) when this manager produces no such event.
  HRESULT FindEvent(const KORString& iDeviceName, const KORString& iEventName, int iIndex,
                    KORVRDeviceEvent& oEvent) const;

  // Appends to oEvents the events of iFrame's mapped, tracked bodies: the
  // head's first, then the hand's.
  void MakeEvents(const KORVRTrackingFrame& iFrame, std::vector<KORVRDeviceEvent>& oEvents) const;

private:
  struct Route {
    int bodyId;
    KORString eventName;
  };
  KORVRDeviceEvent EventOf(const Route& iRoute) const;
  HRESULT ReturnEventOf(const std::optional<Route>& iRoute, KORVRDeviceEvent& oEvent) const;
  void AppendEvent(const KORVRTrackingFrame& iFrame, const Route& iRoute,
                   std::vector<KORVRDeviceEvent>& oEvents) const;

  KORString _deviceName;
  std::optional<Route> _head;
  std::optional<Route> _hand;
};
