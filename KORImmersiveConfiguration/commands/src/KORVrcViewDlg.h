#pragma once
// The view dialog: a name and either a screen (type 0) or a camera (type 1).
// A screen is typed in one of three tabs (corners; angles seen from the head;
// size and centre with head and pitch), a camera in one of two (frustum;
// angles). Changing tab converts what the tab shown holds into the new one;
// values that do not make a valid screen or camera keep the tab shown and say
// why. The dialog holds every form in model units (millimetres, radians); the
// angle fields show degrees.
//
// On OK and Apply the command asks CheckShownValues, which brings the shown
// tab's values into the corners (screen) or the camera angles.
#include "KORVrcViewGeometry.h"
#include "dialog/KORDlgWidgets.h"
#include "math/KORMathTransformation.h"

#include <array>

class KORVrcViewDlg : public KORDlgDialog {
public:
  enum ViewType { Screen = 0, Camera = 1 };

  explicit KORVrcViewDlg(KORCommand* iFather);
  void Build();

  KORUnicodeString GetViewName() const;
  void SetViewName(const KORUnicodeString& iName);
  int GetViewType() const { return _viewType; }
  // Also shows the type's page.
  void SetViewType(int iType);
  // Whether the user may switch between screen and camera.
  void SetTypeChange(bool iAllowed) { _typeChange = iAllowed; }

  void GetUpperLeft(double& oX, double& oY, double& oZ) const;
  void GetLowerLeft(double& oX, double& oY, double& oZ) const;
  void GetLowerRight(double& oX, double& oY, double& oZ) const;
  // Store the corner and show it in the tab shown.
  void SetUpperLeft(double iX, double iY, double iZ);
  void SetLowerLeft(double iX, double iY, double iZ);
  void SetLowerRight(double iX, double iY, double iZ);

  // Radians.
  void GetCameraFov(double& oHfov, double& oVfov, double& oHshift, double& oVshift) const;
  // Stores the angles and shows them with the frustum they give.
  void SetCameraFov(double iHfov, double iVfov, double iHshift, double iVshift);

  // The head's location; its translation is the eye the angles are seen from.
  void SetHead(const KORMathTransformation& iHead);

  // Reads the tab shown into the corners or the camera angles; false, and the
  // user told why, when they make no valid screen or camera.
  bool CheckShownValues();
  bool TestCorners() const { return _screen.TestCorners(); }
  bool TestCam() const { return _camera.TestCam(); }

  // Grows the screen to cover the picked one (see KORVrcScreenGeometry); only
  // while a screen is shown and its values are valid.
  void EnlargeWithScreen(KORMathPoint& iLL, KORMathPoint& iLR, KORMathPoint& iUL);
  // A camera cannot be grown by another: nothing changes.
  void EnlargeWithCamera(double, double, double, double) {}

private:
  enum ScreenTab { CornersTab = 0, AnglesTab = 1, SizeTab = 2 };
  enum CameraTab { FrustumTab = 0, CamAnglesTab = 1 };

  KORDlgSpinner* MakeField(KORCommand* iFather, const char* iName, KORParameterKind iKind);
  void BuildScreenPage(KORDlgTabPage* iPage);
  void BuildCameraPage(KORDlgTabPage* iPage);

  void OnTypeTabSelected();
  void OnScreenTabSelected();
  void OnCameraTabSelected();

  // Reads the tab shown into the corners; false (corners unchanged for the
  // angles tab) when they do not make a valid screen.
  bool ConvertToCorners();
  // Shows the corners in iTab; false when they give no valid angles.
  bool ShowScreenTab(int iTab);
  void ReadCameraTab(int iTab);
  void ShowCameraTab(int iTab);
  void ShowCorners();
  void ShowSize();
  void ShowScreenAngles();
  void ShowFrustum();
  void ShowCameraAngles();
  // Tells the user why values were refused (message key iKey).
  void Refuse(const char* iKey);
  // Why the screen tab's values were refused.
  void RefuseScreen();
  int ShownScreenTab() const;
  int ShownCameraTab() const;

  KORDlgEditor* _nameEditor = nullptr;
  KORDlgTabContainer* _typeTabs = nullptr;
  std::array<KORDlgTabPage*, 2> _typePages{};
  KORDlgTabContainer* _screenTabs = nullptr;
  std::array<KORDlgTabPage*, 3> _screenPages{};
  KORDlgTabContainer* _cameraTabs = nullptr;
  std::array<KORDlgTabPage*, 2> _cameraPages{};
  // Corners: upper-left, lower-left, lower-right, each x, y, z.
  std::array<KORDlgSpinner*, 9> _cornerFields{};
  KORDlgSpinner *_fPitch = nullptr, *_distance = nullptr, *_fHead = nullptr;
  KORDlgSpinner *_hshift = nullptr, *_vshift = nullptr, *_hfov = nullptr, *_vfov = nullptr;
  KORDlgSpinner *_width = nullptr, *_height = nullptr, *_sizeHead = nullptr, *_sizePitch = nullptr;
  std::array<KORDlgSpinner*, 3> _centreFields{};
  KORDlgSpinner *_camLeft = nullptr, *_camTop = nullptr, *_camRight = nullptr,
                *_camBottom = nullptr;
  KORDlgSpinner *_camHfov = nullptr, *_camVfov = nullptr, *_camHshift = nullptr,
                *_camVshift = nullptr;

  KORVrcScreenGeometry _screen;
  KORVrcCameraGeometry _camera;
  KORMathPoint _eye;
  int _viewType = Screen;
  bool _typeChange = true;
  // The tabs whose values the fields hold: the ones shown, until a person
  // selects another and the change is accepted.
  int _screenTab = CornersTab;
  int _cameraTab = FrustumTab;
};
