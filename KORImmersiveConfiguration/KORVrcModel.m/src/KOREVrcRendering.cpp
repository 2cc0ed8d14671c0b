#include "KOREVrcRendering.h"

#include "KORVrcTrace.h"
#include "interfaces/KORIVrcDecomposition.h"
#include "interfaces/KORIVrcRenderingSpec.h"
#include "interfaces/KORIVrcView.h"
#include "interfaces/KORIVrcWindow.h"

using namespace KORVrcAccess;

HRESULT KOREVrcRendering::GetRenderingSpec(KORIVrcRenderingSpec** oSpec) {
  KORVrcTraceScope scope("KOREVrcRendering::GetRenderingSpec");
  return GetLink(GetImpl(), "RenderingSpec", oSpec);
}

HRESULT KOREVrcRendering::SetRenderingSpec(KORIVrcRenderingSpec* iSpec) {
  KORVrcTraceScope scope("KOREVrcRendering::SetRenderingSpec");
  return SetLink(GetImpl(), "RenderingSpec", iSpec);
}

HRESULT KOREVrcRendering::GetView(KORIVrcView** oView) {
  KORVrcTraceScope scope("KOREVrcRendering::GetView");
  return GetLink(GetImpl(), "View", oView);
}

HRESULT KOREVrcRendering::SetView(KORIVrcView* iView) {
  KORVrcTraceScope scope("KOREVrcRendering::SetView");
  // A rendering always shows a view: null is refused rather than clearing.
  if (!iView || FAILED(SetLink(GetImpl(), "View", iView)))
    return E_FAIL;
  Redraw(GetImpl());
  return S_OK;
}

HRESULT KOREVrcRendering::GetWindow(KORIVrcWindow** oWindow) {
  KORVrcTraceScope scope("KOREVrcRendering::GetWindow");
  return GetLink(GetImpl(), "Window", oWindow);
}

HRESULT KOREVrcRendering::SetWindow(KORIVrcWindow* iWindow) {
  KORVrcTraceScope scope("KOREVrcRendering::SetWindow");
  return SetLink(GetImpl(), "Window", iWindow);
}

HRESULT KOREVrcRendering::GetDecomposition(KORIVrcDecomposition** oDecomposition) {
  KORVrcTraceScope scope("KOREVrcRendering::GetDecomposition");
  return GetLink(GetImpl(), "Decomposition", oDecomposition);
}

HRESULT KOREVrcRendering::SetDecomposition(KORIVrcDecomposition* iDecomposition) {
  KORVrcTraceScope scope("KOREVrcRendering::SetDecomposition");
  return SetLink(GetImpl(), "Decomposition", iDecomposition);
}
