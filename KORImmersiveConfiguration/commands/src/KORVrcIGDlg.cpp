#include "KORVrcIGDlg.h"

#include "KORVrcDlgTools.h"

#include <cmath>

KORVrcIGDlg::KORVrcIGDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcIGDlg", KORDlgOK | KORDlgCancel) {}

void KORVrcIGDlg::Build() {
  if (FAILED(LoadMessageCatalog("KORVrcIGDlg")))
    SetTitle("KORVrcIGDlg");
  new KORDlgLabel(this, "NameLabel");
  _name = new KORDlgEditor(this, "EditorDisplay");
  // One pixel a step.
  new KORDlgLabel(this, "PixelWidth");
  _width = KORVrcMakeSpinner(this, "SpinnerWidth", 800, 10000, 9200, "%.0f");
  new KORDlgLabel(this, "PixelHeight");
  _height = KORVrcMakeSpinner(this, "SpinnerHeight", 600, 10000, 9400, "%.0f");
}

KORUnicodeString KORVrcIGDlg::GetIGName() const {
  return _name->GetText();
}

void KORVrcIGDlg::SetIGName(const KORUnicodeString& iName) {
  _name->SetText(iName);
}

void KORVrcIGDlg::GetIGWidthHeight(int& oWidth, int& oHeight) const {
  oWidth = static_cast<int>(std::lround(_width->GetValue()));
  oHeight = static_cast<int>(std::lround(_height->GetValue()));
}

void KORVrcIGDlg::SetIGWidthHeight(int iWidth, int iHeight) {
  _width->SetValue(iWidth);
  _height->SetValue(iHeight);
}
