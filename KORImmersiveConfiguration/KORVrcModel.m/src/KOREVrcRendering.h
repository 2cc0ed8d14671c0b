#pragma once
// A rendering's behaviour: the references binding a view, a window, a
// rendering specification and a decomposition.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcRendering.h"

class KOREVrcRendering : public KORAdapterVrcName<KORIVrcRendering> {
public:
  // A rendering only refers to other elements: nothing to reconnect.
  HRESULT Reconnect() override { return S_OK; }

  HRESULT GetRenderingSpec(KORIVrcRenderingSpec** oSpec) override;
  HRESULT SetRenderingSpec(KORIVrcRenderingSpec* iSpec) override;
  HRESULT GetView(KORIVrcView** oView) override;
  HRESULT SetView(KORIVrcView* iView) override;
  HRESULT GetWindow(KORIVrcWindow** oWindow) override;
  HRESULT SetWindow(KORIVrcWindow* iWindow) override;
  HRESULT GetDecomposition(KORIVrcDecomposition** oDecomposition) override;
  HRESULT SetDecomposition(KORIVrcDecomposition* iDecomposition) override;
};
