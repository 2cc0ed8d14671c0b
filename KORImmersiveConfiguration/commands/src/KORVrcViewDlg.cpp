#include "KORVrcViewDlg.h"

#include "KORVrcDlgTools.h"
#include "dialog/KORDlgNotifications.h"
#include "system/KORFrameServices.h"

#include <algorithm>

namespace {
constexpr const char* kLengthFormat = "%.3f";
constexpr const char* kAngleFormat = "%.4f";

// Values in model units, whatever the field shows.
double Held(const KORDlgSpinner* iField) {
  return iField->GetParameter()->GetValue();
}
// Fields not built yet show nothing.
void ShowFields(std::initializer_list<std::pair<KORDlgSpinner*, double>> iFields) {
  for (const auto& [field, held] : iFields)
    if (field)
      field->GetParameter()->SetValue(held);
}

void MakeLabels(KORCommand* iFather, std::initializer_list<const char*> iNames) {
  for (const char* name : iNames)
    new KORDlgLabel(iFather, name);
}

// The index of the page iContainer shows among iPages (0 when none).
template <std::size_t N>
int IndexOfShown(const KORDlgTabContainer* iContainer,
                 const std::array<KORDlgTabPage*, N>& iPages) {
  const auto found = std::find(iPages.begin(), iPages.end(), iContainer->GetSelectedPage());
  return found == iPages.end() ? 0 : static_cast<int>(found - iPages.begin());
}
} // namespace

KORVrcViewDlg::KORVrcViewDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcViewDlg", KORDlgOK | KORDlgCancel | KORDlgApply) {}

KORDlgSpinner* KORVrcViewDlg::MakeField(KORCommand* iFather, const char* iName,
                                        KORParameterKind iKind) {
  auto* field = new KORDlgSpinner(iFather, iName);
  if (iKind == KORParameterKind::Length)
    KORVrcMakeLengthField(*field);
  else
    field->BindParameter(iKind);
  field->SetFormat(iKind == KORParameterKind::Angle ? kAngleFormat : kLengthFormat);
  return field;
}

void KORVrcViewDlg::Build() {
  // Captions come from the catalog; a missing one shows the widget's name.
  if (FAILED(LoadMessageCatalog("KORVrcViewDlg")))
    SetTitle("KORVrcViewDlg");
  auto* nameFrame = new KORDlgFrame(this, "Frame095");
  new KORDlgLabel(nameFrame, "NameLabel");
  _nameEditor = new KORDlgEditor(nameFrame, "NameEditor");

  _typeTabs = new KORDlgTabContainer(this, "TypeTabContainer");
  _typePages = {new KORDlgTabPage(_typeTabs, "ScreenTabPage"),
                new KORDlgTabPage(_typeTabs, "CameraTabPage")};
  BuildScreenPage(_typePages[Screen]);
  BuildCameraPage(_typePages[Camera]);

  AddAnalyseNotificationCB(_typeTabs, KORDlgTabSelectNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) { OnTypeTabSelected(); });
  AddAnalyseNotificationCB(_screenTabs, KORDlgTabSelectNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) { OnScreenTabSelected(); });
  AddAnalyseNotificationCB(_cameraTabs, KORDlgTabSelectNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) { OnCameraTabSelected(); });
}

