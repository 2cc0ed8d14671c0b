#include "KORVrcWorkbenchSession.h"

#include "command/KORIJournalNaming.h"
#include "dialog/KORDlgDump.h"
#include "dialog/KORDlgWidgets.h"
#include "dialog/KORKnowledgeParameter.h"
#include "featurestore/KORDocumentIO.h"
#include "frame/KORJournal.h"
#include "interfaces/KORIVrcFactory.h"
#include "system/KOREnvironment.h"
#include "system/KORQuotedText.h"
#include "tree/KORNavigNode.h"
#include "visu/KORSceneWriters.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace {
constexpr const char* kWorkbenchName = "KORVrcWorkbench";
// The export dialog and its directory box.
constexpr const char* kExportDialog = "KORVrcGenerateXMLFileDlg";
constexpr const char* kDirectoryEditor = "DirectoryEdt";

KORDlgObject* ShownWindow(KORFrame& iFrame, const char* iName) {
  for (KORDlgObject* window : KORDlgShownWindows(*iFrame.Commands().GetMainWindow()))
    if (window->GetName() == iName)
      return window;
  return nullptr;
}

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
// name it), "children"}. The selection goes apart (SelectionJSON): selecting
// must not send the whole tree again.
nlohmann::json TreeJSON(const KORNavigInstance& iNode, KORIJournalNaming* iNaming) {
  KORUnicodeString name;
  const bool named =
      iNaming != nullptr && iNode.object && SUCCEEDED(iNaming->GetJournalName(iNode.object, name));
  nlohmann::json children = nlohmann::json::array();
  for (const auto& child : iNode.children)
    children.push_back(TreeJSON(*child, iNaming));
  return {{"label", iNode.label},
          {"element", named ? nlohmann::json(name) : nlohmann::json()},
          {"children", std::move(children)}};
}

// Appends to ioPaths the path (child indices from the root) of each selected
// node under iNode: those the tree selected and those that show iSelected,
// the element selected at the workbench (by `select`, from the tree or the
// 3D view).
void CollectSelection(const KORNavigInstance& iNode, const KORBaseUnknown* iSelected,
                      std::vector<int>& ioPath, nlohmann::json& ioPaths) {
  if (iNode.selected || (iSelected && KORQuery<KORBaseUnknown>(iNode.object).get() == iSelected))
    ioPaths.push_back(ioPath);
  for (std::size_t index = 0; index < iNode.children.size(); ++index) {
    ioPath.push_back(static_cast<int>(index));
    CollectSelection(*iNode.children[index], iSelected, ioPath, ioPaths);
    ioPath.pop_back();
  }
}

nlohmann::json SelectionJSON(const KORNavigInstance* iRoot, const KORBaseUnknown* iSelected) {
  nlohmann::json paths = nlohmann::json::array();
  std::vector<int> path;
  if (iRoot)
    CollectSelection(*iRoot, iSelected, path, paths);
  return paths;
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

// The fields that take a path are marked with the folder their answers
// must lie in, so that the page offers names inside it.
void MarkFolderFields(nlohmann::json& ioDumped, const std::string& iFolder) {
  if (ioDumped.value("name", "") == kDirectoryEditor || ioDumped.value("kind", "") == "filebox")
    ioDumped["folder"] = iFolder;
  if (ioDumped.contains("widgets"))
    for (nlohmann::json& child : ioDumped["widgets"])
      MarkFolderFields(child, iFolder);
}

nlohmann::json DialogsJSON(KORCommand& iRoot, const std::string& iFolder) {
  nlohmann::json windows = nlohmann::json::array();
  for (const KORDlgObject* window : KORDlgShownWindows(iRoot)) {
    nlohmann::json dumped = nlohmann::json::parse(KORDlgDumpJSON(*window, -1));
    AddChoices(dumped, *window);
    MarkFolderFields(dumped, iFolder);
    windows.push_back(std::move(dumped));
  }
  return windows;
}
} // namespace

