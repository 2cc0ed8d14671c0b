#include "KOREVrcDevices.h"

#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "interfaces/KORIVrcButtonDevice.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcTrackingStation.h"

#include <memory>

namespace {
constexpr const char* kTrackingStations = "TrackingStations";
constexpr const char* kHandDevices = "HandDevices";
constexpr const char* kButtonDevices = "ButtonDevices";

// A new device joins the branch's event chain and announces itself there, so
// that its moves and its deletion climb to the configuration root.
KORVrcAccess::ChildHooking NewDevice(const char* iKind) {
  return {KORVrcAccess::Hook::Father, true, true, iKind};
}
} // namespace

HRESULT KOREVrcDevices::Reconnect() {
  KORVrcTraceScope scope("KOREVrcDevices::Reconnect");
  for (const char* key : {kTrackingStations, kHandDevices, kButtonDevices})
    KORVrcAccess::RejoinEach(GetImpl(), key);
  return S_OK;
}

HRESULT KOREVrcDevices::GetTrackingStations(KORListValKORBaseUnknown_var** oList) {
  KORVrcTraceScope scope("KOREVrcDevices::GetTrackingStations");
  HRESULT result =
      KORVrcAccess::GetList<KORIVrcTrackingStation>(GetImpl(), kTrackingStations, oList);
  if (SUCCEEDED(result))
    KORVrcAccess::Redraw(GetImpl());
  return result;
}

HRESULT KOREVrcDevices::AddTrackingStation(KORIVrcTrackingStation* iStation) {
  KORVrcTraceScope scope("KOREVrcDevices::AddTrackingStation");
  return KORVrcAccess::AddToList(GetImpl(), kTrackingStations, iStation,
                                 NewDevice("TrackingStation"));
}

HRESULT KOREVrcDevices::RemoveTrackingStation(KORIVrcTrackingStation* iStation) {
  KORVrcTraceScope scope("KOREVrcDevices::RemoveTrackingStation");
  return KORVrcAccess::RemoveFromList(GetImpl(), kTrackingStations, iStation);
}

HRESULT KOREVrcDevices::GetHandDevices(KORListValKORBaseUnknown_var** oList) {
  KORVrcTraceScope scope("KOREVrcDevices::GetHandDevices");
  return KORVrcAccess::GetList<KORIVrcHandDevice>(GetImpl(), kHandDevices, oList);
}

HRESULT KOREVrcDevices::AddHandDevice(KORIVrcHandDevice* iHandDevice) {
  KORVrcTraceScope scope("KOREVrcDevices::AddHandDevice");
  return KORVrcAccess::AddToList(GetImpl(), kHandDevices, iHandDevice, NewDevice("VrcHandDevice"));
}

HRESULT KOREVrcDevices::RemoveHandDevice(KORIVrcHandDevice* iHandDevice) {
  KORVrcTraceScope scope("KOREVrcDevices::RemoveHandDevice");
  return KORVrcAccess::RemoveFromList(GetImpl(), kHandDevices, iHandDevice);
}

HRESULT KOREVrcDevices::GetButtonDevices(KORListValKORBaseUnknown_var** oList) {
  KORVrcTraceScope scope("KOREVrcDevices::GetButtonDevices");
  return KORVrcAccess::GetList<KORIVrcButtonDevice>(GetImpl(), kButtonDevices, oList);
}

HRESULT KOREVrcDevices::AddButtonDevice(KORIVrcButtonDevice* iButtonDevice) {
  KORVrcTraceScope scope("KOREVrcDevices::AddButtonDevice");
  return KORVrcAccess::AddToList(GetImpl(), kButtonDevices, iButtonDevice,
                                 NewDevice("VrcButtonDevice"));
}

HRESULT KOREVrcDevices::RemoveButtonDevice(KORIVrcButtonDevice* iButtonDevice) {
  KORVrcTraceScope scope("KOREVrcDevices::RemoveButtonDevice");
  return KORVrcAccess::RemoveFromList(GetImpl(), kButtonDevices, iButtonDevice);
}
