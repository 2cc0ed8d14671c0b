#include "KORVrcViewCmd.h"

#include "KORVrcControllerTrace.h"
#include "KORVrcViewDlg.h"
#include "interfaces/KORIVrcGraphicSpecs.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcTrackedElement.h"

#include <memory>
#include <numbers>

namespace {
constexpr double kDegree = std::numbers::pi / 180.0;

// A new view's screen: 3000 mm in front of the viewer, 3000 mm wide and high.
constexpr std::array<double, 9> kDefaultCorners{3000,  1500, 1500,  3000, 1500,
                                                -1500, 3000, -1500, -1500};
constexpr double kDefaultCameraFov = 60 * kDegree;

KORIVrcProjectionArea_var AreaOf(KORIVrcScreenView* iView) {
  KORIVrcProjectionArea_var area;
  if (iView && FAILED(iView->GetProjectionArea(area.Out())))
    area = nullptr;
  return area;
}

bool ReadCorners(KORIVrcProjectionArea* iArea, std::array<double, 9>& oCorners) {
  double* c = oCorners.data();
  return iArea && SUCCEEDED(iArea->GetUpperLeft(&c[0], &c[1], &c[2])) &&
         SUCCEEDED(iArea->GetLowerLeft(&c[3], &c[4], &c[5])) &&
         SUCCEEDED(iArea->GetLowerRight(&c[6], &c[7], &c[8]));
}
} // namespace

KORVrcViewCmd::KORVrcViewCmd(KORIVrcView* iView)
    : KORVrcEditCmd("KORVrcViewCmd", iView,
                    {"KORVrcViewDlgOKId", "KORVrcViewDlgCancelId", "KORVrcViewDlgApplyId",
                     "KORVrcViewDlgCloseId"}),
      _screenView(KORQuery<KORIVrcScreenView>(iView)),
      _cameraView(KORQuery<KORIVrcCameraView>(iView)) {
  _area = AreaOf(_screenView.get());
}

void KORVrcViewCmd::Activate() {
  // Leaves the initial state at once when no view was pre-selected.
  KORVrcViewCmdInit start;
  if (FAILED(SendNotification(this, start)))
    KORVrcControllerTrace().Write("KORVrcViewCmd: the start notification was not delivered");
  KORVrcEditCmd::Activate();
}

KORDlgDialog* KORVrcViewCmd::BuildDialog() {
  _viewDialog = new KORVrcViewDlg(this);
  _viewDialog->Build();
  return _viewDialog;
}

void KORVrcViewCmd::AddKindAgents() {
  AddPickAgent("GetView", KORIVrcView::IID);
}

KORCommandState* KORVrcViewCmd::MakeEditState() {
  KORCommandState* initial = GetInitialState("initialState");
  auto* start = MakeAgent<KORDialogAgent>("KORVrcViewCmdInitId");
  start->AcceptOnNotify(this, KORVrcViewCmdInit::ClassName);
  _preselection = MakeAgent<KORPathElementAgent>("KORVrcViewPreselectionId");
  _preselection->AddElementType(KORIVrcView::IID);
  _preselection->AddBehavior(KORAgentValuedFromSelection);
  initial->AddDialogAgent(start);
  initial->AddDialogAgent(_preselection);

  KORCommandState* edit = AddDialogState("finalState");
  const KORStateAction open = Action(&KORVrcViewCmd::OnInitViewSelection);
  AddTransition(initial, edit, IsLastModifiedAgentCondition(_preselection), open);
  AddTransition(initial, edit, IsLastModifiedAgentCondition(start), open);
  return edit;
}

bool KORVrcViewCmd::OnInitViewSelection(void*) {
  TraceMethod("OnInitViewSelection()");
  _preselected = KORQuery<KORIVrcView>(_preselection->GetElementValue());
  OpenDialog();
  _preselection->InitializeAcquisition();
  return true;
}

bool KORVrcViewCmd::ReadView(KORIVrcView* iView, ViewValues& oValues) {
  if (!iView || FAILED(iView->GetName(oValues.name)))
    return false;
  if (KORIVrcCameraView_var camera = KORQuery<KORIVrcCameraView>(iView)) {
    oValues.type = KORVrcViewDlg::Camera;
    auto& a = oValues.angles;
    return SUCCEEDED(camera->GetAngles(a[0], a[1], a[2], a[3]));
  }
  oValues.type = KORVrcViewDlg::Screen;
  KORIVrcScreenView_var screen = KORQuery<KORIVrcScreenView>(iView);
  return ReadCorners(AreaOf(screen.get()).get(), oValues.corners);
}