void KORVrcViewDlg::BuildScreenPage(KORDlgTabPage* iPage) {
  using enum KORParameterKind;
  _screenTabs = new KORDlgTabContainer(iPage, "ScreenTabContainer");
  _screenPages = {new KORDlgTabPage(_screenTabs, "ScreenCornersTab"),
                  new KORDlgTabPage(_screenTabs, "ScreenAnglesTab"),
                  new KORDlgTabPage(_screenTabs, "ScreenSizeTab")};

  KORDlgTabPage* corners = _screenPages[CornersTab];
  MakeLabels(corners, {"Label004", "Label005", "Label006", "Label007", "Label008", "Label009"});
  const char* cornerNames[] = {"ulXSpinEdit", "ulYSpinEdit", "ulZSpinEdit",
                               "llXSpinEdit", "llYSpinEdit", "llZSpinEdit",
                               "lrXSpinEdit", "lrYSpinEdit", "lrZSpinEdit"};
  for (std::size_t i = 0; i < _cornerFields.size(); ++i)
    _cornerFields[i] = MakeField(corners, cornerNames[i], Length);

  KORDlgTabPage* angles = _screenPages[AnglesTab];
  MakeLabels(angles, {"Label010", "Label011", "Label012", "Label013", "Label046", "Label059",
                      "Label078", "Label079"});
  new KORDlgSeparator(angles, "Separator018");
  _fPitch = MakeField(angles, "fPitchSpinEdit", Angle);
  _distance = MakeField(angles, "DistanceSpinEdit", Length);
  _fHead = MakeField(angles, "fHeadSpinEdit", Angle);
  _hshift = MakeField(angles, "HshiftSpinEdit", Angle);
  _vshift = MakeField(angles, "VshiftSpinEdit", Angle);
  _hfov = MakeField(angles, "HfovSpinEdit", Angle);
  _vfov = MakeField(angles, "VfovSpinEdit", Angle);

  KORDlgTabPage* size = _screenPages[SizeTab];
  MakeLabels(size, {"Label028", "Label029", "Label036", "Label037", "Label038", "Label039",
                    "Label073", "Label074"});
  _width = MakeField(size, "WidthSpinEdit", Length);
  _height = MakeField(size, "HeightSpinEdit", Length);
  _sizeHead = MakeField(size, "HeadSpinEdit", Angle);
  _sizePitch = MakeField(size, "PitchSpinEdit", Angle);
  _centreFields = {MakeField(size, "CenterXSpinEdit", Length),
                   MakeField(size, "CenterYSpinEdit", Length),
                   MakeField(size, "CenterZSpinEdit", Length)};
}

void KORVrcViewDlg::BuildCameraPage(KORDlgTabPage* iPage) {
  using enum KORParameterKind;
  _cameraTabs = new KORDlgTabContainer(iPage, "CamTabContainer");
  _cameraPages = {new KORDlgTabPage(_cameraTabs, "CamFrustumTab"),
                  new KORDlgTabPage(_cameraTabs, "CamAnglesTab")};

  KORDlgTabPage* frustum = _cameraPages[FrustumTab];
  MakeLabels(frustum, {"Label069", "Label070", "Label071", "Label072"});
  // Tangents at unit distance pass unchanged, as lengths do.
  _camLeft = MakeField(frustum, "CamLeftSpinEdit", Length);
  _camTop = MakeField(frustum, "CamTopSpinEdit", Length);
  _camRight = MakeField(frustum, "CamRightSpinEdit", Length);
  _camBottom = MakeField(frustum, "CamBottomSpinEdit", Length);
  for (KORDlgSpinner* field : {_camLeft, _camTop, _camRight, _camBottom})
    field->SetFormat("%.6f");

  KORDlgTabPage* angles = _cameraPages[CamAnglesTab];
  MakeLabels(angles, {"Label055", "Label056", "Label057", "Label058"});
  _camHfov = MakeField(angles, "CamHfovSpinEdit", Angle);
  _camVfov = MakeField(angles, "CamVfovSpinEdit", Angle);
  _camHshift = MakeField(angles, "CamHshiftSpinEdit", Angle);
  _camVshift = MakeField(angles, "CamVshiftSpinEdit", Angle);
}

KORUnicodeString KORVrcViewDlg::GetViewName() const {
  return _nameEditor ? _nameEditor->GetText() : KORUnicodeString();
}

void KORVrcViewDlg::SetViewName(const KORUnicodeString& iName) {
  if (_nameEditor)
    _nameEditor->SetText(iName);
}

void KORVrcViewDlg::SetViewType(int iType) {
  _viewType = iType == Camera ? Camera : Screen;
  if (_typeTabs)
    _typeTabs->SetSelectedPage(_typePages[_viewType]);
}

void KORVrcViewDlg::GetUpperLeft(double& oX, double& oY, double& oZ) const {
  _screen.upperLeft.GetCoord(oX, oY, oZ);
}
void KORVrcViewDlg::GetLowerLeft(double& oX, double& oY, double& oZ) const {
  _screen.lowerLeft.GetCoord(oX, oY, oZ);
}
void KORVrcViewDlg::GetLowerRight(double& oX, double& oY, double& oZ) const {
  _screen.lowerRight.GetCoord(oX, oY, oZ);
}

