#include "KORVrcHeadEditDlg.h"

#include "KORVrcDlgTools.h"

#include <algorithm>

KORVrcHeadEditDlg::KORVrcHeadEditDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcHeadEditDlg", KORDlgOK | KORDlgCancel | KORDlgApply) {}

void KORVrcHeadEditDlg::Build() {
  if (FAILED(LoadMessageCatalog("KORVrcHeadEditDlg")))
    SetTitle("KORVrcHeadEditDlg");
  auto* frame = new KORDlgFrame(this, "Frame003");
  new KORDlgLabel(frame, "IPDlbl");
  _ipd = new KORDlgSpinner(frame, "IPDSpinEdit");
  _ipd->BindParameter(KORParameterKind::Length);
  new KORDlgSeparator(frame, "Separator007");
  new KORDlgLabel(frame, "Label008");
  _type = new KORDlgCombo(frame, "TypeCombo");
  KORVrcFillCombo(*_type, "KORVrcHeadType", KORVrcHeadTypeLabels);
  new KORDlgSeparator(frame, "Separator024");
  for (const char* label : {"Label015", "Label016", "Label017", "Label018", "Label025",
                            "Label026", "Label027", "Label028"})
    new KORDlgLabel(frame, label);
  _location.Build(frame);
}

void KORVrcHeadEditDlg::SetValues(double iIPD, KORVrcHeadType iType,
                                  const KORMathTransformation& iLocation) {
  _ipd->SetValue(iIPD);
  _type->SetSelect(iType);
  _location.Set(iLocation);
}

void KORVrcHeadEditDlg::GetValues(double& oIPD, KORVrcHeadType& oType,
                                  KORMathTransformation& oLocation) const {
  oIPD = _ipd->GetValue();
  oType = static_cast<KORVrcHeadType>(std::max(_type->GetSelect(), 0));
  oLocation = _location.Get();
}
