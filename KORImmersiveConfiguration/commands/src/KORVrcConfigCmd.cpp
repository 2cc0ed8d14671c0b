#include "KORVrcConfigCmd.h"

#include "KORVrcConfigDlg.h"
#include "KORVrcControllerTrace.h"
#include "interfaces/KORIVrcGraphicResources.h"

namespace {
constexpr const char* kAgentId = "KORVrcConfigDlgId";

KORUnicodeString NameOf(KORIVrcWindow* iWindow) {
  KORUnicodeString name;
  if (iWindow && FAILED(iWindow->GetName(name)))
    name.clear();
  return name;
}
} // namespace

KORVrcConfigCmd::KORVrcConfigCmd(KORIVrcConfig* iConfig)
    : KORVrcEditCmd("KORVrcConfigCmd", iConfig, {kAgentId, kAgentId, kAgentId, kAgentId}),
      _config(iConfig) {}

KORBaseUnknown_var KORVrcConfigCmd::RetrieveElement() {
  return RetrieveFromFactory(&KORIVrcFactory::RetrieveConfig, _config);
}

KORDlgDialog* KORVrcConfigCmd::BuildDialog() {
  if (!_config)
    return nullptr;
  _configDialog = new KORVrcConfigDlg(this);
  _configDialog->Build();
  return _configDialog;
}

void KORVrcConfigCmd::AddKindAgents() {
  AddPickAgent("GetWindow", KORIVrcWindow::IID);
}

KORIVrcGraphicResources_var KORVrcConfigCmd::GetGraphicResources() const {
  KORIVrcGraphicResources_var resources;
  if (_config && FAILED(_config->GetGraphicResources(resources.Out())))
    resources = nullptr;
  return resources;
}

void KORVrcConfigCmd::SaveValues() {
  if (FAILED(_config->GetName(_savedName)))
    _savedName.clear();
  KORIVrcGraphicResources_var resources = GetGraphicResources();
  if (!resources || FAILED(resources->GetMainWindow(_savedMainWindow.Out())))
    _savedMainWindow = nullptr;
}

void KORVrcConfigCmd::InitDialog() {
  KORVrcControllerTrace().Write("KORVrcConfigCmd::InitDefaultValues");
  _configDialog->SetConfigName(_savedName);
  _chosenMainWindow = _savedMainWindow;
  _configDialog->SetWindowName(NameOf(_chosenMainWindow.get()));
}

void KORVrcConfigCmd::OnPicked(KORBaseUnknown* iElement) {
  KORIVrcWindow_var window = KORQuery<KORIVrcWindow>(iElement);
  if (!window)
    return;
  _chosenMainWindow = window;
  _configDialog->SetWindowName(NameOf(window.get()));
}

KORUnicodeString KORVrcConfigCmd::GetDialogName() {
  return _configDialog ? _configDialog->GetConfigName() : KORUnicodeString();
}

bool KORVrcConfigCmd::WriteValues() {
  if (!_config || !_configDialog)
    return false;
  bool written = SUCCEEDED(_config->SetName(_configDialog->GetConfigName()));
  if (_chosenMainWindow) {
    KORIVrcGraphicResources_var resources = GetGraphicResources();
    written = resources && SUCCEEDED(resources->SetMainWindow(_chosenMainWindow.get())) && written;
  }
  return written;
}

bool KORVrcConfigCmd::RestoreValues() {
  if (!_config)
    return false;
  KORIVrcGraphicResources_var resources = GetGraphicResources();
  const bool windowRestored =
      resources && SUCCEEDED(resources->SetMainWindow(_savedMainWindow.get()));
  return SUCCEEDED(_config->SetName(_savedName)) && windowRestored;
}

extern "C" KORCommand* fctCreateKORVrcConfigCmd(void* iConfig) {
  return new KORVrcConfigCmd(static_cast<KORIVrcConfig*>(iConfig));
}
