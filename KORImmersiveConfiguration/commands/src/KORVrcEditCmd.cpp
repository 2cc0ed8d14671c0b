#include "KORVrcEditCmd.h"

#include "KORVrcCommandFactory.h"
#include "KORVrcControllerTrace.h"
#include "KORVrcTools.h"
#include "command/KORFrmEditor.h"
#include "dialog/KORDlgNotifications.h"
#include "featurestore/KORLifeCycleObject.h"
#include "interfaces/KORIVrcElement.h"
#include "system/KORFrameServices.h"
#include "system/KORMsgCatalog.h"

namespace {
// Message iKey of catalog iCatalog, else iFallback, after iSubject in quotes.
KORUnicodeString UserText(const KORString& iCatalog, const char* iKey,
                          const KORUnicodeString& iFallback, const KORUnicodeString& iSubject) {
  std::shared_ptr<const KORMsgCatalog> catalog;
  KORUnicodeString text, error;
  if (FAILED(KORFindMsgCatalog(iCatalog, catalog, error)) ||
      FAILED(catalog->BuildMessage(iKey, text)))
    text = iFallback;
  return iSubject.empty() ? text : "\"" + iSubject + "\" " + text;
}
} // namespace

KORVrcEditCmd::KORVrcEditCmd(const KORString& iClassName, KORBaseUnknown* iElement,
                             const KORVrcEditAgentIds& iAgentIds)
    : KORStateCommand(iClassName), _element(iElement), _creating(iElement == nullptr),
      _agentIds(iAgentIds) {}

KORVrcEditCmd::~KORVrcEditCmd() = default;

void KORVrcEditCmd::EditElement(KORBaseUnknown* iElement) {
  _element = KORBaseUnknown_var(iElement);
  _creating = iElement == nullptr;
}

void KORVrcEditCmd::TraceMethod(const char* iMethod) const {
  if (KORVrcControllerTrace().IsActive())
    KORVrcControllerTrace().Printf("%s: \t\t%s", GetName().c_str(), iMethod);
}

KORIVrcFactory* KORVrcEditCmd::GetFactory() {
  if (!_factory)
    _factory = KORVrcRetrieveFactory(*this);
  return _factory.get();
}

void KORVrcEditCmd::ShowRefusal(const char* iKey, const KORUnicodeString& iFallback,
                                const KORUnicodeString& iSubject) const {
  KORShowUserMessage(iKey, KORUserMessageStyle::Error, GetName(),
                     UserText(GetName(), iKey, iFallback, iSubject));
}

KORPathElementAgent* KORVrcEditCmd::AddPickAgent(const KORString& iId, const KORIID& iType) {
  auto* agent = MakeAgent<KORPathElementAgent>(iId);
  agent->AddElementType(iType);
  agent->AddBehavior(KORAgentRepeat);
  _pickAgents.push_back(agent);
  return agent;
}

void KORVrcEditCmd::AddNotificationAgent(const KORString& iId, const char* iClassName,
                                         KORStateAction iAction) {
  auto* agent = MakeAgent<KORDialogAgent>(iId);
  agent->AcceptOnNotify(_dialog, iClassName);
  agent->AddBehavior(KORAgentRepeat);
  _notificationAgents.emplace_back(agent, std::move(iAction));
}

void KORVrcEditCmd::BuildGraph() {
  if (!_element)
    if (KORBaseUnknown_var element = RetrieveElement())
      EditElement(element.get());
  TraceMethod("KORStateCommand::BuildGraph()");
  _dialog = BuildDialog();
  if (!_dialog) {
    EndCommand();
    return;
  }
  auto* ok = MakeAgent<KORDialogAgent>(_agentIds.ok);
  ok->AcceptOnNotify(_dialog, KORDlgDialog::GetDiaOKNotification());
  auto* cancel = MakeAgent<KORDialogAgent>(_agentIds.cancel);
  cancel->AcceptOnNotify(_dialog, KORDlgDialog::GetDiaCANCELNotification());
  auto* close = MakeAgent<KORDialogAgent>(_agentIds.close);
  close->AcceptOnNotify(_dialog, KORDlgDialog::GetWindCloseNotification());
  KORDialogAgent* apply = nullptr;
  if (_agentIds.apply) {
    apply = MakeAgent<KORDialogAgent>(_agentIds.apply);
    apply->AcceptOnNotify(_dialog, KORDlgDialog::GetDiaAPPLYNotification());
    apply->AddBehavior(KORAgentRepeat);
  }
  _okAgent = ok;
  _applyAgent = apply;
  AddKindAgents();

  KORCommandState* state = MakeEditState();
  if (state == GetInitialState("initialState"))
    OpenDialog();
  for (KORCommandAgent* agent : {static_cast<KORCommandAgent*>(ok),
                                 static_cast<KORCommandAgent*>(cancel),
                                 static_cast<KORCommandAgent*>(close)})
    state->AddDialogAgent(agent);
  if (apply)
    state->AddDialogAgent(apply);
  const KORStateCondition accepted = Condition(&KORVrcEditCmd::TestValues);
  AddTransition(state, nullptr, IsOutputSetCondition(ok) && accepted, Action(&KORVrcEditCmd::OnOK));
  if (apply)
    AddTransition(state, state, IsLastModifiedAgentCondition(apply) && accepted,
                  Action(&KORVrcEditCmd::OnOK));
  AddTransition(state, nullptr, IsOutputSetCondition(cancel), Action(&KORVrcEditCmd::OnCancel));
  AddTransition(state, nullptr, IsOutputSetCondition(close), Action(&KORVrcEditCmd::OnCancel));
  for (KORPathElementAgent* pick : _pickAgents) {
    state->AddDialogAgent(pick);
    AddTransition(state, state, IsLastModifiedAgentCondition(pick),
                  Action(&KORVrcEditCmd::OnSelection));
  }
  for (auto& [agent, action] : _notificationAgents) {
    state->AddDialogAgent(agent);
    AddTransition(state, state, IsLastModifiedAgentCondition(agent), action);
  }
}

