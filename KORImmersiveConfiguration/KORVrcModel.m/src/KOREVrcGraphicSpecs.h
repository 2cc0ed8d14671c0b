#pragma once
// The graphic specifications branch: it aggregates the views, the projection
// areas and the heads.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcGraphicSpecs.h"

class KOREVrcGraphicSpecs : public KORAdapterVrcName<KORIVrcGraphicSpecs> {
public:
  HRESULT Reconnect() override;
  HRESULT GetViews(KORListValKORBaseUnknown_var** oList) override;
  HRESULT AddView(KORIVrcView* iView) override;
  HRESULT RemoveView(KORIVrcView* iView) override;
  HRESULT GetProjectionAreas(KORListValKORBaseUnknown_var** oList) override;
  HRESULT AddProjectionArea(KORIVrcProjectionArea* iArea) override;
  HRESULT RemoveProjectionArea(KORIVrcProjectionArea* iArea) override;
  HRESULT GetHeads(KORListValKORBaseUnknown_var** oList) override;
  HRESULT AddHead(KORIVrcHead* iHead) override;
  HRESULT RemoveHead(KORIVrcHead* iHead) override;
};
