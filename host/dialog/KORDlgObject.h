#pragma once
// The dialog toolkit as a headless model: a dialog box is a tree of named
// widgets, each with a kind, a value, a title, visibility and sensitivity.
// Programs set values freely (SetValue, SetSelect, ... send nothing); a
// person acts through the User... operations, which refuse what a person
// could not do (the widget or a box above it hidden or insensitive, the
// widget on a tab page not shown, a value the widget does not take) with
// E_FAIL and a readable reason, and otherwise send exactly the one
// notification the widget sends for that action.
//
// Widgets belong to their father (see KORCommand); a dialog's father is the
// command that owns it, or the application's main window.
#include "command/KORCommand.h"
#include "system/KORMsgCatalog.h"

#include <optional>

enum class KORDlgKind {
  Dialog,
  Frame,
  Label,
  Editor,
  Combo,
  Spinner,
  CheckButton,
  PushButton,
  TabContainer,
  TabPage,
  Separator,
  Notify,
  FileBox
};
// The kind as the dumps write it ("dialog", "spinner", ...).
const char* KORDlgKindName(KORDlgKind iKind);

class KORDlgDialog;

class KORDlgObject : public KORCommand {
public:
  KORDlgObject(KORCommand* iFather, const KORString& iName, KORDlgKind iKind);

  KORDlgKind GetKind() const { return _kind; }
  void SetVisibility(bool iVisible) { _visible = iVisible; }
  bool GetVisibility() const { return _visible; }
  void SetSensitivity(bool iSensitive) { _sensitive = iSensitive; }
  bool GetSensitivity() const { return _sensitive; }

  // The title given by SetTitle (an empty one included), else the message
  // "<name>.Title" of the dialog's catalog, else the widget's name.
  void SetTitle(const KORUnicodeString& iTitle) { _title = iTitle; }
  KORUnicodeString GetTitle() const;

  // The value as the widget shows it; empty for widgets without value.
  virtual KORUnicodeString GetValueText() const { return {}; }

  // The dialog box this widget is in (itself for a dialog), or null.
  KORDlgDialog* GetDialog() const;
  // The widget named iName in this subtree (this one included), or null.
  KORDlgObject* FindWidget(const KORString& iName);
  // The widgets directly below, in the order they were made.
  std::vector<KORDlgObject*> GetWidgets() const;

  // S_OK when a person can act on the widget now; E_FAIL and oError otherwise.
  // An open message box or file box blocks every other window until it is
  // answered.
  HRESULT CheckUserAccess(KORString& oError) const;
  // Whether this is a window (dialog box, message box, file box).
  bool IsWindow() const;

protected:
  // Sends iNotification from this widget to itself and its fathers (the
  // caller has checked access).
  HRESULT UserNotify(KORCommandNotification& iNotification);
  HRESULT Refuse(const KORString& iReason, KORString& oError) const;
  // E_FAIL while a message box or file box other than this widget's own
  // window waits for an answer.
  HRESULT CheckNotBlocked(KORString& oError) const;

private:
  KORDlgKind _kind;
  bool _visible = true;
  bool _sensitive = true;
  std::optional<KORUnicodeString> _title;
};

// The windows a person sees under iRoot (for example the command manager's
// main window), in the order they were made: shown dialog boxes, message
// boxes and file boxes whose fathers are all shown.
std::vector<KORDlgObject*> KORDlgShownWindows(KORCommand& iRoot);

// Dialog buttons.
enum KORDlgButton { KORDlgOK = 1, KORDlgCancel = 2, KORDlgApply = 4 };

// A dialog box: a window with a title, its widgets, its own buttons (OK,
// Cancel, Apply as its style says) and a window-close button. A new dialog is
// hidden; SetVisibility(true) shows it. Its widgets' captions come from its
// message catalog.
class KORDlgDialog : public KORDlgObject {
public:
  KORDlgDialog(KORCommand* iFather, const KORString& iName, int iButtons = KORDlgOK | KORDlgCancel);

  int GetButtons() const { return _buttons; }
  void SetButtonSensitivity(KORDlgButton iButton, bool iSensitive);
  bool GetButtonSensitivity(KORDlgButton iButton) const;

  // Loads the catalog named iCatalog (resource lookup) for the captions.
  HRESULT LoadMessageCatalog(const KORString& iCatalog);
  KORMsgCatalog& GetMessageCatalog() { return _catalog; }
  const KORMsgCatalog& GetMessageCatalog() const { return _catalog; }

  // The class names of the notifications of the dialog's buttons and window.
  static const char* GetDiaOKNotification();
  static const char* GetDiaAPPLYNotification();
  static const char* GetDiaCANCELNotification();
  static const char* GetWindCloseNotification();

  // A person presses one of the dialog's buttons, or closes its window.
  HRESULT UserPress(KORDlgButton iButton, KORString& oError);
  HRESULT UserClose(KORString& oError);

private:
  int _buttons;
  int _insensitiveButtons = 0;
  KORMsgCatalog _catalog;
};
