#pragma once
// The application frame: one object per front-end run (one korvrc run, one
// test, later one browser connection) that owns everything which would
// otherwise be global state: the current editor, the message-box log, the
// frame's message catalogs, the visualization manager, the specification tree
// and the window layout (and, as they come, the header list and the
// immersive-device dispatcher).
//
// A front end makes a frame and activates it with a KORFrameScope, which also
// makes its visualization manager and layout the current ones; code then
// reaches it through KORFrame::Current(). Layers below the frame reach its
// services without naming it, through system/KORFrameServices.h. Two frames
// never share any of this; registries of loaded code (late types, the
// extension dictionary) stay process-wide.
#include "command/KORFrmEditor.h"
#include "dialog/KORMessageBox.h"
#include "system/KORMsgCatalog.h"
#include "tree/KORSpecTree.h"
#include "visu/KORFrmWindow.h"

class KORFrame : public KORIFrameServices {
public:
  KORFrame() = default;
  KORFrame(const KORFrame&) = delete;
  KORFrame& operator=(const KORFrame&) = delete;
  ~KORFrame() = default;

  // The frame of the innermost active scope on this thread, or null.
  static KORFrame* Current();

  KORFrmEditor& Editor() { return _editor; }
  KORMessageBoxLog& MessageBoxes() { return _messageBoxes; }
  KORVisManager& VisManager() { return _visManager; }
  KORSpecTree& SpecTree() { return _specTree; }
  KORFrmLayout& Layout() { return _layout; }

  KORIUserMessages& UserMessages() override { return _messageBoxes; }
  KORIMsgCatalogs& MsgCatalogs() override { return _msgCatalogs; }

private:
  KORFrmEditor _editor;
  KORMessageBoxLog _messageBoxes;
  KORMsgCatalogCache _msgCatalogs;
  // After the editor, so that they let go of its document first; the
  // layout's windows end their viewpoints before the manager goes.
  KORVisManager _visManager;
  KORSpecTree _specTree;
  KORFrmLayout _layout;
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
};
