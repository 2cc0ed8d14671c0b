#pragma once
// What the command layer of one application frame is made of: the command
// manager (which also knows the current editor) and the command-header list.
// The frame owns one environment and makes it current for the time it runs
// (KORCommandEnvironment::Scope); headers made meanwhile join its list.
#include "command/KORCommandHeader.h"
#include "command/KORCommandManager.h"

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

  // The environment of the running frame, or null outside any Scope.
  static KORCommandEnvironment* Current();
  // Makes an environment current for its lifetime, restoring the previous one.
  class Scope {
  public:
    explicit Scope(KORCommandEnvironment& iEnvironment);
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    ~Scope();

  private:
    KORCommandEnvironment* _previous;
  };

private:
  // Declared before the headers so that the headers go first.
  KORCommandManager _manager;
  KORCommandHeaderList _headers;
  KORString _workshop;
  KORString _workbench;
};
