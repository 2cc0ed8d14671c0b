#pragma once
// Creates or edits a button device: its name (unique among button devices),
// type, serial port and speed, daemon name, and whether it delivers the hand
// device's buttons. A change of type proposes a free daemon name for the
// type.
#include "KORVrcEditCmd.h"
#include "interfaces/KORIVrcButtonDevice.h"
#include "interfaces/KORIVrcHandDevice.h"

class KORVrcButtonDeviceDlg;

class KORVrcButtonDeviceCmd : public KORVrcEditCmd {
public:
  explicit KORVrcButtonDeviceCmd(KORIVrcButtonDevice* iDevice);

protected:
  KORDlgDialog* BuildDialog() override;
  void AddKindAgents() override;
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
  struct Values {
    KORUnicodeString name;
    KORVrcButtonDeviceType type = KORVrcButtonCustom;
    KORUnicodeString daemonName;
    int port = 1;
    int speed = 9600;
  };
  bool OnChangeType(void*);
  bool Write(const Values& iValues);
  KORIVrcHandDevice* GetHandDevice();
  bool IsButtonManager();

  KORIVrcButtonDevice_var _device;
  KORIVrcHandDevice_var _hand;
  KORVrcButtonDeviceDlg* _deviceDialog = nullptr;
  // The daemon names of the other button devices.
  KORListValKORUnicodeString _otherDaemonNames;
  Values _saved;
  bool _savedManager = false;
};