void KORVrcViewCmd::ShowValues(const ViewValues& iValues) {
  _viewDialog->SetViewType(iValues.type);
  if (iValues.type == KORVrcViewDlg::Camera) {
    const auto& a = iValues.angles;
    _viewDialog->SetCameraFov(a[0], a[2], a[1], a[3]);
    return;
  }
  const auto& c = iValues.corners;
  _viewDialog->SetUpperLeft(c[0], c[1], c[2]);
  _viewDialog->SetLowerLeft(c[3], c[4], c[5]);
  _viewDialog->SetLowerRight(c[6], c[7], c[8]);
}

void KORVrcViewCmd::InitDialog() {
  TraceMethod("InitDefaultValues()");
  KORIVrcFactory* factory = GetFactory();
  if (!factory || !_viewDialog)
    return;
  KORIVrcHead_var head;
  KORMathTransformation location;
  if (SUCCEEDED(factory->RetrieveHead(head.Out()))) {
    auto tracked = KORQuery<KORIVrcTrackedElement>(head);
    if (tracked && SUCCEEDED(tracked->GetLocation(location)))
      _viewDialog->SetHead(location);
  }
  if (!IsCreating()) {
    ShowValues(_saved);
    _viewDialog->SetViewName(_saved.name);
    _viewDialog->SetTypeChange(false);
    return;
  }
  _viewDialog->SetTypeChange(true);
  ViewValues defaults;
  defaults.corners = kDefaultCorners;
  ShowValues(defaults);
  _viewDialog->SetCameraFov(kDefaultCameraFov, kDefaultCameraFov, 0, 0);
  _viewDialog->SetViewName(ComposeDefaultName("View", 1));
  ViewValues copied;
  if (ReadView(_preselected.get(), copied))
    ShowValues(copied);
}

bool KORVrcViewCmd::CheckValues() {
  return _viewDialog && _viewDialog->CheckShownValues();
}

std::array<double, 9> KORVrcViewCmd::DialogCorners() const {
  std::array<double, 9> c{};
  _viewDialog->GetUpperLeft(c[0], c[1], c[2]);
  _viewDialog->GetLowerLeft(c[3], c[4], c[5]);
  _viewDialog->GetLowerRight(c[6], c[7], c[8]);
  return c;
}

std::array<double, 4> KORVrcViewCmd::DialogAngles() const {
  // In the model's order: Hfov, Hshift, Vfov, Vshift.
  std::array<double, 4> a{};
  _viewDialog->GetCameraFov(a[0], a[2], a[1], a[3]);
  return a;
}

KORBaseUnknown_var KORVrcViewCmd::CreateElement() {
  TraceMethod("CreateView()");
  const KORTrace& trace = KORVrcControllerTrace();
  KORIVrcFactory* factory = GetFactory();
  const KORUnicodeString name = _viewDialog->GetViewName();
  _viewDialog->SetTypeChange(false);
  KORBaseUnknown_var made;
  if (_viewDialog->GetViewType() == KORVrcViewDlg::Camera) {
    const auto a = DialogAngles();
    const HRESULT created =
        factory->CreateCameraView(name, a[0], a[1], a[2], a[3], _cameraView.Out());
    if (FAILED(created)) {
      trace.Write("Creation of Camera View has FAILED");
      // A view made but not fully set is not left behind.
      if (_cameraView && !RemoveFromModel(_cameraView.get()))
        trace.Write("the camera view could not be removed");
      _cameraView = nullptr;
      return {};
    }
    made = KORQuery<KORBaseUnknown>(_cameraView);
  } else {
    const auto c = DialogCorners();
    _area = nullptr;
    if (FAILED(factory->CreateProjectionArea(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8],
                                             _area.Out()))) {
      trace.Write("Creation of Projection Area has FAILED");
      if (_area && !RemoveFromModel(_area.get()))
        trace.Write("the projection area could not be removed");
      _area = nullptr;
      return {};
    }
    if (FAILED(factory->CreateScreenView(name, _area.get(), _screenView.Out()))) {
      trace.Write("Creation of Screen View has FAILED");
      for (KORBaseUnknown* element : {static_cast<KORBaseUnknown*>(_screenView.get()),
                                      static_cast<KORBaseUnknown*>(_area.get())})
        if (element && !RemoveFromModel(element))
          trace.Write("an element of the failed screen view could not be removed");
      _screenView = nullptr;
      _area = nullptr;
      return {};
    }
    made = KORQuery<KORBaseUnknown>(_screenView);
  }
  trace.Write("} End of cmd::CreateView()");
  return made;
}

