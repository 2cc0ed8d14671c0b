#include "KORVrcWorkbenchSession.h"

#include "command/KORIJournalNaming.h"
#include "dialog/KORDlgDump.h"
#include "dialog/KORDlgWidgets.h"
#include "dialog/KORKnowledgeParameter.h"
#include "featurestore/KORDocumentIO.h"
#include "interfaces/KORIVrcFactory.h"
#include "tree/KORNavigNode.h"
#include "visu/KORSceneWriters.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace {
constexpr const char* kWorkbenchName = "KORVrcWorkbench";

// The toolbars of the workbench in their order, each button with the header
// it starts and whether that header can be started now.
nlohmann::json ToolbarJSON(KORFrame& iFrame) {
  nlohmann::json buttons = nlohmann::json::array();
  KORCmdWorkbench* workbench = iFrame.GetWorkbench();
  if (!workbench)
    return buttons;
  for (KORCmdAccess* toolbar : workbench->GetChildren())
    for (KORCmdAccess* access : toolbar->GetChildren()) {
      auto* starter = dynamic_cast<KORCmdStarter*>(access);
      if (!starter)
        continue;
      KORCommandHeader* header =
          iFrame.CommandEnvironment().GetHeaderList().GetHeaderFromList(starter->GetCommand());
      buttons.push_back({{"id", starter->GetName()},
                         {"toolbar", toolbar->GetName()},
                         {"command", starter->GetCommand()},
                         {"available", header != nullptr && header->IsAvailable()}});
    }
  return buttons;
}

// A node as {"label", "element" (its journal name, null when journals cannot
// name it), "selected", "children"}. A node is selected when the tree selected
// it or when it shows iSelected, the element selected at the workbench (by
// `select`, from the tree or the 3D view).
nlohmann::json TreeJSON(const KORNavigInstance& iNode, KORIJournalNaming* iNaming,
                        const KORBaseUnknown* iSelected) {
  KORUnicodeString name;
  const bool named = iNaming != nullptr && iNode.object &&
                     SUCCEEDED(iNaming->GetJournalName(iNode.object, name));
  nlohmann::json children = nlohmann::json::array();
  for (const auto& child : iNode.children)
    children.push_back(TreeJSON(*child, iNaming, iSelected));
  const bool showsSelected = iSelected && KORQuery<KORBaseUnknown>(iNode.object).get() == iSelected;
  return {{"label", iNode.label},
          {"element", named ? nlohmann::json(name) : nlohmann::json()},
          {"selected", iNode.selected || showsSelected},
          {"children", std::move(children)}};
}
// The dump says what a widget shows; the page also needs what it offers: a
// combo's lines, a spinner's range and unit. The dump lists the widgets that
// are not windows, in their order.
void AddChoices(nlohmann::json& ioDumped, const KORDlgObject& iWidget) {
  if (const auto* combo = dynamic_cast<const KORDlgCombo*>(&iWidget)) {
    nlohmann::json lines = nlohmann::json::array();
    for (int line = 0; line < combo->GetLineCount(); ++line)
      lines.push_back(combo->GetLine(line));
    ioDumped["lines"] = std::move(lines);
  } else if (const auto* spinner = dynamic_cast<const KORDlgSpinner*>(&iWidget)) {
    // An open end of the range is left out (JSON has no infinity).
    if (std::isfinite(spinner->GetMin()))
      ioDumped["min"] = spinner->GetMin();
    if (std::isfinite(spinner->GetMax()))
      ioDumped["max"] = spinner->GetMax();
    ioDumped["step"] = spinner->GetStep();
    if (const KORKnowledgeParameter* parameter = spinner->GetParameter())
      ioDumped["unit"] = parameter->GetUnitSymbol();
  }
  if (!ioDumped.contains("widgets"))
    return;
  std::size_t index = 0;
  for (const KORDlgObject* widget : iWidget.GetWidgets())
    if (!widget->IsWindow() && index < ioDumped["widgets"].size())
      AddChoices(ioDumped["widgets"][index++], *widget);
}

