#pragma once
// One document at the workbench as the browser sees it: every action is one
// journal line performed by the frame's driver (docs/journal.md), and the page
// is drawn from what the frame shows: the toolbar with each button's
// availability, the specification tree, the open dialogs as their JSON dump
// and the message boxes the last action showed. Used from the frame's thread
// only.
#include "KORVrcExportFolder.h"
#include "KORVrcLiveTracking.h"
#include "KORVrcPageScene.h"
#include "featurestore/KORDocument.h"
#include "featurestore/KORIContainer.h"
#include "frame/KORDriver.h"
#include "visu/KORVisManager.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// The versions of the tree and of the dialogs that a page holds; 0 when it
// holds none.
struct KORVrcHeldVersions {
  std::uint64_t tree = 0;
  std::uint64_t dialogs = 0;
};

// The page's state in parts: what every answer holds, and the tree and the
// dialogs with their versions, each written once per version, so that the
// answer for a page holds only what that page lacks. Any thread.
struct KORVrcStateParts {
  std::string rest; // the state without the tree and the dialogs: a JSON object
  std::uint64_t treeVersion = 0;
  std::shared_ptr<const std::string> tree;
  std::uint64_t dialogsVersion = 0;
  std::shared_ptr<const std::string> dialogs;

  // The state for a page that holds iHeld: the tree and the dialogs left
  // out where it holds their current version.
  std::string Compose(KORVrcHeldVersions iHeld) const;
};

class KORVrcWorkbenchSession {
public:
  // iFrame is current on this thread and holds iDocument in its editor. Save
  // writes to iSavePath; an empty one refuses to save.
  KORVrcWorkbenchSession(KORFrame& iFrame, KORSmartPtr<KORDocument> iDocument,
                         std::string iSavePath);
  ~KORVrcWorkbenchSession();
  KORVrcWorkbenchSession(const KORVrcWorkbenchSession&) = delete;
  KORVrcWorkbenchSession& operator=(const KORVrcWorkbenchSession&) = delete;

  // Loads the workbench and shows the document's tree and schematic.
  HRESULT Start(std::string& oError);

  // Performs one journal line; oOutput is what it printed (`show`, `compass`).
  // A refused line changes nothing and says why in oError.
  HRESULT Perform(const std::string& iLine, std::string& oOutput, std::string& oError);

  // {"toolbar": [...], "tree": {...}, "selection": [[0, 2, 1], ...],
  //  "dialogs": [...], "messages": [...], "canSave": bool, ...,
  //  "treeVersion", "dialogsVersion"} (docs/serve.md).
  // The tree and the dialogs are left out when iHeld says the page holds
  // their current version: on a large installation the tree is most of the
  // state, and most actions do not change it.
  std::string GetStateJSON(KORVrcHeldVersions iHeld = {});
  // The same in parts. Each call's "stateVersion" is higher than the last,
  // so that a page draws no state over a newer one.
  KORVrcStateParts GetStateParts();

  HRESULT GetSchematicSVG(std::string& oSvg, std::string& oError);

  // Saves the document to the save path, replacing what was there.
  HRESULT Save(std::string& oPath, std::string& oError);

  // The 3D view's scene, followed from Start() on.
  KORVrcPageScene& GetScene() { return _scene; }
  // The folder the page may write into. Without one, every answer to a file
  // or directory box and the export dialog's OK are refused.
  void SetExportFolder(KORVrcExportFolder iFolder) { _exportFolder = std::move(iFolder); }
  // Whether the document differs from what was opened or last saved.
  // Undoing back to that state makes it clean again.
  bool HasUnsavedChanges() const;

  // Where the live tracking test started from the page takes its data.
  void SetTrackingSettings(KORVrcTrackingSettings iSettings);
  // How long the server may wait before OnIdle: short while a live tracking
  // test runs, so that no placement waits.
  std::chrono::milliseconds GetIdlePeriod() const;
  // Work between actions: delivers tracking events. Returns the tracking
  // message to push to the page (KORVrcLiveTracking::Pump), or empty.
  std::string OnIdle();

private:
  // The line of iWords as the driver gets it: a path the page names is resolved into the
  // export folder (and refused outside it).
  HRESULT ConfinePaths(const std::vector<KORString>& iWords, std::string& ioLine,
                       std::string& oError);
  // The export dialog, when it opens, starts in the export folder.
  void OpenExportDialogInFolder();
  // Follows the document's history after the line iVerb; iUndoable and
  // iRedoable are the history's lengths before it.
  void FollowHistory(const KORString& iVerb, int iUndoable, int iRedoable);

  KORFrame& _frame;
  KORSmartPtr<KORDocument> _document;
  std::string _savePath;
  std::ostringstream _printed;
  KORDriver _driver;
  KORVisManager _schematics;
  KORIContainer_var _container;
  std::vector<KORDriverMessage> _messages; // shown by the last action
  KORVrcPageScene _scene;
  KORVrcExportFolder _exportFolder;
  std::unique_ptr<KORVrcLiveTracking> _tracking;
  // Counts the document's changes, so that the schematic, slow to write for
  // a large installation, is written once per version of the model.
  std::uint64_t _modelVersion = 0;
  int _storeListener = 0;
  std::uint64_t _schematicVersion = 0;
  std::string _schematic;
  bool _exportDialogShown = false;
  // A part of the state as last read, its text and a version that moves
  // when it changes.
  struct VersionedPart {
    nlohmann::json value;
    std::shared_ptr<const std::string> text;
    std::uint64_t version = 0;
    void Keep(nlohmann::json&& iNow);
  };
  // The tree shows the model: it is read again only after a change of it.
  // The selection is sent apart, as paths into it.
  VersionedPart _tree;
  bool _treeMayHaveChanged = true;
  VersionedPart _dialogs;
  std::uint64_t _stateVersion = 0;
  // Where the saved state lies in the undo history, and whether a change
  // made after undoing past it has made it unreachable.
  int _savedAt = 0;
  bool _savedReachable = true;
};
