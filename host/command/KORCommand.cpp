#include "command/KORCommand.h"

#include "command/KORCommandManager.h"

#include <algorithm>

KORCommand::KORCommand(KORCommand* iFather, const KORString& iName) : _name(iName) {
  SetFather(iFather);
}

KORCommand::~KORCommand() {
  // Each child detaches itself from us in its own destructor.
  while (!_children.empty())
    delete _children.back();
  if (KORCommandManager* manager = GetManager())
    manager->Forget(this);
  if (_father)
    _father->Detach(this);
}

void KORCommand::SetFather(KORCommand* iFather) {
  if (_father == iFather)
    return;
  if (_father)
    _father->Detach(this);
  _father = iFather;
  if (_father)
    _father->_children.push_back(this);
}

void KORCommand::Detach(KORCommand* iChild) {
  std::erase(_children, iChild);
}

HRESULT KORCommand::SendNotification(KORCommand* iTarget, KORCommandNotification& iNotification) {
  if (!iTarget)
    return E_INVALIDARG;
  iNotification.SetSender(this);
  return KORCommandManager::Deliver(iTarget, iNotification);
}

KORCallbackHandle KORCommand::AddAnalyseNotificationCB(KORCommand* iSender,
                                                       const char* iNotificationName,
                                                       KORNotificationCallback iCallback) {
  const KORCallbackHandle handle = _nextHandle++;
  _callbacks.push_back({handle, iSender, iNotificationName ? iNotificationName : "",
                        iNotificationName == nullptr, std::move(iCallback)});
  return handle;
}

void KORCommand::RemoveAnalyseNotificationCB(KORCallbackHandle iHandle) {
  std::erase_if(_callbacks, [iHandle](const Callback& c) { return c.handle == iHandle; });
}

void KORCommand::RunCallbacks(KORCommandNotification& iNotification) {
  // A callback may add or remove callbacks: run over a copy of the handles and
  // skip those removed meanwhile.
  std::vector<KORCallbackHandle> handles;
  for (const Callback& callback : _callbacks)
    if ((!callback.sender || callback.sender == iNotification.GetSender()) &&
        (callback.anyName || callback.name == iNotification.GetNotificationName()))
      handles.push_back(callback.handle);
  for (KORCallbackHandle handle : handles) {
    auto found = std::find_if(_callbacks.begin(), _callbacks.end(),
                              [handle](const Callback& c) { return c.handle == handle; });
    if (found == _callbacks.end())
      continue;
    KORNotificationCallback function = found->function; // survives its own removal
    function(iNotification.GetSender(), iNotification);
  }
}

bool KORCommand::AnalyseNotification(KORCommandNotification&) {
  return false;
}

void KORCommand::RequestDelayedDestruction() {
  _destructionRequested = true;
  if (KORCommandManager* manager = GetManager())
    manager->ScheduleDestruction(this);
}

KORCommandManager* KORCommand::GetManager() const {
  return _father ? _father->GetManager() : nullptr;
}

KORFrmEditor* KORCommand::GetEditor() const {
  KORCommandManager* manager = GetManager();
  return manager ? manager->GetEditor() : nullptr;
}

void KORCommand::Cancel() {
  RequestDelayedDestruction();
}
