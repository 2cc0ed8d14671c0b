#include "KOREVrcScreenView.h"

#include "KORVrcTools.h"
#include "interfaces/KORIVrcProjectionArea.h"

namespace {
constexpr const char* kProjectionArea = "ProjectionArea";
}

HRESULT KOREVrcScreenView::Reconnect() {
  KORVrcTraceScope scope("KOREVrcScreenView::Reconnect");
  KORIVrcProjectionArea_var area;
  if (SUCCEEDED(GetProjectionArea(area.Out())))
    if (auto refresh = KORVrcAccess::Refresh(area))
      KORIgnoreResult(refresh->Connect(GetImpl()), KORVrcEventNotDelivered);
  return S_OK;
}

HRESULT KOREVrcScreenView::GetProjectionArea(KORIVrcProjectionArea** oArea) {
  KORVrcTraceScope scope("KOREVrcScreenView::GetProjectionArea");
  return KORVrcAccess::GetLink(GetImpl(), kProjectionArea, oArea);
}

HRESULT KOREVrcScreenView::SetProjectionArea(KORIVrcProjectionArea* iArea) {
  KORVrcTraceScope scope("KOREVrcScreenView::SetProjectionArea");
  return RelinkConnected(kProjectionArea, iArea, "VrcProjectionArea");
}
