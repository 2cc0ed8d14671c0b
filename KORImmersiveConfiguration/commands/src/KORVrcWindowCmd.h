#pragma once
// Creates or edits a window: its name (unique among windows), the image
// generator it opens on and the view it shows (both chosen by picking), its
// viewport, rendering and mirror modes, and the main-window role. A window
// is never changed in place: each OK or Apply removes the window it had made
// or was given and builds a new window, viewport, rendering specification and
// rendering; Cancel on a window it was given builds it again as it was.
#include "KORVrcEditCmd.h"
#include "KORVrcWindowDlg.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcView.h"
#include "interfaces/KORIVrcWindow.h"

class KORVrcWindowCmd : public KORVrcEditCmd {
public:
  explicit KORVrcWindowCmd(KORIVrcWindow* iWindow);

protected:
  KORDlgDialog* BuildDialog() override;
  void AddKindAgents() override;
  void InitDialog() override;
  bool CheckValues() override;
  KORBaseUnknown_var CreateElement() override;
  bool WriteValues() override;
  void SaveValues() override;
  bool RestoreValues() override;
  void GetNamesOfKind(KORListValKORUnicodeString& oNames) override;
  KORUnicodeString GetDialogName() override;
  NameRule GetNameRule() override { return KORVrcNameProblem; }
  void OnPicked(KORBaseUnknown* iElement) override;

private:
  // What a window is built from.
  struct Values {
    KORUnicodeString name;
    KORIVrcIG_var ig;
    KORIVrcView_var view;
    KORVrcViewportValues viewport;
    KORVrcRenderingMode renderingMode = KORVrcRenderingMono;
    KORVrcMirrorMode mirrorMode = KORVrcMirrorNone;
    bool main = false;
  };
  Values DialogValues() const;
  // Builds a window from iValues into _window; false on the first failure,
  // what was made before it staying in the model. iWasMain: the window it
  // replaces was the main window, a role it loses unless iValues.main.
  bool Build(const Values& iValues, bool iWasMain);
  // Removes _window, with its rendering; true when it was the main window.
  bool RemoveWindow();
  bool IsMainWindow(KORIVrcWindow* iWindow);

  KORIVrcWindow_var _window;
  KORIVrcWindow_var _givenWindow;
  KORVrcWindowDlg* _windowDialog = nullptr;
  KORIVrcIG_var _chosenIG;
  KORIVrcView_var _chosenView;
  Values _saved;
};