bool KORVrcViewCmd::WriteCorners(const std::array<double, 9>& iCorners) {
  const auto& c = iCorners;
  return _area && SUCCEEDED(_area->SetUpperLeft(c[0], c[1], c[2])) &&
         SUCCEEDED(_area->SetLowerLeft(c[3], c[4], c[5])) &&
         SUCCEEDED(_area->SetLowerRight(c[6], c[7], c[8]));
}

bool KORVrcViewCmd::WriteValues() {
  TraceMethod("CreateView()");
  if (!_viewDialog)
    return false;
  _viewDialog->SetTypeChange(false);
  const KORUnicodeString name = _viewDialog->GetViewName();
  bool written = false;
  if (_cameraView) {
    const auto a = DialogAngles();
    written = SUCCEEDED(_cameraView->SetName(name)) &&
              SUCCEEDED(_cameraView->SetAngles(a[0], a[1], a[2], a[3]));
  } else if (_screenView) {
    const bool cornersWritten = !_area || WriteCorners(DialogCorners());
    written = cornersWritten && SUCCEEDED(_screenView->SetName(name));
  }
  KORVrcControllerTrace().Write("} End of cmd::CreateView()");
  return written;
}

void KORVrcViewCmd::SaveValues() {
  if (!ReadView(KORQuery<KORIVrcView>(GetElement()).get(), _saved))
    KORVrcControllerTrace().Write("KORVrcViewCmd: the edited view could not be read whole");
}

bool KORVrcViewCmd::RestoreValues() {
  if (_cameraView) {
    const auto& a = _saved.angles;
    return SUCCEEDED(_cameraView->SetName(_saved.name)) &&
           SUCCEEDED(_cameraView->SetAngles(a[0], a[1], a[2], a[3]));
  }
  if (!_screenView)
    return false;
  const bool named = SUCCEEDED(_screenView->SetName(_saved.name));
  return named && (!_area || WriteCorners(_saved.corners));
}

bool KORVrcViewCmd::DeleteMadeElement() {
  const bool viewRemoved = KORVrcEditCmd::DeleteMadeElement();
  const bool areaRemoved = !_area || RemoveFromModel(_area.get());
  _screenView = nullptr;
  _cameraView = nullptr;
  _area = nullptr;
  return viewRemoved && areaRemoved;
}

void KORVrcViewCmd::GetNamesOfKind(KORListValKORUnicodeString& oNames) {
  KORIVrcFactory* factory = GetFactory();
  KORIVrcGraphicSpecs_var specs;
  KORListValKORBaseUnknown_var* views = nullptr;
  if (!factory || FAILED(factory->RetrieveGraphicSpecs(specs.Out())) ||
      FAILED(specs->GetViews(&views)))
    return;
  std::unique_ptr<KORListValKORBaseUnknown_var> owned(views);
  for (const KORBaseUnknown_var& element : *owned) {
    KORUnicodeString name;
    if (auto view = KORQuery<KORIVrcView>(element); view && SUCCEEDED(view->GetName(name)))
      oNames.Append(name);
  }
}

KORUnicodeString KORVrcViewCmd::GetDialogName() {
  return _viewDialog ? _viewDialog->GetViewName() : KORUnicodeString();
}

void KORVrcViewCmd::OnPicked(KORBaseUnknown* iElement) {
  if (KORIVrcScreenView_var screen = KORQuery<KORIVrcScreenView>(iElement)) {
    std::array<double, 9> c{};
    if (!ReadCorners(AreaOf(screen.get()).get(), c))
      return;
    KORMathPoint upperLeft(c[0], c[1], c[2]), lowerLeft(c[3], c[4], c[5]),
        lowerRight(c[6], c[7], c[8]);
    _viewDialog->EnlargeWithScreen(lowerLeft, lowerRight, upperLeft);
    return;
  }
  if (KORIVrcCameraView_var camera = KORQuery<KORIVrcCameraView>(iElement)) {
    double left = 0, right = 0, top = 0, bottom = 0;
    if (SUCCEEDED(camera->GetFrustum(left, right, top, bottom)))
      _viewDialog->EnlargeWithCamera(left, right, top, bottom);
  }
}

extern "C" KORCommand* fctCreateKORVrcViewCmd(void* iView) {
  return new KORVrcViewCmd(static_cast<KORIVrcView*>(iView));
}
