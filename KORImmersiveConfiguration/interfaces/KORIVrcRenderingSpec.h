#pragma once
// How a window is rendered: mono, left, right or stereo, and its mirroring
// (read default 3, none). Both setters notify a change. Accessors follow the
// conventions written in KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"
#include "interfaces/KORVrcEnums.h"

class KORIVrcRenderingSpec : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcRenderingSpec, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetRenderingMode(KORVrcRenderingMode* oMode) = 0;
  [[nodiscard]] virtual HRESULT SetRenderingMode(KORVrcRenderingMode iMode) = 0;
  [[nodiscard]] virtual HRESULT GetMirrorMode(KORVrcMirrorMode* oMode) = 0;
  [[nodiscard]] virtual HRESULT SetMirrorMode(KORVrcMirrorMode iMode) = 0;
};
KOR_DECLARE_VAR(KORIVrcRenderingSpec)
