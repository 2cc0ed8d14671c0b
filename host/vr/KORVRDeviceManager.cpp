#include "vr/KORVRDeviceManager.h"

#include <algorithm>

HRESULT KORVRDeviceManager::SetHeadBody(int iBodyId, const KORString& iEventName) {
  if (iBodyId < 0 || (iEventName != KORVRViewportEventName && iEventName != KORVRPositionEventName))
    return E_INVALIDARG;
  _head = Route{iBodyId, iEventName};
  return S_OK;
}

HRESULT KORVRDeviceManager::SetHandBody(int iBodyId) {
  if (iBodyId < 0)
    return E_INVALIDARG;
  _hand = Route{iBodyId, KORVRPositionEventName};
  return S_OK;
}

void KORVRDeviceManager::ClearMapping() {
  _head.reset();
  _hand.reset();
}

KORVRDeviceEvent KORVRDeviceManager::EventOf(const Route& iRoute) const {
  return KORVRDeviceEvent(_deviceName, iRoute.eventName, iRoute.bodyId);
}

HRESULT KORVRDeviceManager::ReturnEventOf(const std::optional<Route>& iRoute,
                                          KORVRDeviceEvent& oEvent) const {
  if (!iRoute)
    return E_FAIL;
  oEvent = EventOf(*iRoute);
  return S_OK;
}

HRESULT KORVRDeviceManager::GetHeadTrackingEvent(KORVRDeviceEvent& oEvent) const {
  return ReturnEventOf(_head, oEvent);
}

HRESULT KORVRDeviceManager::GetHandTrackingEvent(KORVRDeviceEvent& oEvent) const {
  return ReturnEventOf(_hand, oEvent);
}

HRESULT KORVRDeviceManager::FindEvent(const KORString& iDeviceName, const KORString& iEventName,
                                      int iIndex, KORVRDeviceEvent& oEvent) const {
  const KORVRDeviceEvent wanted(iDeviceName, iEventName, iIndex);
  for (const std::optional<Route>& route : {_head, _hand})
    if (route && EventOf(*route).IsSameEvent(wanted))
      return ReturnEventOf(route, oEvent);
  return E_FAIL;
}

void KORVRDeviceManager::AppendEvent(const KORVRTrackingFrame& iFrame, const Route& iRoute,
                                     std::vector<KORVRDeviceEvent>& oEvents) const {
  auto body = std::find_if(iFrame.bodies.begin(), iFrame.bodies.end(),
                           [&](const KORVRTrackedBody& iBody) { return iBody.id == iRoute.bodyId; });
  if (body == iFrame.bodies.end() || !body->IsTracked())
    return;
  KORVRDeviceEvent event = EventOf(iRoute);
  const KORMathTransformation placement = body->GetPlacement();
  event.SetDoubleValue(iRoute.eventName == KORVRViewportEventName
                           ? KORVRViewportEventData(placement)
                           : KORVRPositionEventData(placement));
  event.SetFrame(iFrame.number, iFrame.timestamp);
  oEvents.push_back(std::move(event));
}

void KORVRDeviceManager::MakeEvents(const KORVRTrackingFrame& iFrame,
                                    std::vector<KORVRDeviceEvent>& oEvents) const {
  if (_head)
    AppendEvent(iFrame, *_head, oEvents);
  if (_hand)
    AppendEvent(iFrame, *_hand, oEvents);
}
