#pragma once
// A view through a physical screen: its head (shared with camera views) and
// the projection area it shows, whose changes reach the view.
#include "KORAdapterVrcView.h"
#include "interfaces/KORIVrcScreenView.h"

class KOREVrcScreenView : public KORAdapterVrcView<KORIVrcScreenView> {
public:
  HRESULT Reconnect() override;
  HRESULT GetProjectionArea(KORIVrcProjectionArea** oArea) override;
  HRESULT SetProjectionArea(KORIVrcProjectionArea* iArea) override;
};
