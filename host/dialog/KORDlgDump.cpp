#include "dialog/KORDlgDump.h"

#include "dialog/KORDlgWidgets.h"

#include <nlohmann/json.hpp>

namespace {
nlohmann::json ValueOf(const KORDlgObject& iWidget) {
  switch (iWidget.GetKind()) {
  case KORDlgKind::Spinner: return static_cast<const KORDlgSpinner&>(iWidget).GetValue();
  case KORDlgKind::CheckButton: return static_cast<const KORDlgCheckButton&>(iWidget).GetState();
  case KORDlgKind::Combo:
  case KORDlgKind::TabContainer:
  case KORDlgKind::Editor:
  case KORDlgKind::Label:
  case KORDlgKind::Notify:
  case KORDlgKind::FileBox: {
    const KORUnicodeString text = iWidget.GetValueText();
    const bool noSelection = iWidget.GetKind() == KORDlgKind::Combo && text.empty();
    return noSelection ? nlohmann::json() : nlohmann::json(text);
  }
  default: return nullptr;
  }
}

nlohmann::json Dump(const KORDlgObject& iWidget) {
  nlohmann::json node = {{"name", iWidget.GetName()},
                         {"kind", KORDlgKindName(iWidget.GetKind())},
                         {"title", iWidget.GetTitle()},
                         {"value", ValueOf(iWidget)},
                         {"visible", iWidget.GetVisibility()},
                         {"sensitive", iWidget.GetSensitivity()}};
  if (const auto* dialog = dynamic_cast<const KORDlgDialog*>(&iWidget)) {
    nlohmann::json buttons = nlohmann::json::array();
    for (auto [button, label] : {std::pair{KORDlgOK, "OK"}, std::pair{KORDlgApply, "Apply"},
                                 std::pair{KORDlgCancel, "Cancel"}})
      if (dialog->GetButtons() & button)
        buttons.push_back({{"name", label}, {"sensitive", dialog->GetButtonSensitivity(button)}});
    node["buttons"] = buttons;
  }
  nlohmann::json children = nlohmann::json::array();
  for (const KORDlgObject* widget : iWidget.GetWidgets())
    if (!widget->IsWindow())
      children.push_back(Dump(*widget));
  if (!children.empty())
    node["widgets"] = children;
  return node;
}
} // namespace

KORUnicodeString KORDlgDumpJSON(const KORDlgObject& iRoot, int iIndent) {
  return Dump(iRoot).dump(iIndent);
}

KORUnicodeString KORDlgDumpShownWindowsJSON(KORCommand& iRoot, int iIndent) {
  nlohmann::json windows = nlohmann::json::array();
  for (const KORDlgObject* window : KORDlgShownWindows(iRoot))
    windows.push_back(Dump(*window));
  return nlohmann::json{{"windows", windows}}.dump(iIndent);
}
