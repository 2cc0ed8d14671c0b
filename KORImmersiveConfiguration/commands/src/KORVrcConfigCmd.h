#pragma once
// Edits the configuration root: its name and its main window, chosen by
// picking a window. Made without element, it edits the root of the editor's
// document. It never creates a root.
#include "KORVrcEditCmd.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcWindow.h"

class KORVrcConfigDlg;

class KORVrcConfigCmd : public KORVrcEditCmd {
public:
  explicit KORVrcConfigCmd(KORIVrcConfig* iConfig);

protected:
  KORBaseUnknown_var RetrieveElement() override;
  KORDlgDialog* BuildDialog() override;
  void AddKindAgents() override;
  void InitDialog() override;
  bool WriteValues() override;
  void SaveValues() override;
  bool RestoreValues() override;
  void OnPicked(KORBaseUnknown* iElement) override;
  KORUnicodeString GetDialogName() override;
  NameRule GetNameRule() override { return KORVrcFileNameProblem; }

private:
  KORIVrcGraphicResources_var GetGraphicResources() const;

  KORIVrcConfig_var _config;
  KORVrcConfigDlg* _configDialog = nullptr;
  KORIVrcWindow_var _chosenMainWindow;
  KORUnicodeString _savedName;
  KORIVrcWindow_var _savedMainWindow;
};
