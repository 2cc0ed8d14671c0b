#include "KORVrcHandDeviceCmd.h"

#include "KORVrcControllerTrace.h"
#include "KORVrcHandDeviceDlg.h"

namespace {
constexpr KORVrcEditAgentIds kAgentIds{"KORVrcHandDeviceDlgOK", "KORVrcHandDeviceDlgCANCEL",
                                       /*apply=*/nullptr, "KORVrcHandDeviceDlgCLOSE"};
} // namespace

KORVrcHandDeviceCmd::KORVrcHandDeviceCmd(KORIVrcHandDevice* iHandDevice)
    : KORVrcEditCmd("KORVrcHandDeviceCmd", iHandDevice, kAgentIds), _hand(iHandDevice) {}

KORBaseUnknown_var KORVrcHandDeviceCmd::RetrieveElement() {
  return RetrieveFromFactory(&KORIVrcFactory::RetrieveHandDevice, _hand);
}

KORDlgDialog* KORVrcHandDeviceCmd::BuildDialog() {
  _handDialog = new KORVrcHandDeviceDlg(this);
  _handDialog->Build();
  return _handDialog;
}

void KORVrcHandDeviceCmd::InitDialog() {
  KORVrcControllerTrace().Write("KORVrcHandDeviceCmd::InitValues");
  KORVrcHandDeviceType type = KORVrcHandCustom;
  if (_hand && FAILED(_hand->GetType(&type)))
    type = KORVrcHandCustom;
  _handDialog->SetType(type);
}

bool KORVrcHandDeviceCmd::WriteValues() {
  return _hand && SUCCEEDED(_hand->SetType(_handDialog->GetType()));
}

extern "C" KORCommand* fctCreateKORVrcHandDeviceCmd(void* iHandDevice) {
  return new KORVrcHandDeviceCmd(static_cast<KORIVrcHandDevice*>(iHandDevice));
}
