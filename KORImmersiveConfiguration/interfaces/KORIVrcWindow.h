#pragma once
// A window on an image generator: its viewport (a reference), the rendering
// that shows it (found among the configuration root's renderings) and a use
// count; the release that would bring the count to 0 removes the window from
// its image generator instead. Accessors follow the conventions written in
// KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"

class KORIVrcViewport;
class KORIVrcRendering;
class KORIVrcRenderingSpec;
class KORIVrcView;

class KORIVrcWindow : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcWindow, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetViewport(KORIVrcViewport** oViewport) = 0;
  [[nodiscard]] virtual HRESULT SetViewport(KORIVrcViewport* iViewport) = 0;
  [[nodiscard]] virtual HRESULT GetRendering(KORIVrcRendering** oRendering) = 0;
  [[nodiscard]] virtual HRESULT GetRenderingSpec(KORIVrcRenderingSpec** oSpec) = 0;
  [[nodiscard]] virtual HRESULT GetView(KORIVrcView** oView) = 0;
  [[nodiscard]] virtual HRESULT ResetCount() = 0;
  [[nodiscard]] virtual HRESULT UpCount() = 0;
  [[nodiscard]] virtual HRESULT DownCount() = 0;
};
KOR_DECLARE_VAR(KORIVrcWindow)
