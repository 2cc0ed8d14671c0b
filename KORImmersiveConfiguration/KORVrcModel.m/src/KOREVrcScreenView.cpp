#include "KOREVrcScreenView.h"

#include "KORVrcTools.h"
#include "featurestore/KORIModelEvents.h"
#include "interfaces/KORIVrcProjectionArea.h"

namespace {
constexpr const char* kProjectionArea = "ProjectionArea";
}

HRESULT KOREVrcScreenView::Reconnect() {
  KORVrcTraceScope scope("KOREVrcScreenView::Reconnect");
  KORIVrcProjectionArea_var area;
  // The view takes its area's events itself, as the area's refresh extension
  // would have it do, without making that extension for every area.
  if (SUCCEEDED(GetProjectionArea(area.Out())))
    if (auto events = QueryImpl<KORIModelEvents>())
      KORIgnoreResult(events->ConnectTo(area), KORVrcEventNotDelivered);
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
