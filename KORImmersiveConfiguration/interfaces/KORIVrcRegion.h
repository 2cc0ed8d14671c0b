#pragma once
// A part of a rendering: a depth range (type 0), a viewport (type 1, the read
// default) or an eye (type 2). The accessors of a type's own attributes fail
// unless the region is of that type; a region whose type cannot be read is a
// viewport region. Accessors follow the conventions written in
// KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"
#include "interfaces/KORVrcEnums.h"

class KORIVrcViewport;
class KORIVrcRendering;

class KORIVrcRegion : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcRegion, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetType(KORVrcRegionType* oType) = 0;
  [[nodiscard]] virtual HRESULT SetType(KORVrcRegionType iType) = 0;
  [[nodiscard]] virtual HRESULT GetViewport(KORIVrcViewport** oViewport) = 0;
  [[nodiscard]] virtual HRESULT SetViewport(KORIVrcViewport* iViewport) = 0;
  [[nodiscard]] virtual HRESULT GetRange(double* oInferiorBound, double* oSuperiorBound) = 0;
  [[nodiscard]] virtual HRESULT SetRange(double iInferiorBound, double iSuperiorBound) = 0;
  [[nodiscard]] virtual HRESULT GetEye(KORVrcEyeRegionType* oEye) = 0;
  [[nodiscard]] virtual HRESULT SetEye(KORVrcEyeRegionType iEye) = 0;
  [[nodiscard]] virtual HRESULT SetRendering(KORIVrcRendering* iRendering) = 0;
  [[nodiscard]] virtual HRESULT GetRendering(KORIVrcRendering** oRendering) = 0;
};
KOR_DECLARE_VAR(KORIVrcRegion)