void KORVrcEditCmd::OpenDialog() {
  if (!_creating)
    SaveValues();
  GatherOtherNames();
  InitDialog();
  _dialog->SetVisibility(true);
}

void KORVrcEditCmd::Cancel() {
  if (!IsEnded())
    OnCancel(nullptr);
  KORStateCommand::Cancel();
}

void KORVrcEditCmd::GatherOtherNames() {
  KORListValKORUnicodeString names;
  GetNamesOfKind(names);
  // The edited element's own name stays allowed.
  KORUnicodeString own;
  const KORIVrcElement_var element = KORQuery<KORIVrcElement>(_element);
  bool ownSkipped = !element || FAILED(element->GetName(own));
  for (const KORUnicodeString& name : names) {
    if (!ownSkipped && name == own) {
      ownSkipped = true;
      continue;
    }
    _otherNames.Append(name);
  }
}

KORUnicodeString KORVrcEditCmd::ComposeDefaultName(const KORUnicodeString& iBase,
                                                    int iFirst) const {
  return ComposeName(iBase, _otherNames, iFirst);
}

bool KORVrcEditCmd::NameIsTaken() {
  const KORUnicodeString name = GetDialogName();
  if (_otherNames.Locate(name) == 0)
    return false;
  ShowSharedRefusal("NameTaken", "is already the name of another element of this kind.", name);
  return true;
}

bool KORVrcEditCmd::AcceptsText(const KORUnicodeString& iText, KORVrcTextProblem iProblem) const {
  struct Refusal {
    const char* key;
    const char* fallback;
  };
  Refusal refusal{};
  switch (iProblem) {
  case KORVrcTextProblem::None:
    return true;
  case KORVrcTextProblem::Empty:
    refusal = {"NameEmpty", "cannot be a name: write at least one character."};
    break;
  case KORVrcTextProblem::TooLong:
    refusal = {"NameTooLong", "is longer than 255 characters."};
    break;
  case KORVrcTextProblem::ControlCharacter:
    refusal = {"NameHasControlCharacter",
               "holds a control character (a tab, a line break): the runtime files cannot hold "
               "it."};
    break;
  case KORVrcTextProblem::NotAFileName:
    refusal = {"NameNotAFileName", "cannot name the exported files: it must not be . or .. "
                                   "or hold a slash or a backslash."};
    break;
  case KORVrcTextProblem::BlankOrQuote:
    refusal = {"NameHasBlankOrQuote",
               "cannot be a daemon name: it must not hold a blank, a quote or a control "
               "character."};
    break;
  }
  ShowSharedRefusal(refusal.key, refusal.fallback, iText);
  return false;
}

void KORVrcEditCmd::ShowSharedRefusal(const char* iKey, const char* iFallback,
                                      const KORUnicodeString& iSubject) const {
  KORShowUserMessage(iKey, KORUserMessageStyle::Error, GetName(),
                     UserText("KORVrcEditCmd", iKey, iFallback, iSubject));
}

bool KORVrcEditCmd::NameIsAccepted() {
  const NameRule rule = GetNameRule();
  if (!rule)
    return true;
  const KORUnicodeString name = GetDialogName();
  return AcceptsText(name, rule(name));
}

bool KORVrcEditCmd::TestValues(void*) {
  KORVrcControllerTrace().Printf("%s::TestValues", GetName().c_str());
  // A refused OK or Apply must be pressable again.
  if (_okAgent)
    _okAgent->InitializeAcquisition();
  if (_applyAgent)
    _applyAgent->InitializeAcquisition();
  return NameIsAccepted() && !NameIsTaken() && CheckValues();
}

bool KORVrcEditCmd::OnOK(void*) {
  TraceMethod("OnOK()");
  if (!_dialog)
    return false;
  if (!_element) {
    if (!GetFactory())
      return false;
    _element = CreateElement();
    if (!_element)
      return false;
    _madeHere = true;
    return true;
  }
  return WriteValues();
}

bool KORVrcEditCmd::OnCancel(void*) {
  TraceMethod("OnCancel()");
  if (_cancelled)
    return true;
  _cancelled = true;
  if (_madeHere) {
    const bool removed = DeleteMadeElement();
    _element = nullptr;
    return removed;
  }
  return !_creating && RestoreValues();
}

bool KORVrcEditCmd::RemoveFromModel(KORBaseUnknown* iElement) {
  KORSmartPtr<LifeCycleObject> lifeCycle = KORQuery<LifeCycleObject>(iElement);
  return lifeCycle && SUCCEEDED(lifeCycle->remove());
}

bool KORVrcEditCmd::DeleteMadeElement() {
  return RemoveFromModel(_element.get());
}

bool KORVrcEditCmd::OnSelection(void*) {
  for (KORPathElementAgent* pick : _pickAgents) {
    if (GetLastModifiedAgent() != pick)
      continue;
    if (KORBaseUnknown* element = pick->GetElementValue())
      OnPicked(element);
    pick->InitializeAcquisition();
  }
  return true;
}