void KORVrcViewDlg::SetUpperLeft(double iX, double iY, double iZ) {
  _screen.upperLeft.SetCoord(iX, iY, iZ);
  ShowCorners();
}
void KORVrcViewDlg::SetLowerLeft(double iX, double iY, double iZ) {
  _screen.lowerLeft.SetCoord(iX, iY, iZ);
  ShowCorners();
}
void KORVrcViewDlg::SetLowerRight(double iX, double iY, double iZ) {
  _screen.lowerRight.SetCoord(iX, iY, iZ);
  ShowCorners();
}

void KORVrcViewDlg::GetCameraFov(double& oHfov, double& oVfov, double& oHshift,
                                 double& oVshift) const {
  oHfov = _camera.hfov;
  oVfov = _camera.vfov;
  oHshift = _camera.hshift;
  oVshift = _camera.vshift;
}

void KORVrcViewDlg::SetCameraFov(double iHfov, double iVfov, double iHshift, double iVshift) {
  _camera.hfov = iHfov;
  _camera.vfov = iVfov;
  _camera.hshift = iHshift;
  _camera.vshift = iVshift;
  ShowCameraAngles();
  _camera.FovToFrustum();
  ShowFrustum();
}

void KORVrcViewDlg::SetHead(const KORMathTransformation& iHead) {
  _eye = KORMathPoint(iHead.GetVector().AsEigen());
}

bool KORVrcViewDlg::CheckShownValues() {
  if (_viewType == Camera) {
    ReadCameraTab(_cameraTab);
    if (_cameraTab == FrustumTab)
      _camera.FrustumToFov();
    if (TestCam())
      return true;
    Refuse("InvalidCamera");
    return false;
  }
  if (ConvertToCorners())
    return true;
  RefuseScreen();
  return false;
}

void KORVrcViewDlg::EnlargeWithScreen(KORMathPoint& iLL, KORMathPoint& iLR, KORMathPoint& iUL) {
  if (_viewType != Screen || !ConvertToCorners())
    return;
  if (_screen.EnlargeWith(iLL, iLR, iUL))
    ShowScreenTab(_screenTab);
}

int KORVrcViewDlg::ShownScreenTab() const {
  return IndexOfShown(_screenTabs, _screenPages);
}

int KORVrcViewDlg::ShownCameraTab() const {
  return IndexOfShown(_cameraTabs, _cameraPages);
}

void KORVrcViewDlg::OnTypeTabSelected() {
  const int selected = IndexOfShown(_typeTabs, _typePages);
  if (_typeChange) {
    _viewType = selected;
    return;
  }
  SetViewType(_viewType);
  Refuse("TypeFixed");
}

void KORVrcViewDlg::OnScreenTabSelected() {
  const int selected = ShownScreenTab();
  if (!ConvertToCorners()) {
    _screenTabs->SetSelectedPage(_screenPages[_screenTab]);
    RefuseScreen();
    return;
  }
  if (!ShowScreenTab(selected)) {
    _screenTabs->SetSelectedPage(_screenPages[_screenTab]);
    Refuse("NoAnglesForScreen");
    return;
  }
  _screenTab = selected;
}

void KORVrcViewDlg::OnCameraTabSelected() {
  const int selected = ShownCameraTab();
  ReadCameraTab(_cameraTab);
  if (selected != _cameraTab)
    ShowCameraTab(selected);
  _cameraTab = selected;
}

