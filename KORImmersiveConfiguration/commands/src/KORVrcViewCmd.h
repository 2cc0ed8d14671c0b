#pragma once
// Creates or edits a view: a screen view with its projection area, or a
// camera view. Two states: the command starts in "initialState", where it
// takes a view already selected (its values are copied into the new view) or
// its own start notification, opens the dialog and moves to "finalState",
// where the dialog's buttons and picks of views act. A screen view picked
// while the dialog is open grows the screen being edited to cover it.
#include "KORVrcEditCmd.h"
#include "interfaces/KORIVrcCameraView.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcScreenView.h"

#include <array>

// Sent by the view command to itself once it has started.
KOR_DECLARE_NOTIFICATION(KORVrcViewCmdInit, KORCommandNotification)

class KORVrcViewDlg;

class KORVrcViewCmd : public KORVrcEditCmd {
public:
  explicit KORVrcViewCmd(KORIVrcView* iView);
  void Activate() override;

protected:
  KORDlgDialog* BuildDialog() override;
  void AddKindAgents() override;
  KORCommandState* MakeEditState() override;
  void InitDialog() override;
  bool CheckValues() override;
  KORBaseUnknown_var CreateElement() override;
  bool WriteValues() override;
  void SaveValues() override;
  bool RestoreValues() override;
  bool DeleteMadeElement() override;
  void GetNamesOfKind(KORListValKORUnicodeString& oNames) override;
  KORUnicodeString GetDialogName() override;
  NameRule GetNameRule() override { return KORVrcNameProblem; }
  void OnPicked(KORBaseUnknown* iElement) override;

private:
  // What the dialog shows of a view.
  struct ViewValues {
    KORUnicodeString name;
    int type = 0;
    std::array<double, 9> corners{}; // upper-left, lower-left, lower-right
    std::array<double, 4> angles{};  // Hfov, Hshift, Vfov, Vshift
  };
  static bool ReadView(KORIVrcView* iView, ViewValues& oValues);
  void ShowValues(const ViewValues& iValues);
  bool WriteCorners(const std::array<double, 9>& iCorners);
  std::array<double, 9> DialogCorners() const;
  std::array<double, 4> DialogAngles() const;

  bool OnInitViewSelection(void*);

  KORVrcViewDlg* _viewDialog = nullptr;
  KORIVrcScreenView_var _screenView;
  KORIVrcProjectionArea_var _area;
  KORIVrcCameraView_var _cameraView;
  KORPathElementAgent* _preselection = nullptr;
  KORIVrcView_var _preselected;
  ViewValues _saved;
};
