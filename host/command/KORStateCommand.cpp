#include "command/KORStateCommand.h"

#include "command/KORCommandManager.h"
#include "command/KORFrmEditor.h"

bool KORCommandAgent::Take(KORCommandNotification& iNotification) {
  if ((_valued && !HasBehavior(KORAgentRepeat)) || !Accepts(iNotification))
    return false;
  Store(iNotification);
  _valued = true;
  _valuedBy = iNotification.GetNotificationName();
  _valuedOutcome = iNotification.GetOutcome();
  return true;
}

void KORDialogAgent::AcceptOnNotify(KORCommand* iSender, const char* iNotificationName) {
  if (iNotificationName)
    _accepted.emplace_back(iSender, iNotificationName);
}

bool KORDialogAgent::Accepts(const KORCommandNotification& iNotification) const {
  for (const auto& [sender, name] : _accepted)
    if ((!sender || sender == iNotification.GetSender()) &&
        name == iNotification.GetNotificationName())
      return true;
  return false;
}

bool KORPathElementAgent::Fits(const KORPathElement& iPath) const {
  KORBaseUnknown* element = iPath.GetLastElement();
  if (!element)
    return false;
  if (_types.empty())
    return true;
  for (const KORIID& type : _types) {
    void* answer = nullptr;
    if (SUCCEEDED(element->QueryInterface(type, &answer)) && answer) {
      static_cast<KORBaseUnknown*>(answer)->Release();
      return true;
    }
  }
  return false;
}

bool KORPathElementAgent::TakePath(const KORPathElement& iPath) {
  KORPickNotification pick(iPath, std::nullopt);
  return Take(pick);
}

bool KORPathElementAgent::Accepts(const KORCommandNotification& iNotification) const {
  const auto* pick = dynamic_cast<const KORPickNotification*>(&iNotification);
  return pick && Fits(pick->GetPath());
}

void KORPathElementAgent::Store(const KORCommandNotification& iNotification) {
  const auto& pick = static_cast<const KORPickNotification&>(iNotification);
  _path = pick.GetPath();
  _point = pick.GetPoint();
}

void KORPathElementAgent::InitializeAcquisition() {
  KORCommandAgent::InitializeAcquisition();
  _path = KORPathElement();
  _point.reset();
}

KORStateCommand::KORStateCommand(const KORString& iName) : KORCommand(nullptr, iName) {}

KORStateCommand::~KORStateCommand() = default;

KORCommandState* KORStateCommand::GetInitialState(const KORString& iName) {
  if (!_initial)
    _initial = AddDialogState(iName);
  return _initial;
}

KORCommandState* KORStateCommand::AddDialogState(const KORString& iName) {
  _states.push_back(std::make_unique<KORCommandState>(iName));
  return _states.back().get();
}

void KORStateCommand::AddTransition(KORCommandState* iFrom, KORCommandState* iTo,
                                    KORStateCondition iCondition, KORStateAction iAction) {
  if (iFrom)
    _transitions.push_back({iFrom, iTo, std::move(iCondition), std::move(iAction)});
}

KORStateCondition KORStateCommand::IsOutputSetCondition(const KORCommandAgent* iAgent) {
  return KORStateCondition([iAgent] { return iAgent && iAgent->IsOutputSet(); });
}

KORStateCondition KORStateCommand::IsLastModifiedAgentCondition(const KORCommandAgent* iAgent) const {
  return KORStateCondition([this, iAgent] { return iAgent && _lastModified == iAgent; });
}

void KORStateCommand::Start() {
  if (_built)
    return;
  _built = true;
  BuildGraph();
  if (_initial)
    EnterState(_initial);
  if (!_ended)
    Activate();
}

void KORStateCommand::Cancel() {
  EndCommand();
}

void KORStateCommand::EndCommand() {
  if (_ended)
    return;
  _ended = true;
  _current = nullptr;
  RequestDelayedDestruction();
}

void KORStateCommand::EnterState(KORCommandState* iState) {
  _current = iState;
  for (KORCommandAgent* agent : iState->GetAgents())
    agent->InitializeAcquisition();
  TakeSelection();
}

void KORStateCommand::TakeSelection() {
  KORFrmEditor* editor = GetEditor();
  if (!editor || editor->GetSelection().IsEmpty() || !_current)
    return;
  for (KORCommandAgent* agent : _current->GetAgents()) {
    auto* pathAgent = dynamic_cast<KORPathElementAgent*>(agent);
    if (pathAgent && pathAgent->HasBehavior(KORAgentValuedFromSelection) &&
        pathAgent->TakePath(editor->GetSelection())) {
      _lastModified = pathAgent;
      RunTransitions();
      return;
    }
  }
}

bool KORStateCommand::AnalyseNotification(KORCommandNotification& iNotification) {
  if (_ended || !_current)
    return false;
  for (KORCommandAgent* agent : _current->GetAgents()) {
    if (agent->Take(iNotification)) {
      _lastModified = agent;
      RunTransitions();
      return true;
    }
  }
  return false;
}

KORCommandOutcome KORStateCommand::TransitionOutcome() const {
  // The agent just valued decides; otherwise a one-shot OK or Cancel valued
  // earlier (refused then by a condition) is what lets this transition
  // through. A repeatable Apply valued earlier has been reported already.
  if (_lastModified && _lastModified->GetValuedOutcome() != KORCommandOutcome::None)
    return _lastModified->GetValuedOutcome();
  for (const KORCommandAgent* agent : _current->GetAgents())
    if (!agent->HasBehavior(KORAgentRepeat) && agent->GetValuedOutcome() != KORCommandOutcome::None)
      return agent->GetValuedOutcome();
  return KORCommandOutcome::None;
}

void KORStateCommand::RunTransitions() {
  KORCommandState* from = _current;
  const KORCommandOutcome outcome = TransitionOutcome();
  for (const Transition& transition : _transitions) {
    if (transition.from != from || !transition.condition.Evaluate())
      continue;
    // The transition is taken whatever the action answers: Cancel must end
    // the command even when it had nothing to restore.
    if (transition.action)
      transition.action();
    if (KORCommandManager* manager = GetManager()) {
      if (outcome == KORCommandOutcome::Commit)
        manager->NotifyCommitted(*this);
      else if (outcome == KORCommandOutcome::Abort)
        manager->NotifyAborted(*this);
    }
    if (_ended) // the action ended the command itself
      return;
    if (!transition.to)
      EndCommand();
    else if (transition.to != from)
      EnterState(transition.to);
    return;
  }
}
