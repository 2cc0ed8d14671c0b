#include "KORVrcButtonDeviceDlg.h"

#include "KORVrcControllerTrace.h"
#include "KORVrcDlgTools.h"
#include "dialog/KORDlgNotifications.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kPortCount = 15;
}

KORVrcButtonDeviceDlg::KORVrcButtonDeviceDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcButtonDeviceDlg", KORDlgOK | KORDlgCancel | KORDlgApply) {}

void KORVrcButtonDeviceDlg::Build() {
  if (FAILED(LoadMessageCatalog("KORVrcButtonDeviceDlg")))
    SetTitle("KORVrcButtonDeviceDlg");
  auto* frame = new KORDlgFrame(this, "Frame001");
  new KORDlgLabel(frame, "Label002");
  _name = new KORDlgEditor(frame, "NameEditor");
  new KORDlgLabel(frame, "Label003");
  _type = new KORDlgCombo(frame, "TypeCombo");
  KORVrcFillCombo(*_type, "KORVrcButtonDeviceType", KORVrcButtonDeviceTypeLabels);
  AddAnalyseNotificationCB(_type, KORDlgComboSelectNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) {
                             KORVrcChangeTypeButtonDevice changed;
                             if (FAILED(SendNotification(GetFather(), changed)))
                               KORVrcControllerTrace().Write(
                                   "KORVrcButtonDeviceDlg: type change not delivered");
                           });
  new KORDlgLabel(frame, "Label004");
  _port = new KORDlgCombo(frame, "PortCombo");
  for (int port = 1; port <= kPortCount; ++port)
    _port->SetLine("COM " + std::to_string(port));
  new KORDlgLabel(frame, "Label009");
  _speed = KORVrcMakeSpeedSpinner(frame, 115200, 12);
  _daemonLabel = new KORDlgLabel(frame, "DaemonNameLabel");
  _daemonName = new KORDlgEditor(frame, "DaemonNameEditor");
  _manager = new KORDlgCheckButton(frame, "CheckButtonManager");
}

void KORVrcButtonDeviceDlg::SetValues(const KORUnicodeString& iName, KORVrcButtonDeviceType iType,
                                      const KORUnicodeString& iDaemonName, int iPort, int iSpeed,
                                      bool iManager) {
  _name->SetText(iName);
  _type->SetSelect(iType);
  _daemonName->SetText(iDaemonName);
  _port->SetSelect(iPort - 1);
  _speed->SetValue(iSpeed);
  _manager->SetState(iManager);
}

KORUnicodeString KORVrcButtonDeviceDlg::GetButtonDeviceName() const {
  return _name->GetText();
}

KORVrcButtonDeviceType KORVrcButtonDeviceDlg::GetButtonDeviceType() const {
  return static_cast<KORVrcButtonDeviceType>(std::max(_type->GetSelect(), 0));
}

KORUnicodeString KORVrcButtonDeviceDlg::GetDaemonName() const {
  return _daemonName->GetText();
}

void KORVrcButtonDeviceDlg::SetDaemonName(const KORUnicodeString& iName) {
  _daemonName->SetText(iName);
}

int KORVrcButtonDeviceDlg::GetPort() const {
  return std::max(_port->GetSelect(), 0) + 1;
}

int KORVrcButtonDeviceDlg::GetSpeed() const {
  return static_cast<int>(std::lround(_speed->GetValue()));
}

bool KORVrcButtonDeviceDlg::IsButtonManagerEnabled() const {
  return _manager->GetState();
}

void KORVrcButtonDeviceDlg::SetButtonManager(bool iManager) {
  _manager->SetState(iManager);
}

void KORVrcButtonDeviceDlg::ShowDaemonName(bool iShow) {
  _daemonName->SetVisibility(iShow);
  _daemonLabel->SetVisibility(iShow);
  _port->SetSensitivity(!iShow);
  _speed->SetSensitivity(!iShow);
}