bool KORVrcViewDlg::ConvertToCorners() {
  switch (_screenTab) {
  case AnglesTab:
    _screen.pitch = Held(_fPitch);
    _screen.distance = Held(_distance);
    _screen.head = Held(_fHead);
    _screen.hshift = Held(_hshift);
    _screen.vshift = Held(_vshift);
    _screen.hfov = Held(_hfov);
    _screen.vfov = Held(_vfov);
    // Angles that make no screen are refused rather than dropped.
    if (!_screen.TestFov())
      return false;
    _screen.FovToCorners(_eye);
    break;
  case SizeTab:
    _screen.width = Held(_width);
    _screen.height = Held(_height);
    _screen.head = Held(_sizeHead);
    _screen.pitch = Held(_sizePitch);
    _screen.centre.SetCoord(Held(_centreFields[0]), Held(_centreFields[1]), Held(_centreFields[2]));
    _screen.SizeToCorners();
    break;
  default: {
    const auto field = [&](std::size_t iIndex) { return Held(_cornerFields[iIndex]); };
    _screen.upperLeft.SetCoord(field(0), field(1), field(2));
    _screen.lowerLeft.SetCoord(field(3), field(4), field(5));
    _screen.lowerRight.SetCoord(field(6), field(7), field(8));
  }
  }
  return _screen.TestCorners();
}

bool KORVrcViewDlg::ShowScreenTab(int iTab) {
  switch (iTab) {
  case AnglesTab:
    _screen.CornersToFov(_eye);
    if (!_screen.TestFov())
      return false;
    ShowScreenAngles();
    return true;
  case SizeTab:
    _screen.CornersToSize(_eye);
    ShowSize();
    return true;
  default:
    ShowCorners();
    return true;
  }
}

void KORVrcViewDlg::ReadCameraTab(int iTab) {
  if (iTab == CamAnglesTab) {
    _camera.hfov = Held(_camHfov);
    _camera.vfov = Held(_camVfov);
    _camera.hshift = Held(_camHshift);
    _camera.vshift = Held(_camVshift);
  } else {
    _camera.left = Held(_camLeft);
    _camera.top = Held(_camTop);
    _camera.right = Held(_camRight);
    _camera.bottom = Held(_camBottom);
  }
}

void KORVrcViewDlg::ShowCameraTab(int iTab) {
  if (iTab == CamAnglesTab) {
    _camera.FrustumToFov();
    ShowCameraAngles();
  } else {
    _camera.FovToFrustum();
    ShowFrustum();
  }
}

void KORVrcViewDlg::ShowCorners() {
  const KORMathPoint& ul = _screen.upperLeft;
  const KORMathPoint& ll = _screen.lowerLeft;
  const KORMathPoint& lr = _screen.lowerRight;
  const auto& f = _cornerFields;
  ShowFields({{f[0], ul.GetX()},
              {f[1], ul.GetY()},
              {f[2], ul.GetZ()},
              {f[3], ll.GetX()},
              {f[4], ll.GetY()},
              {f[5], ll.GetZ()},
              {f[6], lr.GetX()},
              {f[7], lr.GetY()},
              {f[8], lr.GetZ()}});
}

void KORVrcViewDlg::ShowSize() {
  ShowFields({{_width, _screen.width},
              {_height, _screen.height},
              {_sizeHead, _screen.head},
              {_sizePitch, _screen.pitch},
              {_centreFields[0], _screen.centre.GetX()},
              {_centreFields[1], _screen.centre.GetY()},
              {_centreFields[2], _screen.centre.GetZ()}});
}

void KORVrcViewDlg::ShowScreenAngles() {
  ShowFields({{_fPitch, _screen.pitch},
              {_distance, _screen.distance},
              {_fHead, _screen.head},
              {_hshift, _screen.hshift},
              {_vshift, _screen.vshift},
              {_hfov, _screen.hfov},
              {_vfov, _screen.vfov}});
}

void KORVrcViewDlg::ShowFrustum() {
  ShowFields({{_camLeft, _camera.left},
              {_camTop, _camera.top},
              {_camRight, _camera.right},
              {_camBottom, _camera.bottom}});
}

void KORVrcViewDlg::ShowCameraAngles() {
  ShowFields({{_camHfov, _camera.hfov},
              {_camVfov, _camera.vfov},
              {_camHshift, _camera.hshift},
              {_camVshift, _camera.vshift}});
}

void KORVrcViewDlg::RefuseScreen() {
  Refuse(_screenTab == AnglesTab ? "InvalidAngles" : "InvalidScreen");
}

void KORVrcViewDlg::Refuse(const char* iKey) {
  KORUnicodeString text;
  if (FAILED(GetMessageCatalog().BuildMessage(iKey, text)))
    text = iKey;
  KORShowUserMessage(iKey, KORUserMessageStyle::Error, GetTitle(), text);
}