nlohmann::json DialogsJSON(KORCommand& iRoot) {
  nlohmann::json windows = nlohmann::json::array();
  for (const KORDlgObject* window : KORDlgShownWindows(iRoot)) {
    nlohmann::json dumped = nlohmann::json::parse(KORDlgDumpJSON(*window, -1));
    AddChoices(dumped, *window);
    windows.push_back(std::move(dumped));
  }
  return windows;
}
} // namespace

KORVrcWorkbenchSession::KORVrcWorkbenchSession(KORFrame& iFrame,
                                               KORSmartPtr<KORDocument> iDocument,
                                               std::string iSavePath)
    : _frame(iFrame), _document(std::move(iDocument)), _savePath(std::move(iSavePath)),
      _driver(iFrame, _printed), _scene(iFrame) {
  _driver.SetMessageCallback(
      [this](const KORDriverMessage& iMessage) { _messages.push_back(iMessage); });
}

KORVrcWorkbenchSession::~KORVrcWorkbenchSession() {
  _frame.Commands().CancelActiveCommand();
  _frame.SpecTree().Detach();
}

HRESULT KORVrcWorkbenchSession::Start(std::string& oError) {
  auto factory = KORQuery<KORIVrcFactory>(_document);
  if (!factory || FAILED(factory->RetrieveVrcContainer(_container.Out()))) {
    oError = "the document holds no configuration container";
    return E_FAIL;
  }
  if (FAILED(_frame.SpecTree().Attach(_document, _container)) ||
      FAILED(_schematics.Attach(_document))) {
    oError = "the document's model events cannot be followed";
    return E_FAIL;
  }
  if (FAILED(_scene.Attach(_document, _container, oError)))
    return E_FAIL;
  // The page acts for a person, as a replayed journal does.
  _frame.SetReplayingUserInteraction(true);
  KORString error;
  if (_frame.LoadWorkbench(kWorkbenchName, error) != S_OK) {
    oError = error;
    return E_FAIL;
  }
  return S_OK;
}

HRESULT KORVrcWorkbenchSession::Perform(const std::string& iLine, std::string& oOutput,
                                        std::string& oError) {
  _messages.clear();
  _printed.str({});
  const HRESULT result = _driver.Perform(iLine, oError);
  oOutput = _printed.str();
  return result;
}

std::string KORVrcWorkbenchSession::GetStateJSON() {
  nlohmann::json messages = nlohmann::json::array();
  for (const KORDriverMessage& message : _messages)
    messages.push_back(
        {{"title", message.title}, {"text", message.text}, {"answer", message.answer}});
  const KORNavigInstance* root = _frame.SpecTree().GetRoot();
  nlohmann::json state = {
      {"toolbar", ToolbarJSON(_frame)},
      {"tree", root ? TreeJSON(*root, KORQuery<KORIJournalNaming>(_document).get(),
                               _frame.Editor().GetSelection().GetLastElement())
                    : nlohmann::json()},
      {"dialogs", DialogsJSON(*_frame.Commands().GetMainWindow())},
      {"messages", std::move(messages)},
      {"canSave", !_savePath.empty()}};
  return state.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

HRESULT KORVrcWorkbenchSession::GetSchematicSVG(std::string& oSvg, std::string& oError) {
  KORRep_var schematic = _schematics.GetRep(_container, KORVisDimension::TwoD);
  if (!schematic) {
    oError = "the configuration container has no schematic";
    return E_FAIL;
  }
  std::ostringstream bytes;
  if (FAILED(KORWriteSvg(*schematic, bytes, oError)))
    return E_FAIL;
  oSvg = bytes.str();
  return S_OK;
}

HRESULT KORVrcWorkbenchSession::Save(std::string& oPath, std::string& oError) {
  oPath = _savePath;
  if (_savePath.empty()) {
    oError = "there is no document file to save to: start korvrc serve with --output FILE";
    return E_FAIL;
  }
  return KORSaveDocument(*_document, _savePath, oError);
}
