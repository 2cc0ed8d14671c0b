#pragma once
// The graphic specifications branch: views, projection areas and heads. AddView
// connects the view to its root father and notifies its creation;
// AddProjectionArea only appends; AddHead notifies the head's creation.
// Accessors follow the conventions written in KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"
#include "system/KORList.h"

class KORIVrcView;
class KORIVrcProjectionArea;
class KORIVrcHead;

class KORIVrcGraphicSpecs : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcGraphicSpecs, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetViews(KORListValKORBaseUnknown_var** oList) = 0;
  [[nodiscard]] virtual HRESULT AddView(KORIVrcView* iView) = 0;
  [[nodiscard]] virtual HRESULT RemoveView(KORIVrcView* iView) = 0;
  [[nodiscard]] virtual HRESULT GetProjectionAreas(KORListValKORBaseUnknown_var** oList) = 0;
  [[nodiscard]] virtual HRESULT AddProjectionArea(KORIVrcProjectionArea* iArea) = 0;
  [[nodiscard]] virtual HRESULT RemoveProjectionArea(KORIVrcProjectionArea* iArea) = 0;
  [[nodiscard]] virtual HRESULT GetHeads(KORListValKORBaseUnknown_var** oList) = 0;
  [[nodiscard]] virtual HRESULT AddHead(KORIVrcHead* iHead) = 0;
  [[nodiscard]] virtual HRESULT RemoveHead(KORIVrcHead* iHead) = 0;
};
KOR_DECLARE_VAR(KORIVrcGraphicSpecs)
