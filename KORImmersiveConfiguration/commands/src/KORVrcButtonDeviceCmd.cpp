#include "KORVrcButtonDeviceCmd.h"

#include "KORVrcButtonDeviceDlg.h"
#include "KORVrcControllerTrace.h"
#include "KORVrcTools.h"
#include "interfaces/KORIVrcDevices.h"

#include <array>
#include <memory>

namespace {
constexpr KORVrcEditAgentIds kAgentIds{"AgentButtonDeviceEditorOK", "AgentButtonDeviceEditorCANCEL",
                                       "AgentButtonDeviceEditorAPPLY",
                                       "AgentButtonDeviceEditorCLOSE"};
// The first word of a proposed daemon name, by type.
constexpr std::array<const char*, 4> kDaemonBaseNames{"CUSTOM", "Mike", "NeoWand", "SpaceStick"};

const char* DaemonBaseName(KORVrcButtonDeviceType iType) {
  return iType >= 0 && iType < static_cast<int>(kDaemonBaseNames.size()) ? kDaemonBaseNames[iType]
                                                                          : kDaemonBaseNames[0];
}
} // namespace

KORVrcButtonDeviceCmd::KORVrcButtonDeviceCmd(KORIVrcButtonDevice* iDevice)
    : KORVrcEditCmd("KORVrcButtonDeviceCmd", iDevice, kAgentIds), _device(iDevice) {}

KORDlgDialog* KORVrcButtonDeviceCmd::BuildDialog() {
  _deviceDialog = new KORVrcButtonDeviceDlg(this);
  _deviceDialog->Build();
  return _deviceDialog;
}

void KORVrcButtonDeviceCmd::AddKindAgents() {
  AddNotificationAgent("AgentButtonDeviceEditorTYPE", KORVrcChangeTypeButtonDevice::ClassName,
                       Action(&KORVrcButtonDeviceCmd::OnChangeType));
}

KORIVrcHandDevice* KORVrcButtonDeviceCmd::GetHandDevice() {
  KORIVrcFactory* factory = GetFactory();
  if (!_hand && factory && FAILED(factory->RetrieveHandDevice(_hand.Out())))
    _hand = nullptr;
  return _hand.get();
}

bool KORVrcButtonDeviceCmd::IsButtonManager() {
  KORIVrcHandDevice* hand = GetHandDevice();
  return hand && _device && hand->IsButtonManager(_device.get());
}

void KORVrcButtonDeviceCmd::GetNamesOfKind(KORListValKORUnicodeString& oNames) {
  KORIVrcDevices_var devices;
  KORListValKORBaseUnknown_var* list = nullptr;
  KORIVrcFactory* factory = GetFactory();
  if (!factory || FAILED(factory->RetrieveDevices(devices.Out())))
    return;
  if (FAILED(devices->GetButtonDevices(&list)))
    return;
  const std::unique_ptr<KORListValKORBaseUnknown_var> owned(list);
  for (const KORBaseUnknown_var& element : *owned) {
    const KORIVrcButtonDevice_var device = KORQuery<KORIVrcButtonDevice>(element);
    KORUnicodeString name;
    if (device && SUCCEEDED(device->GetName(name)))
      oNames.Append(name);
    // Keeping its own daemon name is no clash.
    const bool own = CompareInterfacePointers(device.get(), _device.get()) == 1;
    if (device && !own && SUCCEEDED(device->GetDaemonName(name)))
      _otherDaemonNames.Append(name);
  }
}

KORUnicodeString KORVrcButtonDeviceCmd::GetDialogName() {
  return _deviceDialog->GetButtonDeviceName();
}

void KORVrcButtonDeviceCmd::SaveValues() {
  if (FAILED(_device->GetName(_saved.name)))
    _saved.name.clear();
  if (FAILED(_device->GetDaemonName(_saved.daemonName)))
    _saved.daemonName.clear();
  if (FAILED(_device->GetType(_saved.type)))
    _saved.type = KORVrcButtonCustom;
  if (FAILED(_device->GetPort(_saved.port)))
    _saved.port = 1;
  if (FAILED(_device->GetSpeed(_saved.speed)))
    _saved.speed = 9600;
  _savedManager = IsButtonManager();
}

void KORVrcButtonDeviceCmd::InitDialog() {
  if (IsCreating()) {
    _saved.name = ComposeDefaultName("ButtonDevice", 1);
    _saved.daemonName = ComposeName(DaemonBaseName(KORVrcButtonCustom), _otherDaemonNames, 1);
  }
  _deviceDialog->SetValues(_saved.name, _saved.type, _saved.daemonName, _saved.port, _saved.speed,
                           _savedManager);
  _deviceDialog->ShowDaemonName(_saved.type == KORVrcButtonCustom);
}

bool KORVrcButtonDeviceCmd::OnChangeType(void*) {
  const KORVrcButtonDeviceType type = _deviceDialog->GetButtonDeviceType();
  _deviceDialog->ShowDaemonName(type == KORVrcButtonCustom);
  _deviceDialog->SetDaemonName(ComposeName(DaemonBaseName(type), _otherDaemonNames, 1));
  return true;
}

bool KORVrcButtonDeviceCmd::Write(const Values& iValues) {
  if (!_device)
    return false;
  const HRESULT results[] = {_device->SetName(iValues.name),
                             _device->SetDaemonName(iValues.daemonName),
                             _device->SetType(iValues.type), _device->SetPort(iValues.port),
                             _device->SetSpeed(iValues.speed)};
  for (HRESULT result : results)
    if (FAILED(result))
      return false;
  return true;
}

bool KORVrcButtonDeviceCmd::WriteValues() {
  KORIVrcHandDevice* hand = GetHandDevice();
  if (!hand)
    return false;
  const bool written = Write({_deviceDialog->GetButtonDeviceName(),
                              _deviceDialog->GetButtonDeviceType(), _deviceDialog->GetDaemonName(),
                              _deviceDialog->GetPort(), _deviceDialog->GetSpeed()});
  HRESULT role = S_OK;
  if (_deviceDialog->IsButtonManagerEnabled())
    role = hand->SetButtonManager(_device.get());
  else if (IsButtonManager())
    role = hand->SetButtonManager(static_cast<KORIVrcButtonDevice*>(nullptr));
  return SUCCEEDED(role) && written;
}

bool KORVrcButtonDeviceCmd::CheckValues() {
  const KORUnicodeString daemon = _deviceDialog->GetDaemonName();
  return AcceptsText(daemon, KORVrcDaemonNameProblem(daemon));
}

KORBaseUnknown_var KORVrcButtonDeviceCmd::CreateElement() {
  if (FAILED(GetFactory()->CreateButtonDevice(_deviceDialog->GetButtonDeviceType(),
                                              _deviceDialog->GetButtonDeviceName(),
                                              _device.Out())))
    return {};
  // The factory stores the name only; the device exists now whatever follows.
  if (!WriteValues())
    KORVrcControllerTrace().Write("KORVrcButtonDeviceCmd: the new device's values were not all written");
  return KORBaseUnknown_var(_device.get());
}

bool KORVrcButtonDeviceCmd::RestoreValues() {
  // The button-manager role stays as the dialog left it.
  return Write(_saved);
}

extern "C" KORCommand* fctCreateKORVrcButtonDeviceCmd(void* iDevice) {
  return new KORVrcButtonDeviceCmd(static_cast<KORIVrcButtonDevice*>(iDevice));
}
