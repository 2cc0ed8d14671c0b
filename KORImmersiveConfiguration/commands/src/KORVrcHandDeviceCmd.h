#pragma once
// Edits the type of the configuration's hand device. The hand device is made
// with the configuration, so the command never creates one; made without
// element, it edits the hand device of the editor's document. The dialog has
// no Apply: Cancel has nothing to give back.
#include "KORVrcEditCmd.h"
#include "interfaces/KORIVrcHandDevice.h"

class KORVrcHandDeviceDlg;

class KORVrcHandDeviceCmd : public KORVrcEditCmd {
public:
  explicit KORVrcHandDeviceCmd(KORIVrcHandDevice* iHandDevice);

protected:
  KORBaseUnknown_var RetrieveElement() override;
  KORDlgDialog* BuildDialog() override;
  void InitDialog() override;
  bool WriteValues() override;
  void SaveValues() override {}
  bool RestoreValues() override { return _hand != nullptr; }

private:
  KORIVrcHandDevice_var _hand;
  KORVrcHandDeviceDlg* _handDialog = nullptr;
};
