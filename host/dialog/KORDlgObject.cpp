#include "dialog/KORDlgObject.h"

#include "dialog/KORDlgNotifications.h"
#include "dialog/KORDlgWidgets.h"

const char* KORDlgKindName(KORDlgKind iKind) {
  switch (iKind) {
  case KORDlgKind::Dialog: return "dialog";
  case KORDlgKind::Frame: return "frame";
  case KORDlgKind::Label: return "label";
  case KORDlgKind::Editor: return "editor";
  case KORDlgKind::Combo: return "combo";
  case KORDlgKind::Spinner: return "spinner";
  case KORDlgKind::CheckButton: return "check";
  case KORDlgKind::PushButton: return "push";
  case KORDlgKind::TabContainer: return "tabcontainer";
  case KORDlgKind::TabPage: return "tabpage";
  case KORDlgKind::Separator: return "separator";
  case KORDlgKind::Notify: return "messagebox";
  case KORDlgKind::FileBox: return "filebox";
  }
  return "widget";
}

KORDlgObject::KORDlgObject(KORCommand* iFather, const KORString& iName, KORDlgKind iKind)
    : KORCommand(iFather, iName), _kind(iKind) {}

KORUnicodeString KORDlgObject::GetTitle() const {
  if (_title)
    return *_title;
  KORUnicodeString text;
  const KORDlgDialog* dialog = GetDialog();
  if (dialog && dialog->GetMessageCatalog().Size() > 0 &&
      SUCCEEDED(dialog->GetMessageCatalog().BuildMessage(GetName() + ".Title", text)))
    return text;
  return GetName();
}

KORDlgDialog* KORDlgObject::GetDialog() const {
  for (KORCommand* object = const_cast<KORDlgObject*>(this); object; object = object->GetFather())
    if (auto* dialog = dynamic_cast<KORDlgDialog*>(object))
      return dialog;
  return nullptr;
}

std::vector<KORDlgObject*> KORDlgObject::GetWidgets() const {
  std::vector<KORDlgObject*> widgets;
  for (KORCommand* child : GetChildren())
    if (auto* widget = dynamic_cast<KORDlgObject*>(child))
      widgets.push_back(widget);
  return widgets;
}

KORDlgObject* KORDlgObject::FindWidget(const KORString& iName) {
  if (GetName() == iName)
    return this;
  for (KORDlgObject* widget : GetWidgets())
    if (KORDlgObject* found = widget->FindWidget(iName))
      return found;
  return nullptr;
}

HRESULT KORDlgObject::Refuse(const KORString& iReason, KORString& oError) const {
  oError = GetName() + ": " + iReason;
  return E_FAIL;
}

HRESULT KORDlgObject::CheckUserAccess(KORString& oError) const {
  // Climb to the top window: every box on the way must be shown and
  // sensitive, and every tab page the one its container shows.
  for (const KORCommand* object = this; object; object = object->GetFather()) {
    const auto* widget = dynamic_cast<const KORDlgObject*>(object);
    if (!widget)
      break;
    const char* what = widget == this ? "is" : "is inside";
    if (!widget->GetVisibility())
      return Refuse(KORString(what) + " hidden " + KORDlgKindName(widget->GetKind()) + " \"" +
                        widget->GetName() + "\"",
                    oError);
    if (!widget->GetSensitivity())
      return Refuse(KORString(what) + " insensitive " + KORDlgKindName(widget->GetKind()) +
                        " \"" + widget->GetName() + "\"",
                    oError);
    const auto* page = dynamic_cast<const KORDlgTabPage*>(widget);
    const auto* tabs = page ? dynamic_cast<const KORDlgTabContainer*>(page->GetFather()) : nullptr;
    if (tabs && tabs->GetSelectedPage() != page && page != this)
      return Refuse("is on tab page \"" + page->GetName() + "\", which is not shown", oError);
    if (widget->IsWindow())
      break; // what is above a window does not hide it
  }
  return CheckNotBlocked(oError);
}

bool KORDlgObject::IsWindow() const {
  return _kind == KORDlgKind::Dialog || _kind == KORDlgKind::Notify || _kind == KORDlgKind::FileBox;
}

