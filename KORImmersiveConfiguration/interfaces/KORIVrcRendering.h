#pragma once
// Binds a view, a window, a rendering specification and optionally a
// decomposition. Setters store references; a null argument removes the link,
// except SetView, which fails on null and redraws the rendering's node.
// Accessors follow the conventions written in KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"

class KORIVrcRenderingSpec;
class KORIVrcView;
class KORIVrcWindow;
class KORIVrcDecomposition;

class KORIVrcRendering : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcRendering, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetRenderingSpec(KORIVrcRenderingSpec** oSpec) = 0;
  [[nodiscard]] virtual HRESULT SetRenderingSpec(KORIVrcRenderingSpec* iSpec) = 0;
  [[nodiscard]] virtual HRESULT GetView(KORIVrcView** oView) = 0;
  [[nodiscard]] virtual HRESULT SetView(KORIVrcView* iView) = 0;
  [[nodiscard]] virtual HRESULT GetWindow(KORIVrcWindow** oWindow) = 0;
  [[nodiscard]] virtual HRESULT SetWindow(KORIVrcWindow* iWindow) = 0;
  [[nodiscard]] virtual HRESULT GetDecomposition(KORIVrcDecomposition** oDecomposition) = 0;
  [[nodiscard]] virtual HRESULT SetDecomposition(KORIVrcDecomposition* iDecomposition) = 0;
};
KOR_DECLARE_VAR(KORIVrcRendering)
