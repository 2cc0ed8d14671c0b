#include "KORVrcIGCmd.h"

#include "KORVrcControllerTrace.h"
#include "KORVrcDlgTools.h"
#include "KORVrcIGDlg.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORVrcDisplayName.h"

namespace {
constexpr KORVrcEditAgentIds kAgentIds{"KORVrcIGDlgOK", "KORVrcIGDlgCANCEL", /*apply=*/nullptr,
                                       "KORVrcIGDlgCLOSE"};
constexpr const char* kEndTrace = "} End of cmd::CreateIG()";
} // namespace

KORVrcIGCmd::KORVrcIGCmd(KORIVrcIG* iIG) : KORVrcEditCmd("KORVrcIGCmd", iIG, kAgentIds), _ig(iIG) {}

KORDlgDialog* KORVrcIGCmd::BuildDialog() {
  _igDialog = new KORVrcIGDlg(this);
  _igDialog->Build();
  return _igDialog;
}

void KORVrcIGCmd::GetNamesOfKind(KORListValKORUnicodeString& oNames) {
  KORIVrcGraphicResources_var resources;
  KORListValKORBaseUnknown_var* igs = nullptr;
  KORIVrcFactory* factory = GetFactory();
  if (factory && SUCCEEDED(factory->RetrieveGraphicResources(resources.Out())) &&
      SUCCEEDED(resources->GetIGs(&igs)))
    KORVrcAppendNames<KORIVrcIG>(igs, oNames);
}

KORUnicodeString KORVrcIGCmd::GetDialogName() {
  return _igDialog->GetIGName();
}

void KORVrcIGCmd::SaveValues() {
  if (FAILED(_ig->GetName(_savedName)))
    _savedName.clear();
  if (FAILED(_ig->GetPixelWidth(&_savedWidth)))
    _savedWidth = 1280;
  if (FAILED(_ig->GetPixelHeight(&_savedHeight)))
    _savedHeight = 1024;
}

void KORVrcIGCmd::InitDialog() {
  // The first free screen of display 0: :0.0, :0.1, ...
  _igDialog->SetIGName(IsCreating() ? ComposeDefaultName(":0.", 0) : _savedName);
  _igDialog->SetIGWidthHeight(_savedWidth, _savedHeight);
}

bool KORVrcIGCmd::CheckValues() {
  const KORUnicodeString name = _igDialog->GetIGName();
  if (KORVrcIsDisplayName(name))
    return true;
  ShowRefusal("NotADisplayName",
              "is not a display name: write a host (optional), a colon, the display number, a "
              "point and the screen number, as in visu2:0.1 or :0.0.",
              name);
  return false;
}

KORBaseUnknown_var KORVrcIGCmd::CreateElement() {
  TraceMethod("CreateIG()");
  int width = 0, height = 0;
  _igDialog->GetIGWidthHeight(width, height);
  if (FAILED(GetFactory()->CreateIG(_igDialog->GetIGName(), width, height, _ig.Out()))) {
    KORVrcControllerTrace().Write("Creation of IG has FAILED");
    return {};
  }
  KORVrcControllerTrace().Write(kEndTrace);
  return KORBaseUnknown_var(_ig.get());
}

bool KORVrcIGCmd::Write(const KORUnicodeString& iName, int iWidth, int iHeight) {
  if (!_ig)
    return false;
  const bool named = SUCCEEDED(_ig->SetName(iName));
  const bool sized = SUCCEEDED(_ig->SetPixelHeight(iHeight)) && SUCCEEDED(_ig->SetPixelWidth(iWidth));
  return named && sized;
}

bool KORVrcIGCmd::WriteValues() {
  TraceMethod("CreateIG()");
  int width = 0, height = 0;
  _igDialog->GetIGWidthHeight(width, height);
  const bool written = Write(_igDialog->GetIGName(), width, height);
  KORVrcControllerTrace().Write(kEndTrace);
  return written;
}

bool KORVrcIGCmd::RestoreValues() {
  return Write(_savedName, _savedWidth, _savedHeight);
}

extern "C" KORCommand* fctCreateKORVrcIGCmd(void* iIG) {
  return new KORVrcIGCmd(static_cast<KORIVrcIG*>(iIG));
}
