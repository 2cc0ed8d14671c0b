#include "command/KORWorkbenchAccess.h"

#include <utility>

KORCmdAccess::~KORCmdAccess() {
  // Siblings are destroyed one after the other, not recursively, so that a
  // long toolbar does not nest destructors.
  KORCmdAccess* next = std::exchange(_next, nullptr);
  while (next) {
    KORCmdAccess* following = std::exchange(next->_next, nullptr);
    delete next;
    next = following;
  }
  delete _child;
}

void KORCmdAccess::Replace(KORCmdAccess*& ioSlot, KORCmdAccess* iAccess) {
  if (ioSlot == iAccess)
    return;
  delete ioSlot;
  ioSlot = iAccess;
}

void KORCmdAccess::SetChild(KORCmdAccess* iAccess) {
  Replace(_child, iAccess);
}

void KORCmdAccess::SetNext(KORCmdAccess* iAccess) {
  Replace(_next, iAccess);
}

KORCmdStarter* KORChainStarters(const std::vector<KORCmdButton>& iButtons, int iPersistence) {
  KORCmdStarter* first = nullptr;
  KORCmdStarter* previous = nullptr;
  for (const KORCmdButton& button : iButtons) {
    auto* starter = new KORCmdStarter(button.name, iPersistence);
    starter->SetCommand(button.headerId, 0);
    if (previous)
      previous->SetNext(starter);
    else
      first = starter;
    previous = starter;
  }
  return first;
}

std::vector<KORCmdAccess*> KORCmdAccess::GetChildren() const {
  std::vector<KORCmdAccess*> children;
  for (KORCmdAccess* child = _child; child; child = child->_next)
    children.push_back(child);
  return children;
}

KORCmdAccess* KORCmdAccess::Find(const KORString& iName) {
  if (_name == iName)
    return this;
  for (KORCmdAccess* child : GetChildren())
    if (KORCmdAccess* found = child->Find(iName))
      return found;
  return nullptr;
}
