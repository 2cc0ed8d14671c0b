#include "KOREVrcElementLifeCycle.h"

#include "KORVrcElementAccess.h"
#include "KORVrcTrace.h"
#include "featurestore/KORIContainer.h"
#include "featurestore/KORISpecEvents.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcRendering.h"
#include "interfaces/KORIVrcWindow.h"

namespace {
// The first configuration root of the element's container.
KORIVrcConfig_var FirstConfig(KORBaseUnknown* iElement) {
  KORIContainer_var container;
  auto object = KORQuery<KORISpecObject>(iElement);
  KORListValKORBaseUnknown_var* configs = nullptr;
  KORIVrcConfig_var config;
  if (object && SUCCEEDED(object->GetContainer(container.Out())) &&
      SUCCEEDED(container->ListMembers(KORIVrcConfig::IID, &configs)) && configs->Size() > 0)
    config = KORQuery<KORIVrcConfig>((*configs)[1]);
  delete configs;
  return config;
}
} // namespace

HRESULT KOREVrcElementLifeCycle::remove(int /*iForCloseContext*/) {
  KORVrcTraceScope scope("KOREVrcElementLifeCycle::remove");
  KORBaseUnknown* self = GetImpl();
  if (auto window = KORQuery<KORIVrcWindow>(self)) {
    KORIVrcRendering_var rendering;
    if (SUCCEEDED(window->GetRendering(rendering.Out())))
      if (auto config = FirstConfig(self))
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
