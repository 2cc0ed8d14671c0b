#include "KORVrcConfigDlg.h"

namespace {
constexpr const char* kNoWindow = "(none)";
}

KORVrcConfigDlg::KORVrcConfigDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcConfigDlg", KORDlgOK | KORDlgCancel | KORDlgApply) {}

void KORVrcConfigDlg::Build() {
  // Captions come from the catalog; a missing one shows the widget's name.
  if (FAILED(LoadMessageCatalog("KORVrcConfigDlg")))
    SetTitle("KORVrcConfigDlg");
  new KORDlgLabel(this, "Name");
  _nameEditor = new KORDlgEditor(this, "NameEditor");
  new KORDlgLabel(this, "Label003");
  _mainWindowEditor = new KORDlgEditor(this, "MainWindowEditor", KORDlgEditor::ReadOnly);
  auto* warning = new KORDlgFrame(this, "Frame004");
  new KORDlgLabel(warning, "Icon");
  new KORDlgLabel(warning, "WarningText");
  new KORDlgLabel(this, "Space");
  SetWindowName({});
}

KORUnicodeString KORVrcConfigDlg::GetConfigName() const {
  return _nameEditor ? _nameEditor->GetText() : KORUnicodeString();
}

void KORVrcConfigDlg::SetConfigName(const KORUnicodeString& iName) {
  if (_nameEditor)
    _nameEditor->SetText(iName);
}

KORUnicodeString KORVrcConfigDlg::GetWindowName() const {
  return _mainWindowEditor ? _mainWindowEditor->GetText() : KORUnicodeString();
}

void KORVrcConfigDlg::SetWindowName(const KORUnicodeString& iName) {
  if (_mainWindowEditor)
    _mainWindowEditor->SetText(iName.empty() ? KORUnicodeString(kNoWindow) : iName);
}
