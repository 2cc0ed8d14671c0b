#pragma once
// A window's behaviour: its viewport, the rendering that shows it and its use
// count.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcWindow.h"

class KOREVrcWindow : public KORAdapterVrcName<KORIVrcWindow> {
public:
  // A window has nothing below it to reconnect.
  HRESULT Reconnect() override { return S_OK; }

  HRESULT GetViewport(KORIVrcViewport** oViewport) override;
  HRESULT SetViewport(KORIVrcViewport* iViewport) override;
  HRESULT GetRendering(KORIVrcRendering** oRendering) override;
  HRESULT GetRenderingSpec(KORIVrcRenderingSpec** oSpec) override;
  HRESULT GetView(KORIVrcView** oView) override;
  HRESULT ResetCount() override;
  HRESULT UpCount() override;
  HRESULT DownCount() override;
};