HRESULT KORDlgObject::CheckNotBlocked(KORString& oError) const {
  KORCommand* root = const_cast<KORDlgObject*>(this);
  while (root->GetFather())
    root = root->GetFather();
  for (KORDlgObject* window : KORDlgShownWindows(*root)) {
    if (window->GetKind() == KORDlgKind::Dialog)
      continue;
    bool inside = false;
    for (const KORCommand* object = this; object && !inside; object = object->GetFather())
      inside = object == window;
    if (!inside)
      return Refuse(KORString("cannot be reached while ") + KORDlgKindName(window->GetKind()) +
                        " \"" + window->GetName() + "\" waits for an answer",
                    oError);
  }
  return S_OK;
}

namespace {
void CollectShownWindows(KORCommand& iObject, std::vector<KORDlgObject*>& ioWindows) {
  auto* widget = dynamic_cast<KORDlgObject*>(&iObject);
  if (widget && !widget->GetVisibility())
    return;
  if (widget && widget->IsWindow())
    ioWindows.push_back(widget);
  for (KORCommand* child : iObject.GetChildren())
    CollectShownWindows(*child, ioWindows);
}
} // namespace

std::vector<KORDlgObject*> KORDlgShownWindows(KORCommand& iRoot) {
  std::vector<KORDlgObject*> windows;
  CollectShownWindows(iRoot, windows);
  return windows;
}

HRESULT KORDlgObject::UserNotify(KORCommandNotification& iNotification) {
  // Whether a receiver took the notification does not matter to the person.
  return SUCCEEDED(SendNotification(this, iNotification)) ? S_OK : E_FAIL;
}

KORDlgDialog::KORDlgDialog(KORCommand* iFather, const KORString& iName, int iButtons)
    : KORDlgObject(iFather, iName, KORDlgKind::Dialog), _buttons(iButtons) {
  SetVisibility(false);
}

void KORDlgDialog::SetButtonSensitivity(KORDlgButton iButton, bool iSensitive) {
  if (iSensitive)
    _insensitiveButtons &= ~iButton;
  else
    _insensitiveButtons |= iButton;
}

bool KORDlgDialog::GetButtonSensitivity(KORDlgButton iButton) const {
  return (_buttons & iButton) && !(_insensitiveButtons & iButton);
}

HRESULT KORDlgDialog::LoadMessageCatalog(const KORString& iCatalog) {
  return _catalog.LoadCatalog(iCatalog);
}

const char* KORDlgDialog::GetDiaOKNotification() {
  return KORDlgDiaOKNotification::ClassName;
}
const char* KORDlgDialog::GetDiaAPPLYNotification() {
  return KORDlgDiaAPPLYNotification::ClassName;
}
const char* KORDlgDialog::GetDiaCANCELNotification() {
  return KORDlgDiaCANCELNotification::ClassName;
}
const char* KORDlgDialog::GetWindCloseNotification() {
  return KORDlgWindCloseNotification::ClassName;
}

HRESULT KORDlgDialog::UserPress(KORDlgButton iButton, KORString& oError) {
  if (FAILED(CheckUserAccess(oError)))
    return E_FAIL;
  const char* label = iButton == KORDlgOK ? "OK" : iButton == KORDlgApply ? "Apply" : "Cancel";
  if (!(_buttons & iButton))
    return Refuse(KORString("has no ") + label + " button", oError);
  if (!GetButtonSensitivity(iButton))
    return Refuse(KORString("its ") + label + " button is insensitive", oError);
  if (iButton == KORDlgOK) {
    KORDlgDiaOKNotification notification;
    return UserNotify(notification);
  }
  if (iButton == KORDlgApply) {
    KORDlgDiaAPPLYNotification notification;
    return UserNotify(notification);
  }
  KORDlgDiaCANCELNotification notification;
  return UserNotify(notification);
}

HRESULT KORDlgDialog::UserClose(KORString& oError) {
  // The window's close button works while the window is shown, even when the
  // dialog's content is insensitive.
  if (!GetVisibility())
    return Refuse("is not shown", oError);
  if (FAILED(CheckNotBlocked(oError)))
    return E_FAIL;
  KORDlgWindCloseNotification notification;
  return UserNotify(notification);
}
