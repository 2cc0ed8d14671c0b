#pragma once
// A view through a physical screen, its projection area. SetProjectionArea
// disconnects the previous area from the view, stores the new one and connects
// it to the view; a null area fails. Accessors follow the conventions written
// in KORIVrcElement.h.
#include "interfaces/KORIVrcView.h"

class KORIVrcProjectionArea;

class KORIVrcScreenView : public KORIVrcView {
  KOR_INTERFACE(KORIVrcScreenView, KORIVrcView)
public:
  [[nodiscard]] virtual HRESULT GetProjectionArea(KORIVrcProjectionArea** oArea) = 0;
  [[nodiscard]] virtual HRESULT SetProjectionArea(KORIVrcProjectionArea* iArea) = 0;
};
KOR_DECLARE_VAR(KORIVrcScreenView)
