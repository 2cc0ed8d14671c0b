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

namespace {} // namespace

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
  // The first rendering of the configuration root's list whose window is this
  // one. The renderings that show this window are found through the store's
  // back references, so the cost does not grow with the number of renderings
  // that show other windows.
  auto config = FirstInContainer<KORIVrcConfig>(GetImpl());
  auto self = KORQuery<KORISpecObject>(GetImpl());
  auto configAttributes = Attributes(config);
  KORListValKORBaseUnknown_var* raw = nullptr;
  if (!config || !self || !configAttributes ||
      FAILED(self->ListReferrers("Window", KORIVrcRendering::IID, &raw)))
    return E_FAIL;
  KOROwnedList showing(raw);
  KORIVrcRendering_var first;
  int firstPosition = 0;
  for (const KORBaseUnknown_var& entry : *showing) {
    int position = 0;
    auto rendering = KORQuery<KORISpecObject>(entry);
    if (rendering && SUCCEEDED(configAttributes->LocateLink("Renderings", rendering, position)) &&
        position > 0 && (!first || position < firstPosition)) {
      first = KORQuery<KORIVrcRendering>(entry);
      firstPosition = position;
    }
  }
  return first ? KORReturn(first, oRendering) : E_FAIL;
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