KORVrcWorkbenchSession::KORVrcWorkbenchSession(KORFrame& iFrame, KORSmartPtr<KORDocument> iDocument,
                                               std::string iSavePath)
    : _frame(iFrame), _document(std::move(iDocument)), _savePath(std::move(iSavePath)),
      _driver(iFrame, _printed), _scene(iFrame),
      _tracking(std::make_unique<KORVrcLiveTracking>(iFrame, _document, KORVrcTrackingSettings())),
      _savedAt(_document->Store().UndoCount()) {
  _driver.SetMessageCallback(
      [this](const KORDriverMessage& iMessage) { _messages.push_back(iMessage); });
  _storeListener = _document->AddStoreListener([this](const KORStoreChange&) {
    ++_modelVersion;
    _treeMayHaveChanged = true;
  });
}

KORVrcWorkbenchSession::~KORVrcWorkbenchSession() {
  _frame.Commands().CancelActiveCommand();
  _tracking.reset();
  _document->RemoveStoreListener(_storeListener);
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
  std::string ignored; // no test runs yet: this only reads the mapping
  return _tracking->Follow(ignored);
}

HRESULT KORVrcWorkbenchSession::Perform(const std::string& iLine, std::string& oOutput,
                                        std::string& oError) {
  _messages.clear();
  _printed.str({});
  std::string line = iLine;
  std::vector<KORString> words;
  KORString malformed; // the driver says what is wrong with the line
  const bool split = SUCCEEDED(KORSplitJournalLine(iLine, words, malformed)) && !words.empty();
  if (split && FAILED(ConfinePaths(words, line, oError)))
    return E_FAIL;
  KORFeatureStore& store = _document->Store();
  const int undoable = store.UndoCount(), redoable = store.RedoCount();
  const HRESULT result = _driver.Perform(line, oError);
  oOutput = _printed.str();
  if (split && SUCCEEDED(result))
    FollowHistory(words[0], undoable, redoable);
  OpenExportDialogInFolder();
  std::string trackingError;
  if (FAILED(_tracking->Follow(trackingError)))
    _messages.push_back({"Live tracking", trackingError, "ok"});
  return result;
}

void KORVrcWorkbenchSession::SetTrackingSettings(KORVrcTrackingSettings iSettings) {
  _tracking = std::make_unique<KORVrcLiveTracking>(_frame, _document, std::move(iSettings));
}

std::chrono::milliseconds KORVrcWorkbenchSession::GetIdlePeriod() const {
  return std::chrono::milliseconds(_tracking->IsRunning() ? 2 : 100);
}

std::string KORVrcWorkbenchSession::OnIdle() {
  return _tracking->Pump();
}

HRESULT KORVrcWorkbenchSession::ConfinePaths(const std::vector<KORString>& iWords,
                                             std::string& ioLine, std::string& oError) {
  std::string inside;
  if (iWords.size() == 2 && iWords[0] == "press" && iWords[1] == "OK")
    if (KORDlgObject* dialog = ShownWindow(_frame, kExportDialog))
      if (KORDlgObject* directory = dialog->FindWidget(kDirectoryEditor)) {
        // Where the export would write, as the dialog resolves its box.
        KORUnicodeString physical;
        if (FAILED(KORGetRealPath(directory->GetValueText(), physical)))
          physical = directory->GetValueText();
        return _exportFolder.Resolve(physical, inside, oError);
      }
  const bool pathGiven =
      (iWords.size() == 2 && iWords[0] == "file") ||
      (iWords.size() == 3 && iWords[0] == "set" && iWords[1] == kDirectoryEditor);
  if (!pathGiven)
    return S_OK;
  if (FAILED(_exportFolder.Resolve(iWords.back(), inside, oError)))
    return E_FAIL;
  KORUnicodeString line;
  for (std::size_t word = 0; word + 1 < iWords.size(); ++word)
    line += iWords[word] + ' ';
  KORAppendQuoted(line, inside);
  ioLine = line;
  return S_OK;
}

void KORVrcWorkbenchSession::OpenExportDialogInFolder() {
  const bool shown = ShownWindow(_frame, kExportDialog) != nullptr;
  const bool opened = shown && !_exportDialogShown;
  _exportDialogShown = shown;
  if (!opened || !_exportFolder.IsOpen())
    return;
  KORUnicodeString line = std::string("set ") + kDirectoryEditor + ' ';
  KORAppendQuoted(line, _exportFolder.GetPath());
  KORString error;
  if (FAILED(_driver.Perform(line, error)))
    _messages.push_back({"Export folder", error, "ok"});
}

