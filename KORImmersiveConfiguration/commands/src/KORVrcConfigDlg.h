#pragma once
// The configuration's dialog: its name, and the main window (shown by name,
// chosen by picking a window) with a fixed warning about what the main window
// decides.
#include "dialog/KORDlgWidgets.h"

class KORVrcConfigDlg : public KORDlgDialog {
public:
  explicit KORVrcConfigDlg(KORCommand* iFather);
  void Build();

  KORUnicodeString GetConfigName() const;
  void SetConfigName(const KORUnicodeString& iName);
  KORUnicodeString GetWindowName() const;
  // An empty name shows "(none)".
  void SetWindowName(const KORUnicodeString& iName);

private:
  KORDlgEditor* _nameEditor = nullptr;
  KORDlgEditor* _mainWindowEditor = nullptr;
};
