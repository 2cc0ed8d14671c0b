#include "KOREVrcTrackedElement.h"

#include "KORVrcTrace.h"

HRESULT KOREVrcTrackedElement::Reconnect() {
  KORVrcTraceScope scope("KOREVrcTrackedElement::Reconnect");
  return S_OK;
}

HRESULT KOREVrcTrackedElement::GetLocation(KORMathTransformation& oLocation) {
  KORVrcTraceScope scope("KOREVrcTrackedElement::GetLocation");
  return KORVrcAccess::GetTransformation(GetImpl(), "Location", oLocation);
}

HRESULT KOREVrcTrackedElement::SetLocation(const KORMathTransformation& iLocation) {
  KORVrcTraceScope scope("KOREVrcTrackedElement::SetLocation");
  return KORVrcAccess::SetTransformation(GetImpl(), "Location", iLocation,
                                         KORVrcAccess::Notify::Yes);
}
