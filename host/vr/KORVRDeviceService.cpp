#include "vr/KORVRDeviceService.h"

#include "system/KORThreadLocal.h"
#include "vr/KORIVRRuntimeInfo.h"

namespace {
KOR_THREAD_LOCAL KORVRDeviceService* tCurrentService = nullptr;

KORVRDeviceManager DefaultMapping() {
  KORVRDeviceManager manager(KORVRDefaultDeviceName);
  if (FAILED(manager.SetHeadBody(1, KORVRViewportEventName)) || FAILED(manager.SetHandBody(2)))
    manager.ClearMapping();
  return manager;
}

const KORVRDeviceManager& CurrentMapping() {
  static const KORVRDeviceManager defaults = DefaultMapping();
  return tCurrentService ? tCurrentService->GetDeviceManager() : defaults;
}

KORVRDeviceEvent Found(HRESULT iResult, const KORVRDeviceEvent& iEvent, bool& oAvailable) {
  oAvailable = SUCCEEDED(iResult);
  return oAvailable ? iEvent : KORVRDeviceEvent();
}
} // namespace

KORVRDeviceService::KORVRDeviceService() : _manager(DefaultMapping()) {}

KORVRDeviceService* KORVRDeviceService::Current() {
  return tCurrentService;
}

void KORVRDeviceService::SetMapping(const KORVRDeviceManager& iManager) {
  _manager = iManager;
  _mapped = true;
}

KORVRDeviceService::Scope::Scope(KORVRDeviceService& iService)
    : KORCurrentScope(tCurrentService, iService) {}

KORVRDispatcherOnIdle::KORVRDispatcherOnIdle()
    : _dispatcher(tCurrentService ? &tCurrentService->GetDispatcher() : nullptr) {}

KORVRDispatcherOnIdle::~KORVRDispatcherOnIdle() {
  for (KORVRDispatcher::SubscriptionId id : _subscriptions)
    KORIgnoreResult(_dispatcher->RemoveCallback(id), "S_FALSE: the callback ended already");
}

HRESULT KORVRDispatcherOnIdle::AddDeviceCallback(const std::vector<KORVRDeviceEvent>& iEvents,
                                                 KORVRDeviceCallback iCallback) {
  if (!_dispatcher)
    return E_FAIL;
  _subscriptions.push_back(_dispatcher->AddDeviceCallback(iEvents, std::move(iCallback)));
  return S_OK;
}

KORVRDeviceEvent KORGetHeadTrackingEvent(bool& oAvailable) {
  KORVRDeviceEvent event;
  return Found(CurrentMapping().GetHeadTrackingEvent(event), event, oAvailable);
}

KORVRDeviceEvent KORGetHandTrackingEvent(bool& oAvailable) {
  KORVRDeviceEvent event;
  return Found(CurrentMapping().GetHandTrackingEvent(event), event, oAvailable);
}

KORVRDeviceEvent KORVRManager::FindEvent(const KORString& iDeviceName, const KORString& iEventName,
                                         int iIndex, bool& oAvailable) {
  KORVRDeviceEvent event(iDeviceName, iEventName, iIndex);
  if (tCurrentService && tCurrentService->HasMapping())
    return Found(tCurrentService->GetDeviceManager().FindEvent(iDeviceName, iEventName, iIndex,
                                                               event),
                 event, oAvailable);
  const bool tracking = iEventName == KORVRViewportEventName || iEventName == KORVRPositionEventName;
  return Found(tracking && iIndex >= 0 ? S_OK : E_FAIL, event, oAvailable);
}

std::vector<KORVRDeviceEvent> KORVRGetTrackerEvents() {
  std::vector<KORVRDeviceEvent> events;
  bool available = false;
  auto info = KORQuery<KORIVRRuntimeInfo>(KORSmartPtr<KORBaseUnknown>::Adopt(KORVRCreateRuntimeInfo()));
  if (info && info->IsAvailable(0) == S_OK) {
    for (auto named : {&KORIVRRuntimeInfo::GetHeadTrackerEvent,
                       &KORIVRRuntimeInfo::GetHandTrackerEvent}) {
      KORString device, name;
      int index = 0;
      if (FAILED((info.get()->*named)(device, name, index)))
        continue;
      KORVRDeviceEvent event = KORVRManager::FindEvent(device, name, index, available);
      if (available)
        events.push_back(std::move(event));
    }
    return events;
  }
  for (auto standard : {&KORGetHeadTrackingEvent, &KORGetHandTrackingEvent}) {
    KORVRDeviceEvent event = standard(available);
    if (available)
      events.push_back(std::move(event));
  }
  return events;
}
