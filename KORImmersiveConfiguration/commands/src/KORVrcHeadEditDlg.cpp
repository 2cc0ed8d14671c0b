#include "KORVrcHeadEditDlg.h"

#include "KORVrcDlgTools.h"
#include "KORVrcTools.h"

#include <algorithm>

KORVrcHeadEditDlg::KORVrcHeadEditDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcHeadEditDlg", KORDlgOK | KORDlgCancel | KORDlgApply) {}

void KORVrcHeadEditDlg::Build() {
  if (FAILED(LoadMessageCatalog("KORVrcHeadEditDlg")))
    SetTitle("KORVrcHeadEditDlg");
  auto* frame = new KORDlgFrame(this, "Frame003");
  new KORDlgLabel(frame, "IPDlbl");
  _ipd = KORVrcMakeParameterSpinner(frame, "IPDSpinEdit", KORParameterKind::Length);
  new KORDlgSeparator(frame, "Separator007");
  new KORDlgLabel(frame, "Label008");
  _type = new KORDlgCombo(frame, "TypeCombo");
  KORVrcFillCombo(*_type, "KORVrcHeadType", KORVrcHeadTypeLabels);
  new KORDlgSeparator(frame, "Separator024");
  const char* const labels[] = {"Label015", "Label016", "Label017",
                                "Label018", "Label025", "Label026"};
  const char* const positions[] = {"XSpinEdit", "YSpinEdit", "ZSpinEdit"};
  for (int i = 0; i < 3; ++i) {
    new KORDlgLabel(frame, labels[i]);
    _position[i] = KORVrcMakeParameterSpinner(frame, positions[i], KORParameterKind::Length);
  }
  new KORDlgLabel(frame, labels[3]);
  _heading = KORVrcMakeParameterSpinner(frame, "HSpinEdit", KORParameterKind::Angle);
  new KORDlgLabel(frame, labels[4]);
  _pitch = KORVrcMakeParameterSpinner(frame, "PSpinEdit", KORParameterKind::Angle);
  new KORDlgLabel(frame, labels[5]);
  _roll = KORVrcMakeParameterSpinner(frame, "RSpinEdit", KORParameterKind::Angle);
  new KORDlgLabel(frame, "Label027");
  new KORDlgLabel(frame, "Label028");
}

void KORVrcHeadEditDlg::SetValues(double iIPD, KORVrcHeadType iType,
                                  const KORMathTransformation& iLocation) {
  _ipd->SetValue(iIPD);
  _type->SetSelect(iType);
  // The angle fields show degrees, which is what GetHPR gives.
  double h = 0, p = 0, r = 0;
  GetHPR(iLocation.GetMatrix(), h, p, r);
  _heading->SetValue(h);
  _pitch->SetValue(p);
  _roll->SetValue(r);
  const KORMathVector& translation = iLocation.GetVector();
  _position[0]->SetValue(translation.GetX());
  _position[1]->SetValue(translation.GetY());
  _position[2]->SetValue(translation.GetZ());
}

void KORVrcHeadEditDlg::GetValues(double& oIPD, KORVrcHeadType& oType,
                                  KORMathTransformation& oLocation) const {
  oIPD = _ipd->GetValue();
  oType = static_cast<KORVrcHeadType>(std::max(_type->GetSelect(), 0));
  KORMath3x3Matrix rotation;
  HPR(rotation, _heading->GetValue(), _pitch->GetValue(), _roll->GetValue());
  oLocation = KORMathTransformation(
      rotation, KORMathVector(_position[0]->GetValue(), _position[1]->GetValue(),
                              _position[2]->GetValue()));
}
