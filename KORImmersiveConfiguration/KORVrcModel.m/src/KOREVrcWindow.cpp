#include "KOREVrcWindow.h"

#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "featurestore/KORIContainer.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcRendering.h"
#include "interfaces/KORIVrcRenderingSpec.h"
#include "interfaces/KORIVrcView.h"
#include "interfaces/KORIVrcViewport.h"

#include <memory>

using namespace KORVrcAccess;

namespace {
using ElementList = std::unique_ptr<KORListValKORBaseUnknown_var>;

// The configuration root that governs the element: the first one of its
// container (several may exist; the first listed is the one in use).
KORIVrcConfig_var ConfigurationOf(KORBaseUnknown* iElement) {
  auto feature = KORQuery<KORISpecObject>(iElement);
  KORIContainer_var container;
  if (!feature || FAILED(feature->GetContainer(container.Out())))
    return {};
  KORListValKORBaseUnknown_var* raw = nullptr;
  if (FAILED(container->ListMembers(KORIVrcConfig::IID, &raw)))
    return {};
  ElementList configs(raw);
  if (configs->IsEmpty())
    return {};
  return KORQuery<KORIVrcConfig>((*configs)[1]);
}
} // namespace

HRESULT KOREVrcWindow::GetViewport(KORIVrcViewport** oViewport) {
  KORVrcTraceScope scope("KOREVrcWindow::GetViewport");
  return GetLink(GetImpl(), "Viewport", oViewport);
}

HRESULT KOREVrcWindow::SetViewport(KORIVrcViewport* iViewport) {
  KORVrcTraceScope scope("KOREVrcWindow::SetViewport");
  if (!iViewport)
    return E_FAIL;
  return SetLink(GetImpl(), "Viewport", iViewport);
}

HRESULT KOREVrcWindow::GetRendering(KORIVrcRendering** oRendering) {
  KORVrcTraceScope scope("KOREVrcWindow::GetRendering");
  if (!oRendering)
    return E_FAIL;
  *oRendering = nullptr;
  auto config = ConfigurationOf(GetImpl());
  KORListValKORBaseUnknown_var* raw = nullptr;
  if (!config || FAILED(config->GetRenderings(&raw)))
    return E_FAIL;
  ElementList renderings(raw);
  for (const KORBaseUnknown_var& entry : *renderings) {
    auto rendering = KORQuery<KORIVrcRendering>(entry);
    KORIVrcWindow_var shown;
    if (rendering && SUCCEEDED(rendering->GetWindow(shown.Out())) &&
        CompareInterfacePointers(shown, GetImpl()))
      return KORReturn(rendering, oRendering);
  }
  return E_FAIL;
}

HRESULT KOREVrcWindow::GetRenderingSpec(KORIVrcRenderingSpec** oSpec) {
  KORVrcTraceScope scope("KOREVrcWindow::GetRenderingSpec");
  KORIVrcRendering_var rendering;
  if (!oSpec || FAILED(GetRendering(rendering.Out())))
    return E_FAIL;
  return rendering->GetRenderingSpec(oSpec);
}

HRESULT KOREVrcWindow::GetView(KORIVrcView** oView) {
  KORVrcTraceScope scope("KOREVrcWindow::GetView");
  KORIVrcRendering_var rendering;
  if (!oView || FAILED(GetRendering(rendering.Out())))
    return E_FAIL;
  return rendering->GetView(oView);
}

HRESULT KOREVrcWindow::ResetCount() {
  KORVrcTraceScope scope("KOREVrcWindow::ResetCount");
  return SetInteger(GetImpl(), "Count", 0, Notify::No);
}

HRESULT KOREVrcWindow::UpCount() {
  KORVrcTraceScope scope("KOREVrcWindow::UpCount");
  int count = 0;
  if (FAILED(GetInteger(GetImpl(), "Count", &count)))
    return E_FAIL;
  return SetInteger(GetImpl(), "Count", count + 1, Notify::No);
}

HRESULT KOREVrcWindow::DownCount() {
  KORVrcTraceScope scope("KOREVrcWindow::DownCount");
  int count = 0;
  if (FAILED(GetInteger(GetImpl(), "Count", &count)))
    return E_FAIL;
  if (count - 1 > 0)
    return SetInteger(GetImpl(), "Count", count - 1, Notify::No);
  // The last user lets the window go: it leaves its image generator, and the
  // count stays as it was since the window is no longer listed anywhere.
  auto ig = Father<KORIVrcIG>(GetImpl());
  if (!ig)
    return E_FAIL;
  return ig->RemoveWindow(this);
}