void KORVrcWorkbenchSession::FollowHistory(const KORString& iVerb, int iUndoable, int iRedoable) {
  KORFeatureStore& store = _document->Store();
  const bool changed = store.UndoCount() != iUndoable || store.RedoCount() != iRedoable;
  if (!changed || iVerb == "undo" || iVerb == "redo")
    return;
  // A new change drops the redo history, and a saved state that lay in it;
  // a change that could not be recorded drops the whole history.
  if (_savedAt > iUndoable || store.UndoCount() < iUndoable)
    _savedReachable = false;
}

bool KORVrcWorkbenchSession::HasUnsavedChanges() const {
  return !_savedReachable || _document->Store().UndoCount() != _savedAt;
}

void KORVrcWorkbenchSession::VersionedPart::Keep(nlohmann::json&& iNow) {
  if (text && iNow == value)
    return;
  text = std::make_shared<const std::string>(
      iNow.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
  value = std::move(iNow);
  ++version;
}

KORVrcStateParts KORVrcWorkbenchSession::GetStateParts() {
  const KORNavigInstance* root = _frame.SpecTree().GetRoot();
  if (_treeMayHaveChanged) {
    _tree.Keep(root ? TreeJSON(*root, KORQuery<KORIJournalNaming>(_document).get())
                    : nlohmann::json());
    _treeMayHaveChanged = false;
  }
  _dialogs.Keep(DialogsJSON(*_frame.Commands().GetMainWindow(), _exportFolder.GetPath()));
  nlohmann::json selection = SelectionJSON(root, _frame.Editor().GetSelection().GetLastElement());
  nlohmann::json messages = nlohmann::json::array();
  for (const KORDriverMessage& message : _messages)
    messages.push_back(
        {{"title", message.title}, {"text", message.text}, {"answer", message.answer}});
  const nlohmann::json rest = {
      {"toolbar", ToolbarJSON(_frame)},    {"messages", std::move(messages)},
      {"selection", std::move(selection)}, {"canSave", !_savePath.empty()},
      {"unsaved", HasUnsavedChanges()},    {"exportFolder", _exportFolder.GetPath()},
      {"modelVersion", _modelVersion},     {"stateVersion", ++_stateVersion},
      {"treeVersion", _tree.version},      {"dialogsVersion", _dialogs.version}};
  return {rest.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), _tree.version,
          _tree.text, _dialogs.version, _dialogs.text};
}

std::string KORVrcWorkbenchSession::GetStateJSON(KORVrcHeldVersions iHeld) {
  return GetStateParts().Compose(iHeld);
}

std::string KORVrcStateParts::Compose(KORVrcHeldVersions iHeld) const {
  std::string state = rest;
  state.pop_back(); // the closing brace of the object
  if (tree && iHeld.tree != treeVersion)
    state += ",\"tree\":" + *tree;
  if (dialogs && iHeld.dialogs != dialogsVersion)
    state += ",\"dialogs\":" + *dialogs;
  return state + '}';
}

HRESULT KORVrcWorkbenchSession::GetSchematicSVG(std::string& oSvg, std::string& oError) {
  if (!_schematic.empty() && _schematicVersion == _modelVersion) {
    oSvg = _schematic;
    return S_OK;
  }
  KORRep_var schematic = _schematics.GetRep(_container, KORVisDimension::TwoD);
  if (!schematic) {
    oError = "the configuration container has no schematic";
    return E_FAIL;
  }
  std::ostringstream bytes;
  if (FAILED(KORWriteSvg(*schematic, bytes, oError)))
    return E_FAIL;
  _schematic = bytes.str();
  _schematicVersion = _modelVersion;
  oSvg = _schematic;
  return S_OK;
}

HRESULT KORVrcWorkbenchSession::Save(std::string& oPath, std::string& oError) {
  oPath = _savePath;
  if (_savePath.empty()) {
    oError = "there is no document file to save to: start korvrc serve with --output FILE";
    return E_FAIL;
  }
  if (FAILED(KORSaveDocument(*_document, _savePath, oError)))
    return E_FAIL;
  _savedAt = _document->Store().UndoCount();
  _savedReachable = true;
  return S_OK;
}
