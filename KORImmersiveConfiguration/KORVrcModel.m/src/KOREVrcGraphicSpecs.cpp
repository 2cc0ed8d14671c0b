#include "KOREVrcGraphicSpecs.h"

#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcView.h"

#include <memory>

namespace {
using KORVrcAccess::ChildHooking;
using KORVrcAccess::Hook;
constexpr const char* kViews = "Views";
constexpr const char* kProjectionAreas = "ProjectionAreas";
constexpr const char* kHeads = "Heads";
} // namespace

HRESULT KOREVrcGraphicSpecs::Reconnect() {
  KORVrcTraceScope scope("KOREVrcGraphicSpecs::Reconnect");
  auto object = KORQuery<KORISpecObject>(GetImpl());
  KORListValKORBaseUnknown_var* children = nullptr;
  if (!object || FAILED(object->ListChildren(&children)))
    return S_OK;
  // A head answers KORIVrcElement through its tracked-element behaviour.
  // Named: a temporary in the range expression would die before the loop.
  const KOROwnedList owned(children);
  for (const KORBaseUnknown_var& child : *owned)
    if (auto element = KORQuery<KORIVrcElement>(child))
      KORIgnoreResult(element->Reconnect(), KORVrcEventNotDelivered);
  return S_OK;
}

HRESULT KOREVrcGraphicSpecs::GetViews(KORListValKORBaseUnknown_var** oList) {
  KORVrcTraceScope scope("KOREVrcGraphicSpecs::GetViews");
  return KORVrcAccess::GetList<KORIVrcView>(GetImpl(), kViews, oList);
}

HRESULT KOREVrcGraphicSpecs::AddView(KORIVrcView* iView) {
  KORVrcTraceScope scope("KOREVrcGraphicSpecs::AddView");
  return KORVrcAccess::AddToList(GetImpl(), kViews, iView,
                                 ChildHooking{Hook::RootFather, true, true, "VrcView"});
}

HRESULT KOREVrcGraphicSpecs::RemoveView(KORIVrcView* iView) {
  KORVrcTraceScope scope("KOREVrcGraphicSpecs::RemoveView");
  return KORVrcAccess::RemoveFromList(GetImpl(), kViews, iView);
}

HRESULT KOREVrcGraphicSpecs::GetProjectionAreas(KORListValKORBaseUnknown_var** oList) {
  KORVrcTraceScope scope("KOREVrcGraphicSpecs::GetProjectionAreas");
  return KORVrcAccess::GetList<KORIVrcProjectionArea>(GetImpl(), kProjectionAreas, oList);
}

HRESULT KOREVrcGraphicSpecs::AddProjectionArea(KORIVrcProjectionArea* iArea) {
  KORVrcTraceScope scope("KOREVrcGraphicSpecs::AddProjectionArea");
  // An area's changes travel through the screen view that shows it, not through here.
  return KORVrcAccess::AddToList(GetImpl(), kProjectionAreas, iArea,
                                 ChildHooking{Hook::None, false, false, "VrcProjectionArea"});
}

HRESULT KOREVrcGraphicSpecs::RemoveProjectionArea(KORIVrcProjectionArea* iArea) {
  KORVrcTraceScope scope("KOREVrcGraphicSpecs::RemoveProjectionArea");
  return KORVrcAccess::RemoveFromList(GetImpl(), kProjectionAreas, iArea);
}

HRESULT KOREVrcGraphicSpecs::GetHeads(KORListValKORBaseUnknown_var** oList) {
  KORVrcTraceScope scope("KOREVrcGraphicSpecs::GetHeads");
  return KORVrcAccess::GetList<KORIVrcHead>(GetImpl(), kHeads, oList);
}

HRESULT KOREVrcGraphicSpecs::AddHead(KORIVrcHead* iHead) {
  KORVrcTraceScope scope("KOREVrcGraphicSpecs::AddHead");
  return KORVrcAccess::AddToList(GetImpl(), kHeads, iHead,
                                 ChildHooking{Hook::RootFather, true, true, "VrcHead"});
}

HRESULT KOREVrcGraphicSpecs::RemoveHead(KORIVrcHead* iHead) {
  KORVrcTraceScope scope("KOREVrcGraphicSpecs::RemoveHead");
  return KORVrcAccess::RemoveFromList(GetImpl(), kHeads, iHead);
}
