#include "KOREVrcTrackingStation.h"

#include "interfaces/KORIVrcTracker.h"

namespace {
constexpr const char* kTrackers = "Trackers";
}

HRESULT KOREVrcTrackingStation::Reconnect() {
  KORVrcTraceScope scope("KOREVrcTrackingStation::Reconnect");
  // Each tracker hears its tracked element again and tells the station.
  KORVrcAccess::RejoinEach(GetImpl(), kTrackers);
  return S_OK;
}

HRESULT KOREVrcTrackingStation::GetType(KORVrcTrackingStationType& oType) {
  KORVrcTraceScope scope("KOREVrcTrackingStation::GetType");
  return KORVrcGetEnum(GetImpl(), "Type", oType);
}

HRESULT KOREVrcTrackingStation::SetType(KORVrcTrackingStationType iType) {
  KORVrcTraceScope scope("KOREVrcTrackingStation::SetType");
  return KORVrcAccess::SetInteger(GetImpl(), "Type", iType, KORVrcAccess::Notify::Yes);
}

HRESULT KOREVrcTrackingStation::GetRef(KORMathTransformation& oRef) {
  KORVrcTraceScope scope("KOREVrcTrackingStation::GetRef");
  return KORVrcAccess::GetTransformation(GetImpl(), "Ref", oRef);
}

HRESULT KOREVrcTrackingStation::SetRef(const KORMathTransformation& iRef) {
  KORVrcTraceScope scope("KOREVrcTrackingStation::SetRef");
  return KORVrcAccess::SetTransformation(GetImpl(), "Ref", iRef, KORVrcAccess::Notify::Yes);
}

HRESULT KOREVrcTrackingStation::GetTrackers(KORListValKORBaseUnknown_var** oList) {
  KORVrcTraceScope scope("KOREVrcTrackingStation::GetTrackers");
  return KORVrcAccess::GetList<KORIVrcTracker>(GetImpl(), kTrackers, oList);
}

HRESULT KOREVrcTrackingStation::AddTracker(KORIVrcTracker* iTracker) {
  KORVrcTraceScope scope("KOREVrcTrackingStation::AddTracker");
  // The tracker joins the station's event chain; announcing its creation and
  // redrawing are left to whoever made it.
  const KORVrcAccess::ChildHooking hooking{KORVrcAccess::Hook::Father, false, false, "VrcTracker"};
  return KORVrcAccess::AddToList(GetImpl(), kTrackers, iTracker, hooking);
}

HRESULT KOREVrcTrackingStation::RemoveTracker(KORIVrcTracker* iTracker) {
  KORVrcTraceScope scope("KOREVrcTrackingStation::RemoveTracker");
  return KORVrcAccess::RemoveFromList(GetImpl(), kTrackers, iTracker);
}
