#include "command/KORCommandManager.h"

#include "command/KORStateCommand.h"

#include <algorithm>

class KORCommandManager::MainWindow final : public KORCommand {
public:
  explicit MainWindow(KORCommandManager& iManager) : KORCommand(nullptr, "MainWindow"), _manager(iManager) {}
  ~MainWindow() override {
    // Destroy children while GetManager still answers for them.
    while (!GetChildren().empty())
      delete GetChildren().back();
  }
  KORCommandManager* GetManager() const override { return &_manager; }

private:
  KORCommandManager& _manager;
};

KORCommandManager::KORCommandManager() : _mainWindow(std::make_unique<MainWindow>(*this)) {}

KORCommandManager::~KORCommandManager() {
  if (_active)
    CancelActiveCommand();
  _mainWindow.reset();
}

HRESULT KORCommandManager::StartCommand(KORCommand* iCommand) {
  if (!iCommand)
    return E_INVALIDARG;
  CancelActiveCommand();
  iCommand->SetFather(_mainWindow.get());
  _started.push_back(iCommand);
  _active = iCommand;
  if (_observer)
    _observer->OnCommandStarted(*iCommand);
  ++_depth; // the start may already end the command: destroy it afterwards
  if (auto* state = dynamic_cast<KORStateCommand*>(iCommand))
    state->Start();
  if (--_depth == 0)
    FlushDestructions();
  return S_OK;
}

KORCommand* KORCommandManager::GetActiveCommand() const {
  return _active && !_active->IsDestructionRequested() ? _active : nullptr;
}

void KORCommandManager::CancelActiveCommand() {
  KORCommand* active = GetActiveCommand();
  if (!active)
    return;
  // The command cancels first, so that what its cancellation writes is
  // aborted with the rest of it; it is destroyed only after the flush.
  active->Cancel();
  if (_observer)
    _observer->OnCommandAborted(*active);
  if (_depth == 0)
    FlushDestructions();
}

HRESULT KORCommandManager::Pick(const KORPathElement& iPath, std::optional<KORMathPoint> iPoint) {
  if (iPath.IsEmpty())
    return E_INVALIDARG;
  KORCommand* active = GetActiveCommand();
  if (!active)
    return S_FALSE;
  KORPickNotification pick(iPath, iPoint);
  return _mainWindow->SendNotification(active, pick);
}

HRESULT KORCommandManager::Deliver(KORCommand* iTarget, KORCommandNotification& iNotification) {
  KORCommandManager* manager = iTarget->GetManager();
  if (manager)
    ++manager->_depth;
  bool taken = false;
  // Destruction is deferred while we climb, so every father stays valid.
  for (KORCommand* object = iTarget; object && !taken; object = object->GetFather()) {
    object->RunCallbacks(iNotification);
    taken = object->AnalyseNotification(iNotification);
  }
  if (manager && --manager->_depth == 0)
    manager->FlushDestructions();
  return taken ? S_OK : S_FALSE;
}

void KORCommandManager::ScheduleDestruction(KORCommand* iObject) {
  if (std::find(_pending.begin(), _pending.end(), iObject) == _pending.end())
    _pending.push_back(iObject);
}

void KORCommandManager::FlushDestructions() {
  // Destroying an object destroys its children, which leave _pending through
  // Forget; so take one object at a time.
  while (!_pending.empty()) {
    KORCommand* object = _pending.front();
    _pending.erase(_pending.begin());
    delete object;
  }
}

void KORCommandManager::Forget(KORCommand* iObject) {
  std::erase(_pending, iObject);
  if (_active == iObject)
    _active = nullptr;
  auto started = std::find(_started.begin(), _started.end(), iObject);
  if (started != _started.end()) {
    _started.erase(started);
    if (_observer)
      _observer->OnCommandEnded(*iObject);
  }
}

void KORCommandManager::NotifyCommitted(KORCommand& iCommand) {
  if (_observer)
    _observer->OnCommandCommitted(iCommand);
}

void KORCommandManager::NotifyAborted(KORCommand& iCommand) {
  if (_observer)
    _observer->OnCommandAborted(iCommand);
}
