#pragma once
// The current editor of a frame: the document the user works on (and, once
// there is a user interface, its UI-active object).
#include "objectmodel/KORSmartPtr.h"

class KOREditor {
public:
  // The active document's identity, or null; the editor keeps one reference.
  KORBaseUnknown* GetActiveDocument() const { return _activeDocument.get(); }
  void SetActiveDocument(KORBaseUnknown* iDocument) {
    _activeDocument = KORQuery<KORBaseUnknown>(iDocument);
  }

private:
  KORSmartPtr<KORBaseUnknown> _activeDocument;
};
