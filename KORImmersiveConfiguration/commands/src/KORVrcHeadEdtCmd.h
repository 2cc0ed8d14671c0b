#pragma once
// Edits the configuration's head: eye distance, type and location. The head
// is made with the configuration, so the command never creates one; made
// without element, it edits the head of the editor's document.
#include "KORVrcEditCmd.h"
#include "interfaces/KORIVrcHead.h"
#include "math/KORMathTransformation.h"

class KORVrcHeadEditDlg;

class KORVrcHeadEdtCmd : public KORVrcEditCmd {
public:
  explicit KORVrcHeadEdtCmd(KORIVrcHead* iHead);
  void Cancel() override;

protected:
  KORBaseUnknown_var RetrieveElement() override;
  KORDlgDialog* BuildDialog() override;
  void InitDialog() override;
  bool CheckValues() override;
  bool WriteValues() override;
  void SaveValues() override;
  bool RestoreValues() override;

private:
  bool Write(double iIPD, KORVrcHeadType iType, const KORMathTransformation& iLocation);

  KORIVrcHead_var _head;
  KORVrcHeadEditDlg* _headDialog = nullptr;
  double _savedIPD = 57;
  KORVrcHeadType _savedType = KORVrcHeadCustom;
  KORMathTransformation _savedLocation;
};
