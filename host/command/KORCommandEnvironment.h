#pragma once
// What the command layer of one application frame is made of: the command
// manager (which also knows the current editor) and the command-header list.
// The frame owns one environment; while the frame is current (its frame
// scope), so is its environment, and headers made meanwhile join its list.
#include "command/KORCommandHeader.h"
#include "command/KORCommandManager.h"
#include "system/KORFrameServices.h"

class KORCommandEnvironment {
public:
  KORCommandEnvironment() = default;
  KORCommandEnvironment(const KORCommandEnvironment&) = delete;
  KORCommandEnvironment& operator=(const KORCommandEnvironment&) = delete;

  KORCommandManager& GetCommandManager() { return _manager; }
  KORCommandHeaderList& GetHeaderList() { return _headers; }
  KORFrmEditor* GetCurrentEditor() const { return _manager.GetEditor(); }
  void SetCurrentEditor(KORFrmEditor* iEditor) { _manager.SetEditor(iEditor); }

  // The workshop and workbench made current by the last workbench transition.
  void SetCurrentWorkbench(const KORString& iWorkshop, const KORString& iWorkbench) {
    _workshop = iWorkshop;
    _workbench = iWorkbench;
  }
  const KORString& GetCurrentWorkshop() const { return _workshop; }
  const KORString& GetCurrentWorkbench() const { return _workbench; }

  // The environment of the current frame, or null outside every frame.
  static KORCommandEnvironment* Current();

private:
  // Declared before the headers so that the headers go first.
  KORCommandManager _manager;
  KORCommandHeaderList _headers;
  KORString _workshop;
  KORString _workbench;
};

// What an application frame offers the command layer. The current frame
// services (KORGetFrameServices) answer it when they belong to a frame that
// runs commands, so that there is one current-frame pointer, not two.
class KORICommandFrame {
public:
  virtual KORCommandEnvironment& CommandEnvironment() = 0;

protected:
  ~KORICommandFrame() = default;
};
