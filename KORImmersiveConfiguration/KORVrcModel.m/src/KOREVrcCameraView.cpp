#include "KOREVrcCameraView.h"
#include "KORVrcTools.h"

#include <array>
#include <cmath>

namespace {
using KORVrcAccess::Notify;
// In the order of GetAngles and SetAngles.
constexpr std::array<const char*, 4> kAngleKeys{"Hfov", "Hshift", "Vfov", "Vshift"};
} // namespace

HRESULT KOREVrcCameraView::Reconnect() {
  KORVrcTraceScope scope("KOREVrcCameraView::Reconnect");
  KORIVrcHead_var head;
  if (SUCCEEDED(GetHead(head.Out())))
    if (auto refresh = KORVrcAccess::Refresh(head))
      KORIgnoreResult(refresh->Connect(GetImpl()), KORVrcEventNotDelivered);
  return S_OK;
}

HRESULT KOREVrcCameraView::GetAngles(double& oHfov, double& oHshift, double& oVfov,
                                     double& oVshift) {
  KORVrcTraceScope scope("KOREVrcCameraView::GetAngles");
  std::array<double, 4> angles{};
  for (std::size_t i = 0; i < angles.size(); ++i)
    if (FAILED(KORVrcAccess::GetDouble(GetImpl(), kAngleKeys[i], &angles[i])))
      return E_FAIL;
  oHfov = angles[0];
  oHshift = angles[1];
  oVfov = angles[2];
  oVshift = angles[3];
  return S_OK;
}

HRESULT KOREVrcCameraView::SetAngles(double iHfov, double iHshift, double iVfov, double iVshift) {
  KORVrcTraceScope scope("KOREVrcCameraView::SetAngles");
  const std::array<double, 4> angles{iHfov, iHshift, iVfov, iVshift};
  for (std::size_t i = 0; i < angles.size(); ++i)
    if (FAILED(KORVrcAccess::SetDouble(GetImpl(), kAngleKeys[i], angles[i], Notify::No)))
      return E_FAIL;
  KORVrcAccess::NotifyChange(GetImpl());
  return S_OK;
}

HRESULT KOREVrcCameraView::GetFrustum(double& oLeft, double& oRight, double& oTop,
                                      double& oBottom) {
  KORVrcTraceScope scope("KOREVrcCameraView::GetFrustum");
  double hfov = 0, hshift = 0, vfov = 0, vshift = 0;
  if (FAILED(GetAngles(hfov, hshift, vfov, vshift)))
    return E_FAIL;
  oLeft = std::tan(hshift) - std::tan(hfov / 2);
  oRight = std::tan(hshift) + std::tan(hfov / 2);
  oTop = std::tan(vshift) + std::tan(vfov / 2);
  oBottom = std::tan(vshift) - std::tan(vfov / 2);
  return S_OK;
}

HRESULT KOREVrcCameraView::SetFrustum(double iLeft, double iRight, double iTop, double iBottom) {
  KORVrcTraceScope scope("KOREVrcCameraView::SetFrustum");
  HRESULT result = SetAngles(2 * std::atan((iRight - iLeft) / 2), std::atan((iRight + iLeft) / 2),
                             2 * std::atan((iTop - iBottom) / 2), std::atan((iTop + iBottom) / 2));
  KORVrcAccess::NotifyChange(GetImpl());
  return result;
}
