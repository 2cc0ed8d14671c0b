#pragma once
// Workbench access trees: what a workbench shows, as a tree of named accesses.
// A workbench holds containers (toolbars), which hold starters (buttons), each
// naming the command header it starts. An access has a first child and a next
// sibling, and owns both: the tree belongs to whoever holds its root.
#include "system/KORString.h"

#include <memory>
#include <vector>

class KORCmdAccess {
public:
  KORCmdAccess(const KORString& iName, int iPersistence) : _name(iName), _persistence(iPersistence) {}
  KORCmdAccess(const KORCmdAccess&) = delete;
  KORCmdAccess& operator=(const KORCmdAccess&) = delete;
  virtual ~KORCmdAccess();

  const KORString& GetName() const { return _name; }
  int GetPersistence() const { return _persistence; }

  // Take iAccess (made with new; setting the one already there again changes
  // nothing, any other one there before is destroyed).
  void SetChild(KORCmdAccess* iAccess);
  void SetNext(KORCmdAccess* iAccess);
  KORCmdAccess* GetChild() const { return _child; }
  KORCmdAccess* GetNext() const { return _next; }
  // The child and its next siblings, in order.
  std::vector<KORCmdAccess*> GetChildren() const;
  // The first access named iName in this subtree (this one included), or null.
  KORCmdAccess* Find(const KORString& iName);

private:
  static void Replace(KORCmdAccess*& ioSlot, KORCmdAccess* iAccess);
  KORString _name;
  int _persistence;
  KORCmdAccess* _child = nullptr;
  KORCmdAccess* _next = nullptr;
};

class KORCmdWorkbench : public KORCmdAccess {
public:
  using KORCmdAccess::KORCmdAccess;
};

// A toolbar or menu.
class KORCmdContainer : public KORCmdAccess {
public:
  using KORCmdAccess::KORCmdAccess;
  // How the toolbar shows: visible or not, and where (a position code).
  void SetToolbarView(int iVisibility, int iPosition) {
    _visibility = iVisibility;
    _position = iPosition;
  }
  int GetToolbarVisibility() const { return _visibility; }
  int GetToolbarPosition() const { return _position; }

private:
  int _visibility = 0;
  int _position = 0;
};

// A button that starts the command header it names.
class KORCmdStarter : public KORCmdAccess {
public:
  using KORCmdAccess::KORCmdAccess;
  void SetCommand(const KORString& iHeaderId, int iMode) {
    _headerId = iHeaderId;
    _mode = iMode;
  }
  const KORString& GetCommand() const { return _headerId; }
  int GetCommandMode() const { return _mode; }

private:
  KORString _headerId;
  int _mode = 0;
};

// A toolbar button: its name and the command header it starts.
struct KORCmdButton {
  KORString name;
  KORString headerId;
};
// One starter per button, each the next of the one before, in order; returns
// the first, which owns the others (null for no button). A toolbar takes it
// as its child.
KORCmdStarter* KORChainStarters(const std::vector<KORCmdButton>& iButtons, int iPersistence);
