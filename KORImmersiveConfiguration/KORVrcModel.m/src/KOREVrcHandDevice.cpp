#include "KOREVrcHandDevice.h"

#include "KORVrcDeviceAccess.h"
#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "interfaces/KORIVrcButtonDevice.h"
#include "interfaces/KORIVrcTracker.h"

namespace {
constexpr const char* kPickingTracker = "PickingTracker";
constexpr const char* kButtonManager = "ButtonManager";
} // namespace

HRESULT KOREVrcHandDevice::GetType(KORVrcHandDeviceType* oType) {
  KORVrcTraceScope scope("KOREVrcHandDevice::GetType");
  return oType ? KORVrcGetEnum(GetImpl(), "Type", *oType) : E_FAIL;
}

HRESULT KOREVrcHandDevice::SetType(KORVrcHandDeviceType iType) {
  KORVrcTraceScope scope("KOREVrcHandDevice::SetType");
  return KORVrcAccess::SetInteger(GetImpl(), "Type", iType, KORVrcAccess::Notify::Yes);
}

HRESULT KOREVrcHandDevice::GetPickingTracker(KORIVrcTracker** oTracker) {
  KORVrcTraceScope scope("KOREVrcHandDevice::GetPickingTracker");
  return KORVrcAccess::GetLink(GetImpl(), kPickingTracker, oTracker);
}

HRESULT KOREVrcHandDevice::SetPickingTracker(KORIVrcTracker* iTracker) {
  KORVrcTraceScope scope("KOREVrcHandDevice::SetPickingTracker");
  KORBaseUnknown* self = GetImpl();
  if (!KORVrcAccess::Attributes(self))
    return E_FAIL;
  KORIVrcTracker_var previous;
  if (SUCCEEDED(GetPickingTracker(previous.Out())))
    if (auto refresh = KORVrcAccess::Refresh(previous))
      KORIgnoreResult(refresh->Deconnect(self), KORVrcEventNotDelivered);
  return KORVrcAccess::SetLink(self, kPickingTracker, iTracker);
}

HRESULT KOREVrcHandDevice::GetButtonManager(KORISpecObject** oManager) {
  KORVrcTraceScope scope("KOREVrcHandDevice::GetButtonManager");
  return KORVrcAccess::GetLink(GetImpl(), kButtonManager, oManager);
}

HRESULT KOREVrcHandDevice::SetButtonManager(KORISpecObject* iManager) {
  return StoreButtonManager(iManager);
}

HRESULT KOREVrcHandDevice::SetButtonManager(KORIVrcButtonDevice* iManager) {
  return StoreButtonManager(iManager);
}

HRESULT KOREVrcHandDevice::SetButtonManager(KORIVrcTracker* iManager) {
  return StoreButtonManager(iManager);
}

bool KOREVrcHandDevice::IsButtonManager(KORIVrcButtonDevice* iCandidate) {
  return HasButtonManager(iCandidate);
}

bool KOREVrcHandDevice::IsButtonManager(KORIVrcTracker* iCandidate) {
  return HasButtonManager(iCandidate);
}

HRESULT KOREVrcHandDevice::StoreButtonManager(KORBaseUnknown* iManager) {
  KORVrcTraceScope scope("KOREVrcHandDevice::SetButtonManager");
  return KORVrcAccess::SetLink(GetImpl(), kButtonManager, iManager);
}

bool KOREVrcHandDevice::HasButtonManager(KORBaseUnknown* iCandidate) {
  KORVrcTraceScope scope("KOREVrcHandDevice::IsButtonManager");
  KORISpecObject_var manager;
  if (FAILED(GetButtonManager(manager.Out())))
    return false;
  return CompareInterfacePointers(manager, iCandidate) == 1;
}
