#include "KOREVrcRegion.h"

#include "KORVrcTrace.h"
#include "interfaces/KORIVrcRendering.h"
#include "interfaces/KORIVrcViewport.h"

namespace {
using KORVrcAccess::Notify;
constexpr const char* kType = "Type";
constexpr int kDefaultType = KORVrcRegionViewport;
constexpr const char* kViewport = "Viewport";
constexpr const char* kInferiorBound = "inferiorBound";
constexpr const char* kSuperiorBound = "superiorBound";
constexpr const char* kEye = "EyeType";
constexpr const char* kRendering = "Rendering";
} // namespace

HRESULT KOREVrcRegion::Reconnect() {
  KORVrcTraceScope scope("KOREVrcRegion::Reconnect");
  return S_OK;
}

bool KOREVrcRegion::IsOfType(KORVrcRegionType iType) {
  int type = kDefaultType;
  if (FAILED(KORVrcAccess::GetInteger(GetImpl(), kType, &type, kDefaultType)))
    type = kDefaultType;
  return type == iType;
}

HRESULT KOREVrcRegion::GetType(KORVrcRegionType* oType) {
  KORVrcTraceScope scope("KOREVrcRegion::GetType");
  if (!oType)
    return E_FAIL;
  int type = kDefaultType;
  HRESULT result = KORVrcAccess::GetInteger(GetImpl(), kType, &type, kDefaultType);
  *oType = static_cast<KORVrcRegionType>(type);
  return result;
}

HRESULT KOREVrcRegion::SetType(KORVrcRegionType iType) {
  KORVrcTraceScope scope("KOREVrcRegion::SetType");
  return KORVrcAccess::SetInteger(GetImpl(), kType, iType, Notify::Yes);
}

HRESULT KOREVrcRegion::GetViewport(KORIVrcViewport** oViewport) {
  KORVrcTraceScope scope("KOREVrcRegion::GetViewport");
  if (!IsOfType(KORVrcRegionViewport))
    return E_FAIL;
  return KORVrcAccess::GetLink(GetImpl(), kViewport, oViewport);
}

HRESULT KOREVrcRegion::SetViewport(KORIVrcViewport* iViewport) {
  KORVrcTraceScope scope("KOREVrcRegion::SetViewport");
  if (!IsOfType(KORVrcRegionViewport))
    return E_FAIL;
  return KORVrcAccess::SetLink(GetImpl(), kViewport, iViewport);
}

HRESULT KOREVrcRegion::GetRange(double* oInferiorBound, double* oSuperiorBound) {
  KORVrcTraceScope scope("KOREVrcRegion::GetRange");
  if (!oInferiorBound || !oSuperiorBound || !IsOfType(KORVrcRegionRange))
    return E_FAIL;
  double inferior = 0, superior = 0;
  if (FAILED(KORVrcAccess::GetDouble(GetImpl(), kInferiorBound, &inferior)) ||
      FAILED(KORVrcAccess::GetDouble(GetImpl(), kSuperiorBound, &superior)))
    return E_FAIL;
  *oInferiorBound = inferior;
  *oSuperiorBound = superior;
  return S_OK;
}

HRESULT KOREVrcRegion::SetRange(double iInferiorBound, double iSuperiorBound) {
  KORVrcTraceScope scope("KOREVrcRegion::SetRange");
  if (!IsOfType(KORVrcRegionRange) ||
      FAILED(KORVrcAccess::SetDouble(GetImpl(), kInferiorBound, iInferiorBound, Notify::No)))
    return E_FAIL;
  return KORVrcAccess::SetDouble(GetImpl(), kSuperiorBound, iSuperiorBound, Notify::No);
}

HRESULT KOREVrcRegion::GetEye(KORVrcEyeRegionType* oEye) {
  KORVrcTraceScope scope("KOREVrcRegion::GetEye");
  if (!IsOfType(KORVrcRegionEye))
    return E_FAIL;
  return KORVrcAccess::GetInteger(GetImpl(), kEye, oEye);
}

HRESULT KOREVrcRegion::SetEye(KORVrcEyeRegionType iEye) {
  KORVrcTraceScope scope("KOREVrcRegion::SetEye");
  if (!IsOfType(KORVrcRegionEye))
    return E_FAIL;
  return KORVrcAccess::SetInteger(GetImpl(), kEye, iEye, Notify::No);
}

HRESULT KOREVrcRegion::SetRendering(KORIVrcRendering* iRendering) {
  KORVrcTraceScope scope("KOREVrcRegion::SetRendering");
  if (!iRendering)
    return E_FAIL;
  return KORVrcAccess::SetLink(GetImpl(), kRendering, iRendering);
}

HRESULT KOREVrcRegion::GetRendering(KORIVrcRendering** oRendering) {
  KORVrcTraceScope scope("KOREVrcRegion::GetRendering");
  return KORVrcAccess::GetLink(GetImpl(), kRendering, oRendering);
}
