#include "KORVrcCmdHeader.h"

#include "command/KORCommandEnvironment.h"
#include "command/KORFrmEditor.h"
#include "command/KORPrdPersistency.h"

KORVrcCmdHeader::KORVrcCmdHeader(const KORString& iHeaderId, const KORString& iLoadName,
                                 const KORString& iClassName, void* iArgument,
                                 const KORString& iResourceFile, int iState)
    : KORCommandHeader(iHeaderId, iLoadName, iClassName, iArgument, iState),
      _resourceFile(iResourceFile) {
  AddUIChangeCB();
  ManageAvailability();
}

KORVrcCmdHeader::KORVrcCmdHeader(const KORVrcCmdHeader& iOther) : KORCommandHeader(iOther) {
  AddUIChangeCB();
  ManageAvailability();
}

KORVrcCmdHeader::~KORVrcCmdHeader() {
  CleanCB();
}

KORCommandHeader* KORVrcCmdHeader::Clone() {
  return new KORVrcCmdHeader(*this);
}

KORString KORVrcCmdHeader::GetResourceFile(int) {
  return _resourceFile;
}

KORString KORVrcCmdHeader::GetFW() {
  return "KORImmersiveConfiguration";
}

void KORVrcCmdHeader::ManageAvailability() {
  bool keptElsewhere = false;
  KORBaseUnknown_var document;
  int mode = 0;
  if (SUCCEEDED(KORPrdSafeSaveServices::GetDocFromUIActiveObject(GetEditor(), document.Out())) &&
      SUCCEEDED(KORPrdSafeSaveServices::GetPersistencyModeFromDoc(document.get(), mode)) &&
      mode != 0)
    keptElsewhere = true;
  // A host of 0 is this machine, whatever the mode says.
  int host = 0;
  if (SUCCEEDED(KORPrdSafeSaveServices::GetPersistencyHostFromDoc(document.get(), host)) &&
      host == 0)
    keptElsewhere = false;
  if (keptElsewhere)
    BecomeUnavailable();
  else
    BecomeAvailable();
}

void KORVrcCmdHeader::AddUIChangeCB() {
  KORFrmEditor* editor = GetEditor();
  if (!editor || _editorCallback)
    return;
  _editorCallback = editor->AddCallback(KORFrmEditor::UIACTIVEOBJECT_CHANGECOMPLETED,
                                        [this](KORFrmEditor&) { UIActiveChangedCB(); });
}

void KORVrcCmdHeader::UIActiveChangedCB() {
  const KORCommandEnvironment* environment = KORCommandEnvironment::Current();
  if (!environment || environment->GetCurrentEditor() != GetEditor())
    return;
  ManageAvailability();
}

void KORVrcCmdHeader::CleanCB() {
  if (_editorCallback && GetEditor())
    GetEditor()->RemoveCallback(_editorCallback);
  _editorCallback = 0;
}
