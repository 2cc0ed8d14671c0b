#include "KORVrcGenerateXMLFileDlg.h"

#include "dialog/KORDlgNotifications.h"
#include "system/KOREnvironment.h"

KORVrcGenerateXMLFileDlg::KORVrcGenerateXMLFileDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcGenerateXMLFileDlg", KORDlgOK | KORDlgCancel) {}

void KORVrcGenerateXMLFileDlg::Build() {
  // Captions come from the catalog; a missing one shows the widget's name.
  if (FAILED(LoadMessageCatalog("KORVrcGenerateXMLFileDlg")))
    SetTitle("KORVrcGenerateXMLFileDlg");
  new KORDlgLabel(this, "NameLbl");
  _nameEditor = new KORDlgEditor(this, "NameEdt");
  new KORDlgLabel(this, "DirectoryLbl");
  _directoryEditor = new KORDlgEditor(this, "DirectoryEdt");
  auto* browse = new KORDlgPushButton(this, "BrowseBtn");
  _setConfig = new KORDlgCheckButton(this, "SetConfigChk");
  _addConfig = new KORDlgCheckButton(this, "AddConfigChk");

  AddAnalyseNotificationCB(browse, KORDlgPushBActivateNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) {
                             OnBrowseBtnPushBActivateNotification();
                           });
  AddAnalyseNotificationCB(_addConfig, KORDlgCheckModifyNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) {
                             OnAddConfigChkModifyNotification();
                           });
  AddAnalyseNotificationCB(_directoryEditor, KORDlgEditModifyNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) { OnDirectoryTyped(); });
}

KORUnicodeString KORVrcGenerateXMLFileDlg::GetConfigName() const {
  return _nameEditor->GetText();
}

void KORVrcGenerateXMLFileDlg::SetConfigName(const KORUnicodeString& iName) {
  _nameEditor->SetText(iName);
}

void KORVrcGenerateXMLFileDlg::SetLogicalDirectory(const KORUnicodeString& iDirectory) {
  _logicalDirectory = iDirectory;
  _directoryEditor->SetText(KORGetPrintablePath(iDirectory));
}

KORUnicodeString KORVrcGenerateXMLFileDlg::GetPrintableDirectory() const {
  return _directoryEditor->GetText();
}

KORUnicodeString KORVrcGenerateXMLFileDlg::GetPhysicalDirectory() const {
  KORUnicodeString physical;
  if (FAILED(KORGetRealPath(_logicalDirectory, physical)))
    physical.clear();
  return physical;
}

bool KORVrcGenerateXMLFileDlg::IsCurrentConfigChecked() const {
  return _setConfig->GetState();
}

bool KORVrcGenerateXMLFileDlg::IsAddInConfigListChecked() const {
  return _addConfig->GetState();
}

void KORVrcGenerateXMLFileDlg::SetCurrentConfigChk(int iOn) {
  _setConfig->SetState(iOn != 0);
}

void KORVrcGenerateXMLFileDlg::SetAddConfigChk(int iOn) {
  _addConfig->SetState(iOn != 0);
  ApplyAddConfigRule(iOn != 0);
}

void KORVrcGenerateXMLFileDlg::OnAddConfigChkModifyNotification() {
  ApplyAddConfigRule(_addConfig->GetState());
}

void KORVrcGenerateXMLFileDlg::ApplyAddConfigRule(bool iAdded) {
  if (iAdded) {
    _setConfig->SetSensitivity(true);
    _setConfig->SetState(_rememberedSetConfig);
    return;
  }
  _rememberedSetConfig = _setConfig->GetState();
  _setConfig->SetState(false);
  _setConfig->SetSensitivity(false);
}

void KORVrcGenerateXMLFileDlg::OnDirectoryTyped() {
  // A typed directory is taken as given, references such as $HOME included.
  _logicalDirectory = _directoryEditor->GetText();
}

void KORVrcGenerateXMLFileDlg::OnBrowseBtnPushBActivateNotification() {
  ManageFileBrowser(1);
}

void KORVrcGenerateXMLFileDlg::ManageFileBrowser(int iShow) {
  if (!iShow) {
    if (!_fileBox)
      return;
    RemoveAnalyseNotificationCB(_fileOKCallback);
    RemoveAnalyseNotificationCB(_fileCancelCallback);
    _fileOKCallback = _fileCancelCallback = 0;
    _fileBox->SetVisibility(false);
    return;
  }
  if (!_fileBox)
    _fileBox = new KORDlgFileBox(this, "VRFileBox", KORDlgFileBox::Directory);
  if (!_fileOKCallback) {
    _fileOKCallback = AddAnalyseNotificationCB(
        _fileBox, KORDlgFileOKNotification::ClassName,
        [this](KORCommand*, KORCommandNotification&) { OnFileOK(); });
    _fileCancelCallback = AddAnalyseNotificationCB(
        _fileBox, KORDlgFileCancelNotification::ClassName,
        [this](KORCommand*, KORCommandNotification&) { OnFileCANCEL(); });
  }
  _fileBox->SetSelection(GetPhysicalDirectory());
  _fileBox->SetVisibility(true);
}

void KORVrcGenerateXMLFileDlg::OnFileOK() {
  SetLogicalDirectory(_fileBox->GetSelection());
  ManageFileBrowser(0);
}

void KORVrcGenerateXMLFileDlg::OnFileCANCEL() {
  ManageFileBrowser(0);
}
