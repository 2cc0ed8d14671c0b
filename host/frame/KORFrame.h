#pragma once
// The application frame: one object per front-end run (one korvrc run, one
// test, later one browser connection) that owns everything which would
// otherwise be global state: the current editor, the command layer (command
// manager and header list), the workbench loaded, the message-box log, the
// frame's message catalogs, the visualization manager, the specification tree,
// the window layout, the 3D manipulator and the compass, and the
// immersive-device service (its dispatcher delivers tracking events when the
// frame is idle).
//
// A front end makes a frame and activates it with a KORFrameScope, which also
// makes its visualization manager and layout the current ones; code then
// reaches it through KORFrame::Current(), and the command layer its
// environment through KORCommandEnvironment::Current(). Layers below the
// frame reach its services without naming it, through
// system/KORFrameServices.h. Two frames never share any of this; registries of
// loaded code (late types, the extension dictionary) stay process-wide.
//
// Each command started in the frame is one transaction of the editor's
// document (see KORCommandTransactions); Undo and Redo replay committed ones.
#include "command/KORCommandEnvironment.h"
#include "command/KORFrmEditor.h"
#include "command/KORWorkbenchAccess.h"
#include "dialog/KORMessageBox.h"
#include "frame/KORCommandTransactions.h"
#include "system/KORMsgCatalog.h"
#include "tree/KORSpecTree.h"
#include "visu/KORFrmWindow.h"
#include "vr/KORVRDeviceService.h"

#include <memory>

class KORFrame : public KORIFrameServices, public KORICommandFrame {
public:
  // The late type modules extend with their workbench factories
  // (KORIGenericFactory).
  static constexpr const char* LateTypeName = "KORApplicationFrame";

  KORFrame();
  KORFrame(const KORFrame&) = delete;
  KORFrame& operator=(const KORFrame&) = delete;
  ~KORFrame();

  // The frame of the innermost active scope on this thread, or null.
  static KORFrame* Current();

  KORFrmEditor& Editor() { return _editor; }
  KORMessageBoxLog& MessageBoxes() { return _messageBoxes; }
  KORCommandManager& Commands() { return _commands.GetCommandManager(); }
  KORVisManager& VisManager() { return _visManager; }
  KORSpecTree& SpecTree() { return _specTree; }
  KORFrmLayout& Layout() { return _layout; }
  // Each drag is one undoable step of the editor's document.
  KOR3DManipulator& Manipulator() { return _manipulator; }
  KOR3DCompass& Compass() { return _compass; }
  KORVRDeviceService& DeviceService() { return _deviceService; }

  // What the frame does when the user-interface thread is idle: delivers the
  // device events that tracking sources posted since the last time (within
  // the frame's scope). Returns how many events it took.
  std::size_t OnIdle();

  KORIUserMessages& UserMessages() override { return _messageBoxes; }
  KORIMsgCatalogs& MsgCatalogs() override { return _msgCatalogs; }
  KORCommandEnvironment& CommandEnvironment() override { return _commands; }

  bool IsReplayingUserInteraction() const override { return _replaying; }
  void SetReplayingUserInteraction(bool iReplaying) { _replaying = iReplaying; }

  // Asks the workbench factories of the loaded modules for iName; the one
  // that supports it makes the workbench, whose headers join this frame's
  // list and whose access tree the frame keeps. S_FALSE with oError when no
  // factory offers it; E_FAIL with oError when it makes nothing usable.
  HRESULT LoadWorkbench(const KORString& iName, KORString& oError);
  // The access tree of the loaded workbench, or null.
  KORCmdWorkbench* GetWorkbench() const { return _workbench.get(); }

  // Undoes or redoes one committed command of the editor's document. A
  // running command is cancelled first, as pressing another toolbar button
  // would. E_FAIL when there is nothing to replay or no document.
  HRESULT Undo();
  HRESULT Redo();

private:
  HRESULT Replay(HRESULT (KORITransactions::*iReplay)());

  KORFrmEditor _editor;
  KORMessageBoxLog _messageBoxes;
  KORMsgCatalogCache _msgCatalogs;
  // After the editor, so that they let go of its document first; the
  // layout's windows end their viewpoints before the manager goes; before
  // the command layer, so that commands ending with the frame still find them.
  KORVisManager _visManager;
  KORSpecTree _specTree;
  KORFrmLayout _layout;
  // Before the command layer: a command ending with the frame still
  // unsubscribes from the dispatcher.
  KORVRDeviceService _deviceService;
  // Before the command layer: commands cancelled as the frame ends still
  // report to it.
  KORCommandTransactions _transactions;
  KORCommandEnvironment _commands;
  // After the command layer, whose manager the drags' observer cancels
  // commands in; the manipulator ends a drag still going on before its
  // observer goes.
  KORDragTransactions _dragTransactions;
  KOR3DManipulator _manipulator;
  KOR3DCompass _compass;
  std::unique_ptr<KORCmdWorkbench> _workbench;
  KORBaseUnknown_var _application;
  bool _replaying = false;
};

// Makes a frame current for its lifetime and gives the previous one back when
// it ends. Scopes nest; each must end on the thread that began it, innermost
// first, and the frame must outlive its scope.
class KORFrameScope {
public:
  explicit KORFrameScope(KORFrame& iFrame);
  ~KORFrameScope();
  KORFrameScope(const KORFrameScope&) = delete;
  KORFrameScope& operator=(const KORFrameScope&) = delete;

private:
  KORIFrameServices* _previous;
  KORVisManager::Scope _visManagerScope;
  KORFrmLayout::Scope _layoutScope;
  KORVRDeviceService::Scope _deviceServiceScope;
};
