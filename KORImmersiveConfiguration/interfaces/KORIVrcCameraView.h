#pragma once
// A free frustum given by its horizontal and vertical fields of view and
// shifts, in radians. The frustum at unit distance is left = tan(Hshift) -
// tan(Hfov/2), right = tan(Hshift) + tan(Hfov/2), top = tan(Vshift) +
// tan(Vfov/2), bottom = tan(Vshift) - tan(Vfov/2); SetFrustum is its inverse.
// Accessors follow the conventions written in KORIVrcElement.h.
#include "interfaces/KORIVrcView.h"

class KORIVrcCameraView : public KORIVrcView {
  KOR_INTERFACE(KORIVrcCameraView, KORIVrcView)
public:
  [[nodiscard]] virtual HRESULT GetAngles(double& oHfov, double& oHshift, double& oVfov,
                                          double& oVshift) = 0;
  [[nodiscard]] virtual HRESULT SetAngles(double iHfov, double iHshift, double iVfov,
                                          double iVshift) = 0;
  [[nodiscard]] virtual HRESULT GetFrustum(double& oLeft, double& oRight, double& oTop,
                                           double& oBottom) = 0;
  [[nodiscard]] virtual HRESULT SetFrustum(double iLeft, double iRight, double iTop,
                                           double iBottom) = 0;
};
KOR_DECLARE_VAR(KORIVrcCameraView)
