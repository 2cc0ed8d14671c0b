#pragma once
// A free frustum: its head (shared with screen views) and its fields of view
// and shifts in radians, also readable and writable as the frustum at unit
// distance.
#include "KORAdapterVrcView.h"
#include "interfaces/KORIVrcCameraView.h"

class KOREVrcCameraView : public KORAdapterVrcView<KORIVrcCameraView> {
public:
  HRESULT Reconnect() override;
  HRESULT GetAngles(double& oHfov, double& oHshift, double& oVfov, double& oVshift) override;
  HRESULT SetAngles(double iHfov, double iHshift, double iVfov, double iVshift) override;
  HRESULT GetFrustum(double& oLeft, double& oRight, double& oTop, double& oBottom) override;
  HRESULT SetFrustum(double iLeft, double iRight, double iTop, double iBottom) override;
};
