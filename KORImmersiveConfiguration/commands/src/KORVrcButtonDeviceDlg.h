#pragma once
// The button device's dialog: name, type, serial port and speed, daemon name,
// and whether the device delivers the hand device's buttons. A change of type
// tells the command with KORVrcChangeTypeButtonDevice.
#include "command/KORCommandNotification.h"
#include "dialog/KORDlgWidgets.h"
#include "interfaces/KORVrcEnums.h"

KOR_DECLARE_NOTIFICATION(KORVrcChangeTypeButtonDevice, KORCommandNotification)

class KORVrcButtonDeviceDlg : public KORDlgDialog {
public:
  explicit KORVrcButtonDeviceDlg(KORCommand* iFather);
  void Build();

  // iPort from 1; shown as the combo's line iPort - 1.
  void SetValues(const KORUnicodeString& iName, KORVrcButtonDeviceType iType,
                 const KORUnicodeString& iDaemonName, int iPort, int iSpeed, bool iManager);
  KORUnicodeString GetButtonDeviceName() const;
  KORVrcButtonDeviceType GetButtonDeviceType() const;
  KORUnicodeString GetDaemonName() const;
  void SetDaemonName(const KORUnicodeString& iName);
  int GetPort() const;
  int GetSpeed() const;
  bool IsButtonManagerEnabled() const;
  void SetButtonManager(bool iManager);
  // The daemon name is typed only for custom devices, which have no port or
  // speed of their own; the others are served on a serial port.
  void ShowDaemonName(bool iShow);

private:
  KORDlgEditor* _name = nullptr;
  KORDlgCombo* _type = nullptr;
  KORDlgCombo* _port = nullptr;
  KORDlgSpinner* _speed = nullptr;
  KORDlgLabel* _daemonLabel = nullptr;
  KORDlgEditor* _daemonName = nullptr;
  KORDlgCheckButton* _manager = nullptr;
};
