#include "KORVrcGenerateXMLFileCmd.h"

#include "KORVrcControllerTrace.h"
#include "KORVrcGenerateXMLFileDlg.h"
#include "command/KORFrmEditor.h"
#include "dialog/KORDlgNotifications.h"
#include "interfaces/KORIVrcFactory.h"
#include "system/KOREnvironment.h"
#include "system/KORFrameServices.h"
#include "system/KORMsgCatalog.h"
#include "vr/KORVRConfigRegistry.h"

namespace {
constexpr const char* kCatalog = "KORVrcGenerateXMLFileCmd";

// The catalog's message iKey, or the explanation of why it is missing.
KORUnicodeString CatalogMessage(const char* iKey) {
  std::shared_ptr<const KORMsgCatalog> catalog;
  KORUnicodeString text;
  if (FAILED(KORFindMsgCatalog(kCatalog, catalog, text)))
    return text;
  if (FAILED(catalog->BuildMessage(iKey, text)))
    return text;
  return text;
}
} // namespace

KORVrcGenerateXMLFileCmd::KORVrcGenerateXMLFileCmd()
    : KORStateCommand("KORVrcGenerateXMLFileCmd") {}

void KORVrcGenerateXMLFileCmd::TraceMethod(const char* iMethod) const {
  if (KORVrcControllerTrace().IsActive())
    KORVrcControllerTrace().Printf("%s: \t\t%s", GetName().c_str(), iMethod);
}

void KORVrcGenerateXMLFileCmd::RetrievePointers() {
  KORFrmEditor* editor = GetEditor();
  KORIVrcFactory_var factory = KORQuery<KORIVrcFactory>(editor ? editor->GetDocument() : nullptr);
  if (!factory || FAILED(factory->RetrieveConfig(_config.Out())))
    return;
  _xml = KORQuery<KORIVrcXML>(_config);
  _exportService = KORQuery<KORIVrcExportService>(_config);
}

void KORVrcGenerateXMLFileCmd::BuildGraph() {
  TraceMethod("KORStateCommand::BuildGraph()");
  RetrievePointers();
  _dialog = new KORVrcGenerateXMLFileDlg(this);
  _dialog->Build();
  _dialog->SetVisibility(true);
  init();

  auto* ok = MakeAgent<KORDialogAgent>("KORVrcDlgOK");
  ok->AcceptOnNotify(_dialog, KORDlgDialog::GetDiaOKNotification());
  auto* cancel = MakeAgent<KORDialogAgent>("KORVrcDlgCANCEL");
  cancel->AcceptOnNotify(_dialog, KORDlgDialog::GetDiaCANCELNotification());
  auto* close = MakeAgent<KORDialogAgent>("KORVrcDlgCLOSE");
  close->AcceptOnNotify(_dialog, KORDlgDialog::GetWindCloseNotification());
  KORCommandState* state = GetInitialState("initialState");
  state->AddDialogAgent(ok);
  state->AddDialogAgent(cancel);
  state->AddDialogAgent(close);
  AddTransition(state, nullptr,
                IsOutputSetCondition(ok) && Condition(&KORVrcGenerateXMLFileCmd::TestValues),
                Action(&KORVrcGenerateXMLFileCmd::Ok));
  AddTransition(state, nullptr, IsOutputSetCondition(cancel),
                Action(&KORVrcGenerateXMLFileCmd::OnCancel));
  AddTransition(state, nullptr, IsOutputSetCondition(close),
                Action(&KORVrcGenerateXMLFileCmd::OnCancel));
}

void KORVrcGenerateXMLFileCmd::init() {
  KORUnicodeString name;
  if (_config && SUCCEEDED(_config->GetName(name)))
    _dialog->SetConfigName(name);
  KORUnicodeString directory = KORGetVRConfigDirectory();
  if (directory.empty()) {
    const char* profile = KORGetEnv("USERPROFILE");
    directory = profile ? profile : "";
  }
  _dialog->SetLogicalDirectory(directory);
  _dialog->SetAddConfigChk(1);
  _dialog->SetCurrentConfigChk(1);
}

bool KORVrcGenerateXMLFileCmd::TestValues(void*) {
  TraceMethod("TestValues");
  // A replayed journal answers the question itself, on its next line.
  if (KORIsReplayingUserInteraction())
    return true;
  if (!_xml || !_dialog)
    return true;
  KORUnicodeString existing;
  if (FAILED(KORFindPath(_dialog->GetConfigName() + ".xml", _dialog->GetPhysicalDirectory(),
                         existing)))
    return true;
  if (!_overwriteQuestion) {
    _overwriteQuestion = new KORDlgNotify(this, "OverwriteNfy", KORDlgNotifyStyle::Question,
                                          KORDlgAnswerYes | KORDlgAnswerNo);
    AddAnalyseNotificationCB(_overwriteQuestion, KORDlgNfyYesNotification::ClassName,
                             [this](KORCommand*, KORCommandNotification&) { OnOverwriteYes(); });
    AddAnalyseNotificationCB(_overwriteQuestion, KORDlgNfyNoNotification::ClassName,
                             [this](KORCommand*, KORCommandNotification&) { OnOverwriteNo(); });
  }
  _overwriteQuestion->Display(existing + " " + CatalogMessage("OverwriteNfy"), "OverwriteNfy");
  return false;
}

bool KORVrcGenerateXMLFileCmd::Ok(void*) {
  TraceMethod("Ok()");
  Save();
  CloseBox();
  return true;
}

bool KORVrcGenerateXMLFileCmd::OnCancel(void*) {
  TraceMethod("Cancel()");
  CloseBox();
  return true;
}

void KORVrcGenerateXMLFileCmd::OnOverwriteYes() {
  Save();
  CloseBox();
}

void KORVrcGenerateXMLFileCmd::OnOverwriteNo() {
  CloseBox();
}

void KORVrcGenerateXMLFileCmd::CloseBox() {
  if (_dialog)
    _dialog->SetVisibility(false);
  EndCommand();
}

void KORVrcGenerateXMLFileCmd::Save() {
  TraceMethod("Save()");
  if (!_xml || !_exportService || !_dialog)
    return;
  KORVrcExportRequest request;
  request.directory = _dialog->GetPhysicalDirectory();
  request.registryDirectory = _dialog->GetLogicalDirectory();
  request.name = _dialog->GetConfigName();
  // The user has agreed to replace an existing file, or there was none.
  request.replace = 1;
  request.addToList = _dialog->IsAddInConfigListChecked();
  request.makeActive = _dialog->IsCurrentConfigChecked();
  KORListValKORUnicodeString written;
  KORUnicodeString messages, failure;
  const HRESULT exported = _exportService->Export(request, written, messages, failure);
  if (SUCCEEDED(exported) && request.makeActive)
    KORShowUserMessage("GenerateXMLNotify", KORUserMessageStyle::Information, "Warning",
                       CatalogMessage("NotifyRestart"));
  if (FAILED(exported))
    messages += failure + "\n";
  if (!messages.empty())
    KORShowUserMessage("GenerateXMLError", KORUserMessageStyle::Error, "Error", messages);
}

extern "C" KORCommand* fctCreateKORVrcGenerateXMLFileCmd(void*) {
  return new KORVrcGenerateXMLFileCmd();
}
