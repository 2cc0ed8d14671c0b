#include "KOREVrcElementLifeCycle.h"

#include "KORVrcElementAccess.h"
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
        (void)config->RemoveRendering(rendering);
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
    (void)events->RemoveDeathCallback(_deathSubscription);
  _deathSubscription = 0;
  if (auto refresh = KORVrcAccess::Refresh(self))
    (void)refresh->NotifyDelete();
  else
    KORVrcModelTrace().Write("KORIVrcVisuRefreshOnElement interface NOT FOUND ");
}
