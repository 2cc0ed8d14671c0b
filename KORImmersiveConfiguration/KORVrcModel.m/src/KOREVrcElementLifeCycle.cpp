#include "KOREVrcElementLifeCycle.h"

#include "KORVrcElementAccess.h"
#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "featurestore/KORIContainer.h"
#include "featurestore/KORISpecEvents.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcRendering.h"
#include "interfaces/KORIVrcWindow.h"

HRESULT KOREVrcElementLifeCycle::remove(int /*iForCloseContext*/) {
  KORVrcTraceScope scope("KOREVrcElementLifeCycle::remove");
  KORBaseUnknown* self = GetImpl();
  if (auto window = KORQuery<KORIVrcWindow>(self)) {
    KORIVrcRendering_var rendering;
    if (SUCCEEDED(window->GetRendering(rendering.Out())))
      if (auto config = KORVrcAccess::FirstInContainer<KORIVrcConfig>(self))
        KORIgnoreResult(config->RemoveRendering(rendering),
                        "a rendering the root does not list needs no removal");
  }
  if (!_deathSubscription)
    if (auto events = KORQuery<KORISpecEvents>(self))
      _deathSubscription = events->AddDeathCallback([this](KORBaseUnknown*) { OnDeath(); });
  KORVrcAccess::Redraw(self);
  return KORStandardRemove(self);
}

void KOREVrcElementLifeCycle::OnDeath() {
  KORBaseUnknown* self = GetImpl();
  if (auto events = KORQuery<KORISpecEvents>(self))
    KORIgnoreResult(events->RemoveDeathCallback(_deathSubscription),
                    "a subscription already gone with its feature needs no removal");
  _deathSubscription = 0;
  if (auto refresh = KORVrcAccess::Refresh(self))
    KORIgnoreResult(refresh->NotifyDelete(), KORVrcEventNotDelivered);
  else
    KORVrcModelTrace().Write("KORIVrcVisuRefreshOnElement interface NOT FOUND ");
}
