#pragma once
// The edit action of an element: what a double-click on it in the tree or a
// viewer does. Modules attach an extension deriving from KORExtIEdit to their
// elements' late types.
#include "command/KORCommand.h"
#include "objectmodel/KORExtension.h"
#include "objectmodel/KORPathElement.h"

class KORIEdit : public KORBaseUnknown {
  KOR_INTERFACE(KORIEdit, KORBaseUnknown)
public:
  // Edits the element at the end of iPath: starts its editing command (or
  // returns a command for the caller to start; null when it started one
  // itself or has none).
  virtual KORCommand* Activate(KORPathElement* iPath) = 0;
  // The editor shown inside a panel instead of a dialog, or null.
  virtual KORCommand* GetInPanelEditor(KORPathElement* iPath) = 0;
  // The element's item in a panel, or null.
  virtual KORBaseUnknown* GetPanelItem(KORPathElement* iPath) = 0;
};

// The base of edit extensions: no panel editor and no panel item.
template <class... Interfaces> class KORExtIEdit : public KORExtensionOf<Interfaces...> {
public:
  KORCommand* GetInPanelEditor(KORPathElement*) override { return nullptr; }
  KORBaseUnknown* GetPanelItem(KORPathElement*) override { return nullptr; }
};
