#pragma once
// A part of a rendering. Its type decides which of its attributes can be
// reached: the range for type 0, the viewport for type 1 (also when the type
// cannot be read), the eye for type 2.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcRegion.h"

class KOREVrcRegion : public KORAdapterVrcName<KORIVrcRegion> {
public:
  HRESULT Reconnect() override;
  HRESULT GetType(KORVrcRegionType* oType) override;
  HRESULT SetType(KORVrcRegionType iType) override;
  HRESULT GetViewport(KORIVrcViewport** oViewport) override;
  HRESULT SetViewport(KORIVrcViewport* iViewport) override;
  HRESULT GetRange(double* oInferiorBound, double* oSuperiorBound) override;
  HRESULT SetRange(double iInferiorBound, double iSuperiorBound) override;
  HRESULT GetEye(KORVrcEyeRegionType* oEye) override;
  HRESULT SetEye(KORVrcEyeRegionType iEye) override;
  HRESULT SetRendering(KORIVrcRendering* iRendering) override;
  HRESULT GetRendering(KORIVrcRendering** oRendering) override;

private:
  bool IsOfType(KORVrcRegionType iType);
};
