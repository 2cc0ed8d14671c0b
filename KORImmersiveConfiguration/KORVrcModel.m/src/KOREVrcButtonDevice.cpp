#include "KOREVrcButtonDevice.h"

HRESULT KOREVrcButtonDevice::Reconnect() {
  KORVrcTraceScope scope("KOREVrcButtonDevice::Reconnect");
  return S_OK;
}

HRESULT KOREVrcButtonDevice::GetType(KORVrcButtonDeviceType& oType) {
  KORVrcTraceScope scope("KOREVrcButtonDevice::GetType");
  return KORVrcGetEnum(GetImpl(), "Type", oType);
}

HRESULT KOREVrcButtonDevice::SetType(KORVrcButtonDeviceType iType) {
  KORVrcTraceScope scope("KOREVrcButtonDevice::SetType");
  return KORVrcAccess::SetInteger(GetImpl(), "Type", iType, KORVrcAccess::Notify::Yes);
}
