#pragma once
// An editor: the window in which a document is edited. It holds its document,
// the UI-active object (the object being worked on, whose document commands
// look at) and the current selection (a path). Setting the UI-active object
// runs, once the change is complete, the callbacks subscribed to
// UIACTIVEOBJECT_CHANGECOMPLETED.
#include "command/KORCommand.h"
#include "command/KORPathElement.h"

class KORFrmEditor {
public:
  static constexpr const char* UIACTIVEOBJECT_CHANGECOMPLETED = "UIACTIVEOBJECT_CHANGECOMPLETED";
  using Callback = std::function<void(KORFrmEditor& iEditor)>;

  // Takes one reference on iDocument (may be null).
  explicit KORFrmEditor(KORBaseUnknown* iDocument = nullptr);
  KORFrmEditor(const KORFrmEditor&) = delete;
  KORFrmEditor& operator=(const KORFrmEditor&) = delete;

  KORBaseUnknown* GetDocument() const { return _document.get(); }
  // Edits another document (null: none); the editor keeps one reference.
  void SetDocument(KORBaseUnknown* iDocument) { _document = KORBaseUnknown_var(iDocument); }
  KORBaseUnknown* GetUIActiveObject() const { return _uiActive.get(); }
  // Makes iObject UI-active and runs the completed-change callbacks.
  void SetUIActiveObject(KORBaseUnknown* iObject);

  const KORPathElement& GetSelection() const { return _selection; }
  void SetSelection(const KORPathElement& iPath) { _selection = iPath; }
  void ClearSelection() { _selection = KORPathElement(); }

  // Subscribes iCallback to iEvent; 0 for an unknown event. The handle
  // removes it; removal while callbacks run is safe.
  KORCallbackHandle AddCallback(const char* iEvent, Callback iCallback);
  void RemoveCallback(KORCallbackHandle iHandle);
  int CallbackCount() const { return _callbacks.Size(); }

private:
  KORBaseUnknown_var _document;
  KORBaseUnknown_var _uiActive;
  KORPathElement _selection;
  KORCallbackList<Callback> _callbacks;
};
