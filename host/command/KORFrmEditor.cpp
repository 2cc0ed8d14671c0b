#include "command/KORFrmEditor.h"

#include <algorithm>
#include <cstring>

KORFrmEditor::KORFrmEditor(KORBaseUnknown* iDocument) : _document(iDocument) {}

void KORFrmEditor::SetUIActiveObject(KORBaseUnknown* iObject) {
  _uiActive = KORBaseUnknown_var(iObject);
  std::vector<KORCallbackHandle> handles;
  for (const auto& [handle, callback] : _callbacks)
    handles.push_back(handle);
  for (KORCallbackHandle handle : handles) {
    auto found = std::find_if(_callbacks.begin(), _callbacks.end(),
                              [handle](const auto& entry) { return entry.first == handle; });
    if (found == _callbacks.end())
      continue;
    Callback callback = found->second; // survives its own removal
    callback(*this);
  }
}

KORCallbackHandle KORFrmEditor::AddCallback(const char* iEvent, Callback iCallback) {
  if (!iEvent || std::strcmp(iEvent, UIACTIVEOBJECT_CHANGECOMPLETED) != 0 || !iCallback)
    return 0;
  const KORCallbackHandle handle = _nextHandle++;
  _callbacks.emplace_back(handle, std::move(iCallback));
  return handle;
}

void KORFrmEditor::RemoveCallback(KORCallbackHandle iHandle) {
  std::erase_if(_callbacks, [iHandle](const auto& entry) { return entry.first == iHandle; });
}
