#include "command/KORFrmEditor.h"

#include <cstring>

KORFrmEditor::KORFrmEditor(KORBaseUnknown* iDocument) : _document(iDocument) {}

void KORFrmEditor::SetUIActiveObject(KORBaseUnknown* iObject) {
  _uiActive = KORBaseUnknown_var(iObject);
  _callbacks.RunMatching([](const Callback&) { return true; },
                         [this](Callback& iCallback) { iCallback(*this); });
}

KORCallbackHandle KORFrmEditor::AddCallback(const char* iEvent, Callback iCallback) {
  if (!iEvent || std::strcmp(iEvent, UIACTIVEOBJECT_CHANGECOMPLETED) != 0 || !iCallback)
    return 0;
  return _callbacks.Add(std::move(iCallback));
}

void KORFrmEditor::RemoveCallback(KORCallbackHandle iHandle) {
  _callbacks.Remove(iHandle);
}
