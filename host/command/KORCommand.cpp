#include "command/KORCommand.h"

#include "command/KORCommandManager.h"


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
  return _callbacks.Add({iSender, iNotificationName ? iNotificationName : "",
                         iNotificationName == nullptr, std::move(iCallback)});
}

void KORCommand::RemoveAnalyseNotificationCB(KORCallbackHandle iHandle) {
  _callbacks.Remove(iHandle);
}

void KORCommand::RunCallbacks(KORCommandNotification& iNotification) {
  _callbacks.RunMatching(
      [&iNotification](const Callback& c) {
        return (!c.sender || c.sender == iNotification.GetSender()) &&
               (c.anyName || c.name == iNotification.GetNotificationName());
      },
      [&iNotification](Callback& c) { c.function(iNotification.GetSender(), iNotification); });
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
