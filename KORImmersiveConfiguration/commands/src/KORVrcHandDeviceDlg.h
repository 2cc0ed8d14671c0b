#pragma once
// The hand device's dialog: its type.
#include "dialog/KORDlgWidgets.h"
#include "interfaces/KORVrcEnums.h"

class KORVrcHandDeviceDlg : public KORDlgDialog {
public:
  explicit KORVrcHandDeviceDlg(KORCommand* iFather);
  void Build();

  KORVrcHandDeviceType GetType() const;
  void SetType(KORVrcHandDeviceType iType);

private:
  KORDlgCombo* _type = nullptr;
};
