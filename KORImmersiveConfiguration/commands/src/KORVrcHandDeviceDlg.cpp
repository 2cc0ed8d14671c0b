#include "KORVrcHandDeviceDlg.h"

#include "KORVrcDlgTools.h"

#include <algorithm>

KORVrcHandDeviceDlg::KORVrcHandDeviceDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcHandDeviceDlg", KORDlgOK | KORDlgCancel) {}

void KORVrcHandDeviceDlg::Build() {
  if (FAILED(LoadMessageCatalog("KORVrcHandDeviceDlg")))
    SetTitle("KORVrcHandDeviceDlg");
  new KORDlgLabel(this, "Label002");
  _type = new KORDlgCombo(this, "TypeCombo");
  KORVrcFillCombo(*_type, "KORVrcHandDeviceType", KORVrcHandDeviceTypeLabels);
}

KORVrcHandDeviceType KORVrcHandDeviceDlg::GetType() const {
  return static_cast<KORVrcHandDeviceType>(std::max(_type->GetSelect(), 0));
}

void KORVrcHandDeviceDlg::SetType(KORVrcHandDeviceType iType) {
  _type->SetSelect(iType);
}
