#include "KORVrcDlgTools.h"

#include "interfaces/KORVrcValueRules.h"
#include "system/KORFrameServices.h"
#include "system/KORMsgCatalog.h"

void KORVrcFillCombo(KORDlgCombo& ioCombo, const KORString& iCatalog,
                     std::span<const std::string_view> iLabels) {
  std::shared_ptr<const KORMsgCatalog> catalog;
  KORUnicodeString error;
  if (FAILED(KORFindMsgCatalog(iCatalog, catalog, error)))
    catalog = nullptr;
  ioCombo.ClearLine();
  for (std::string_view label : iLabels) {
    const KORString key(label);
    KORUnicodeString text;
    if (!catalog || FAILED(catalog->BuildMessage(key, text)))
      text = key;
    ioCombo.SetLine(text);
  }
}

KORDlgSpinner* KORVrcMakeSpinner(KORCommand* iFather, const KORString& iName, double iMin,
                                 double iMax, int iSteps, const KORString& iFormat) {
  auto* spinner = new KORDlgSpinner(iFather, iName);
  spinner->SetRange(iMin, iMax, iSteps);
  spinner->SetFormat(iFormat);
  return spinner;
}

void KORVrcMakeLengthField(KORDlgSpinner& ioField) {
  ioField.SetMinMaxStep(-KORVrcMaxMagnitude, KORVrcMaxMagnitude, ioField.GetStep());
  ioField.BindParameter(KORParameterKind::Length);
}

KORDlgSpinner* KORVrcMakeSpeedSpinner(KORCommand* iFather, double iMax, int iSteps) {
  KORDlgSpinner* spinner = KORVrcMakeSpinner(iFather, "SpeedSpinner", 0, iMax, iSteps, "%.0f");
  spinner->SetMinMaxStep(1, iMax, spinner->GetStep());
  return spinner;
}
