#pragma once
// The export dialog: the configuration's file name (without ".xml"), the
// directory (kept as the host's logical path, shown expanded, typed or chosen
// in the directory box "VRFileBox"), and whether the file is added to the
// runtime's list ("AddConfigChk") and made the active configuration
// ("SetConfigChk"). A file can only be made active when it is added: switching
// "AddConfigChk" off switches "SetConfigChk" off and greys it, switching it on
// gives "SetConfigChk" back its earlier state.
#include "dialog/KORDlgNotify.h"
#include "dialog/KORDlgWidgets.h"

class KORVrcGenerateXMLFileDlg : public KORDlgDialog {
public:
  explicit KORVrcGenerateXMLFileDlg(KORCommand* iFather);
  void Build();

  KORUnicodeString GetConfigName() const;
  void SetConfigName(const KORUnicodeString& iName);
  const KORUnicodeString& GetLogicalDirectory() const { return _logicalDirectory; }
  void SetLogicalDirectory(const KORUnicodeString& iDirectory);
  KORUnicodeString GetPrintableDirectory() const;
  // Empty when the logical directory cannot be resolved.
  KORUnicodeString GetPhysicalDirectory() const;
  bool IsCurrentConfigChecked() const;
  bool IsAddInConfigListChecked() const;
  void SetCurrentConfigChk(int iOn);
  void SetAddConfigChk(int iOn);
  // 1 shows the directory box (made on first use), 0 hides it.
  void ManageFileBrowser(int iShow);

private:
  void OnBrowseBtnPushBActivateNotification();
  void OnFileOK();
  void OnFileCANCEL();
  void OnAddConfigChkModifyNotification();
  void OnDirectoryTyped();
  void ApplyAddConfigRule(bool iAdded);

  KORDlgEditor* _nameEditor = nullptr;
  KORDlgEditor* _directoryEditor = nullptr;
  KORDlgCheckButton* _setConfig = nullptr;
  KORDlgCheckButton* _addConfig = nullptr;
  KORDlgFileBox* _fileBox = nullptr;
  KORCallbackHandle _fileOKCallback = 0;
  KORCallbackHandle _fileCancelCallback = 0;
  KORUnicodeString _logicalDirectory;
  bool _rememberedSetConfig = false;
};
