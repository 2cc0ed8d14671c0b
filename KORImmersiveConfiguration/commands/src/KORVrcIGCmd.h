#pragma once
// Creates or edits an image generator: its display name (unique, and of the
// form host:display.screen) and its size in pixels. No Apply.
#include "KORVrcEditCmd.h"
#include "interfaces/KORIVrcIG.h"

class KORVrcIGDlg;

class KORVrcIGCmd : public KORVrcEditCmd {
public:
  explicit KORVrcIGCmd(KORIVrcIG* iIG);

protected:
  KORDlgDialog* BuildDialog() override;
  void InitDialog() override;
  bool CheckValues() override;
  KORBaseUnknown_var CreateElement() override;
  bool WriteValues() override;
  void SaveValues() override;
  bool RestoreValues() override;
  void GetNamesOfKind(KORListValKORUnicodeString& oNames) override;
  KORUnicodeString GetDialogName() override;
  NameRule GetNameRule() override { return KORVrcNameProblem; }

private:
  bool Write(const KORUnicodeString& iName, int iWidth, int iHeight);

  KORIVrcIG_var _ig;
  KORVrcIGDlg* _igDialog = nullptr;
  KORUnicodeString _savedName;
  int _savedWidth = 1280;
  int _savedHeight = 1024;
};
