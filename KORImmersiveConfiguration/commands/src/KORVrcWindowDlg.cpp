#include "KORVrcWindowDlg.h"

#include "KORVrcDlgTools.h"
#include "dialog/KORDlgNotifications.h"

#include <algorithm>

namespace {
constexpr const char* kNoView = "(none)";
constexpr int kViewportSteps = 100;

KORDlgSpinner* MakeViewportSpinner(KORCommand* iFather, const char* iLabel, const char* iName) {
  new KORDlgLabel(iFather, iLabel);
  return KORVrcMakeSpinner(iFather, iName, 0, 1, kViewportSteps, "%.5f");
}
} // namespace

KORVrcWindowDlg::KORVrcWindowDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcWindowDlg", KORDlgOK | KORDlgCancel | KORDlgApply) {}

void KORVrcWindowDlg::Build() {
  if (FAILED(LoadMessageCatalog("KORVrcWindowDlg")))
    SetTitle("KORVrcWindowDlg");
  new KORDlgLabel(this, "NameLabel");
  _name = new KORDlgEditor(this, "NameEditor");

  auto* source = new KORDlgFrame(this, "SourceFrame");
  new KORDlgLabel(source, "IGLabel");
  _igName = new KORDlgEditor(source, "IGEditor", KORDlgEditor::ReadOnly);
  new KORDlgLabel(source, "ViewLabel");
  _viewName = new KORDlgEditor(source, "ViewEditor", KORDlgEditor::ReadOnly);

  new KORDlgSeparator(this, "Separator010");
  auto* placement = new KORDlgFrame(this, "Frame013");
  _left = MakeViewportSpinner(placement, "LeftLabel", "LeftSpinner");
  _top = MakeViewportSpinner(placement, "TopLabel", "TopSpinner");
  _width = MakeViewportSpinner(placement, "WidthLabel", "WidthSpinner");
  _height = MakeViewportSpinner(placement, "HeightLabel", "HeightSpinner");
  AddAnalyseNotificationCB(_left, KORDlgSpinnerValueChangedNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) {
                             LimitExtent(*_left, *_width);
                           });
  AddAnalyseNotificationCB(_top, KORDlgSpinnerValueChangedNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) {
                             LimitExtent(*_top, *_height);
                           });

  new KORDlgLabel(this, "ModeLabel");
  _renderingMode = new KORDlgCombo(this, "ModeCombo");
  KORVrcFillCombo(*_renderingMode, "KORVrcWindowRenderingMode", KORVrcRenderingModeLabels);
  new KORDlgLabel(this, "Label011");
  new KORDlgLabel(this, "Label012");
  _mirrorMode = new KORDlgCombo(this, "ComboMirrorMode");
  KORVrcFillCombo(*_mirrorMode, "KORVrcWindowMirrorMode", KORVrcMirrorModeLabels);
  new KORDlgLabel(this, "Space");

  _main = new KORDlgCheckButton(this, "MainWindowCheck");
  new KORDlgLabel(this, "WarningIcon");
  new KORDlgLabel(this, "WarningText");
  new KORDlgLabel(this, "WarningText2");
  SetViewName({});
}

void KORVrcWindowDlg::LimitExtent(const KORDlgSpinner& iOrigin, KORDlgSpinner& ioExtent) {
  // Setting the range clamps the value into it.
  ioExtent.SetRange(0, 1 - iOrigin.GetValue(), kViewportSteps);
}

KORUnicodeString KORVrcWindowDlg::GetWindowName() const {
  return _name->GetText();
}

void KORVrcWindowDlg::SetWindowName(const KORUnicodeString& iName) {
  _name->SetText(iName);
}

void KORVrcWindowDlg::SetIGName(const KORUnicodeString& iName) {
  _igName->SetText(iName);
}

KORUnicodeString KORVrcWindowDlg::GetViewName() const {
  return _viewName->GetText();
}

void KORVrcWindowDlg::SetViewName(const KORUnicodeString& iName) {
  _viewName->SetText(iName.empty() ? KORUnicodeString(kNoView) : iName);
}

KORVrcViewportValues KORVrcWindowDlg::GetViewport() const {
  return {_left->GetValue(), _top->GetValue(), _width->GetValue(), _height->GetValue()};
}

void KORVrcWindowDlg::SetViewport(const KORVrcViewportValues& iViewport) {
  _left->SetValue(iViewport.left);
  _top->SetValue(iViewport.top);
  LimitExtent(*_left, *_width);
  LimitExtent(*_top, *_height);
  _width->SetValue(iViewport.width);
  _height->SetValue(iViewport.height);
}

KORVrcRenderingMode KORVrcWindowDlg::GetRenderingMode() const {
  return static_cast<KORVrcRenderingMode>(std::max(_renderingMode->GetSelect(), 0));
}

void KORVrcWindowDlg::SetRenderingMode(KORVrcRenderingMode iMode) {
  _renderingMode->SetSelect(iMode);
}

KORVrcMirrorMode KORVrcWindowDlg::GetMirrorMode() const {
  const int line = _mirrorMode->GetSelect();
  return line < 0 ? KORVrcMirrorNone : static_cast<KORVrcMirrorMode>(line);
}

void KORVrcWindowDlg::SetMirrorMode(KORVrcMirrorMode iMode) {
  _mirrorMode->SetSelect(iMode);
}

bool KORVrcWindowDlg::GetMain() const {
  return _main->GetState();
}

void KORVrcWindowDlg::SetMain(bool iMain) {
  _main->SetState(iMain);
}
