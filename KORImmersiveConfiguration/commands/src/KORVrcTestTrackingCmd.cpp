#include "KORVrcTestTrackingCmd.h"

#include "KORVrcCommandFactory.h"
#include "KORVrcControllerTrace.h"
#include "KORVrcTestTrackingDlg.h"
#include "command/KORFrmEditor.h"
#include "dialog/KORDlgNotify.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "objectmodel/KORExtensionDictionary.h"
#include "system/KORFrameServices.h"
#include "system/KORMsgCatalog.h"
#include "vr/KORIVRRuntimeInfo.h"
#include "vr/KORVRDeviceService.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <utility>

namespace {
constexpr const char* kCommandCatalog = "KORVrcTestTrackingCmd";

// The turn from the sensor's axes to the element's: rows (0, -1, 0),
// (0, 0, 1), (-1, 0, 0), given here by its columns.
const KORMathTransformation kSensorToElement(
    KORMath3x3Matrix(KORMathVector(0, 0, -1), KORMathVector(-1, 0, 0), KORMathVector(0, 1, 0)),
    KORMathVector());

KORMathVector Vector(const std::vector<double>& iData, std::size_t iFirst) {
  return KORMathVector(iData[iFirst], iData[iFirst + 1], iData[iFirst + 2]);
}

// The sensor placement of a position event: a 4x4 matrix in column order.
bool ReadPositionEvent(const std::vector<double>& iData, KORMathTransformation& oSensor) {
  if (iData.size() < 16)
    return false;
  oSensor = KORMathTransformation(
      KORMath3x3Matrix(Vector(iData, 0), Vector(iData, 4), Vector(iData, 8)), Vector(iData, 12));
  return true;
}

// The sensor placement of a viewport event: four points A, B, C, D; the
// position is A, the rotation's columns unit(C - B), unit(C - D) and their
// cross product.
bool ReadViewportEvent(const std::vector<double>& iData, KORMathTransformation& oSensor) {
  if (iData.size() < 12)
    return false;
  const KORMathVector a = Vector(iData, 0), b = Vector(iData, 3), c = Vector(iData, 6),
                      d = Vector(iData, 9);
  KORMathVector first = c - b, second = c - d;
  if (FAILED(first.Normalize()) || FAILED(second.Normalize()))
    return false;
  oSensor = KORMathTransformation(KORMath3x3Matrix(first, second, first ^ second), a);
  return true;
}

// The runtime's identifier names the configuration root's, whatever the case
// of its hexadecimal digits.
bool SameConfiguration(KORUnicodeString iLoaded, const KORUuid& iOwn) {
  std::transform(iLoaded.begin(), iLoaded.end(), iLoaded.begin(),
                 [](unsigned char iChar) { return static_cast<char>(std::tolower(iChar)); });
  return iLoaded == iOwn.ToText();
}

KORUnicodeString CommandMessage(const char* iKey) {
  std::shared_ptr<const KORMsgCatalog> catalog;
  KORUnicodeString text;
  if (FAILED(KORFindMsgCatalog(kCommandCatalog, catalog, text)) ||
      FAILED(catalog->BuildMessage(iKey, text)))
    text = iKey;
  return text;
}
} // namespace

KORVrcTestTrackingCmd::KORVrcTestTrackingCmd() : KORStateCommand("KORVrcTestTrackingCmd") {}

KORVrcTestTrackingCmd::~KORVrcTestTrackingCmd() {
  // The callbacks end before the elements they write are let go.
  _dispatcher.reset();
  TakeBackRun();
}

void KORVrcTestTrackingCmd::TraceMethod(const char* iMethod) const {
  if (KORVrcControllerTrace().IsActive())
    KORVrcControllerTrace().Printf("%s: \t\t%s", GetName().c_str(), iMethod);
}

void KORVrcTestTrackingCmd::BuildGraph() {
  TraceMethod("BuildGraph()");
  _okAgent = MakeAgent<KORDialogAgent>("KORVrcTestTrackingDlgOKId");
  _closeAgent = MakeAgent<KORDialogAgent>("KORVrcTestTrackingDlgCLOSEId");
  _startAgent = MakeAgent<KORDialogAgent>("KORVrcTestTrackingDlgSTARTId");
  _startAgent->SetBehavior(KORAgentRepeat);
  _stopAgent = MakeAgent<KORDialogAgent>("KORVrcTestTrackingDlgSTOPId");
  _stopAgent->SetBehavior(KORAgentRepeat);

  _dialog = new KORVrcTestTrackingDlg(this);
  _factory = KORVrcRetrieveFactory(*this);
  if (_factory && FAILED(_factory->RetrieveConfig(_config.Out())))
    _config = nullptr;
  InitModelInterfaces();
  LookForVREvents();
  _dialog->Build();
  _dialog->SetVisibility(true);

  _okAgent->AcceptOnNotify(_dialog, KORDlgDialog::GetDiaOKNotification());
  _closeAgent->AcceptOnNotify(_dialog, KORDlgDialog::GetWindCloseNotification());
  _startAgent->AcceptOnNotify(_dialog, KORVrcTestTrackingDlgStart::ClassName);
  _stopAgent->AcceptOnNotify(_dialog, KORVrcTestTrackingDlgStop::ClassName);

  KORCommandState* initial = GetInitialState("initialState");
  _secondState = AddDialogState("secondState");
  initial->AddDialogAgent(_okAgent);
  initial->AddDialogAgent(_closeAgent);
  initial->AddDialogAgent(_startAgent);
  _secondState->AddDialogAgent(_stopAgent);
  _secondState->AddDialogAgent(_okAgent);
  AddTransition(initial, nullptr, IsOutputSetCondition(_okAgent),
                Action(&KORVrcTestTrackingCmd::ActionOK));
  AddTransition(initial, nullptr, IsOutputSetCondition(_closeAgent),
                Action(&KORVrcTestTrackingCmd::ActionOK));
  AddTransition(initial, _secondState, IsOutputSetCondition(_startAgent),
                Action(&KORVrcTestTrackingCmd::ActionStart));
  AddTransition(_secondState, initial, IsOutputSetCondition(_stopAgent),
                Action(&KORVrcTestTrackingCmd::ActionStop));
  AddTransition(_secondState, nullptr,
                IsOutputSetCondition(_okAgent) &&
                    Condition(&KORVrcTestTrackingCmd::StopBeforeExit),
                Action(&KORVrcTestTrackingCmd::ActionOK));
}

bool KORVrcTestTrackingCmd::ReadStationRef(KORIVrcTracker* iTracker,
                                           KORMathTransformation& ioRef) {
  if (!iTracker)
    return false;
  KORIVrcTrackingStation_var station;
  KORMathTransformation ref;
  if (SUCCEEDED(iTracker->GetTrackingStation(station.Out())) && station &&
      SUCCEEDED(station->GetRef(ref)))
    ioRef = ref;
  return true;
}

void KORVrcTestTrackingCmd::InitModelInterfaces() {
  TraceMethod("InitModelInterfaces()");
  if (!_dialog || !_factory || !_config)
    return;
  KORIVrcHead_var head;
  if (FAILED(_factory->RetrieveHead(head.Out())) || !head)
    return;
  _headElement = KORQuery<KORIVrcTrackedElement>(head);
  if (_headElement && FAILED(_headElement->GetLocation(_savedHeadLocation)))
    _savedHeadLocation = KORMathTransformation();
  KORIVrcTracker_var viewpoint;
  if (FAILED(head->GetViewPointTracker(viewpoint.Out())))
    viewpoint = nullptr;
  _dialog->SetViewpointTrackerAvailability(ReadStationRef(viewpoint, _headStationRef));

  KORIVrcHandDevice_var hand;
  if (FAILED(_factory->RetrieveHandDevice(hand.Out())) || !hand)
    return;
  _handElement = KORQuery<KORIVrcTrackedElement>(hand);
  if (!_handElement)
    return;
  if (FAILED(_handElement->GetLocation(_savedHandLocation)))
    _savedHandLocation = KORMathTransformation();
  KORIVrcTracker_var picking;
  if (FAILED(hand->GetPickingTracker(picking.Out())))
    picking = nullptr;
  _dialog->Set3DPickingTrackerAvailability(ReadStationRef(picking, _handStationRef));
}

void KORVrcTestTrackingCmd::WarnNotSynchronised() {
  _dialog->SetModelSync(0);
  std::cout << "VrcTestTracking >> Modele different de la config chargee...\n" << std::flush;
  auto* warning = new KORDlgNotify(_dialog, "TestTrackingCmdNotify", KORDlgNotifyStyle::Warning);
  // The box waits for its answer, which hides it; it goes with the dialog.
  warning->Display(CommandMessage("ConfigNotSync"), "Warning");
}

void KORVrcTestTrackingCmd::LookForVREvents() {
  TraceMethod("LookForVREvents()");
  if (!_factory)
    return;
  _headEventAvailable = _handEventAvailable = false;
  _headIsViewportEvent = _headIsPositionEvent = false;
  _headEvent.reset();
  _handEvent.reset();
  _dialog->SetHeadTrackingEventAvailability(0);

  auto info = KORCreateInstance<KORIVRRuntimeInfo>("KORVrcInfo");
  if (info && info->IsAvailable(0) == S_OK) {
    KORUnicodeString loaded;
    KORUuid own;
    if (!_config || FAILED(info->GetConfigID(loaded)) || FAILED(_config->GetID(own)))
      return;
    if (!SameConfiguration(loaded, own)) {
      WarnNotSynchronised();
      return;
    }
    _dialog->SetModelSync(1);
    KORString device, name;
    int index = 0;
    if (SUCCEEDED(info->GetHeadTrackerEvent(device, name, index)))
      _headEvent = KORVRManager::FindEvent(device, name, index, _headEventAvailable);
    if (SUCCEEDED(info->GetHandTrackerEvent(device, name, index)))
      _handEvent = KORVRManager::FindEvent(device, name, index, _handEventAvailable);
  } else {
    _headEvent = KORGetHeadTrackingEvent(_headEventAvailable);
    _handEvent = KORGetHandTrackingEvent(_handEventAvailable);
  }
  if (!_headEventAvailable)
    _headEvent.reset();
  if (!_handEventAvailable)
    _handEvent.reset();
  if (_headEvent) {
    _headIsViewportEvent = _headEvent->GetName() == KORVRViewportEventName;
    _headIsPositionEvent = _headEvent->GetName() == KORVRPositionEventName;
  }
  _dialog->SetHeadTrackingEventAvailability(_headEventAvailable);
  _dialog->SetHandTrackingEventAvailability(_handEventAvailable);
}

bool KORVrcTestTrackingCmd::ActionOK(void*) {
  TraceMethod("ActionOK()");
  if (_dialog)
    _dialog->SetVisibility(false);
  return true;
}

bool KORVrcTestTrackingCmd::ActionStart(void*) {
  TraceMethod("ActionStart()");
  if (!_dialog)
    return false;
  KORFrmEditor* editor = GetEditor();
  auto document = KORQuery<KORITransactions>(editor ? editor->GetDocument() : nullptr);
  if (!_run && document && SUCCEEDED(document->OpenTransaction()))
    _run = document;
  const auto subscribe = [this](const KORVRDeviceEvent& iEvent, auto iMotion) {
    if (!_dispatcher)
      _dispatcher = std::make_unique<KORVRDispatcherOnIdle>();
    if (FAILED(_dispatcher->AddDeviceCallback(
            {iEvent}, [this, iMotion](const KORVRNotification& iNotification) {
              (this->*iMotion)(&iNotification);
            })))
      KORVrcControllerTrace().Printf("%s: no device service to listen to", GetName().c_str());
  };
  if (_dialog->IsHeadTrackingChecked() && _headEventAvailable && _headEvent)
    subscribe(*_headEvent, &KORVrcTestTrackingCmd::OnHeadMotion);
  if (_dialog->IsHandTrackingChecked() && _handEventAvailable && _handEvent)
    subscribe(*_handEvent, &KORVrcTestTrackingCmd::OnHandMotion);
  return true;
}

bool KORVrcTestTrackingCmd::ActionStop(void*) {
  TraceMethod("ActionStop()");
  if (!_dialog)
    return false;
  _dispatcher.reset();
  TakeBackRun();
  if (_dialog->IsHandTrackingChecked() && _handEventAvailable)
    Restore(_handElement, _savedHandLocation, "hand device's");
  if (_dialog->IsHeadTrackingChecked() && _headEventAvailable)
    Restore(_headElement, _savedHeadLocation, "head's");
  return true;
}

void KORVrcTestTrackingCmd::TakeBackRun() {
  KORITransactions_var run = std::exchange(_run, nullptr);
  if (run && FAILED(run->AbortTransaction()))
    KORVrcControllerTrace().Printf("%s: the test's writes could not be taken back",
                                   GetName().c_str());
}

void KORVrcTestTrackingCmd::Restore(KORIVrcTrackedElement* iElement,
                                    const KORMathTransformation& iSaved, const char* iWhat) {
  KORMathTransformation current;
  if (!iElement || (SUCCEEDED(iElement->GetLocation(current)) && current.IsEqual(iSaved, 0.0)))
    return;
  if (FAILED(iElement->SetLocation(iSaved)))
    KORVrcControllerTrace().Printf("%s: the %s location was not restored", GetName().c_str(),
                                   iWhat);
}

bool KORVrcTestTrackingCmd::StopBeforeExit(void*) {
  return ActionStop(nullptr);
}

void KORVrcTestTrackingCmd::Cancel() {
  if (_secondState && GetCurrentState() == _secondState)
    KORIgnoreResult(ActionStop(nullptr), "false only without dialog, when nothing ran");
  KORStateCommand::Cancel();
}

void KORVrcTestTrackingCmd::MoveElement(KORIVrcTrackedElement* iElement,
                                        const KORMathTransformation& iRef,
                                        const KORMathTransformation& iSensor) {
  if (FAILED(iElement->SetLocation(iRef * iSensor * kSensorToElement)))
    KORVrcControllerTrace().Printf("%s: a tracked element refused its new location",
                                   GetName().c_str());
}

void KORVrcTestTrackingCmd::OnHeadMotion(const KORVRNotification* iNotification) {
  if (!iNotification || !_headElement || !(_headIsPositionEvent || _headIsViewportEvent))
    return;
  const KORVRDeviceEvent* newest = iNotification->Newest();
  KORMathTransformation sensor;
  if (!newest || !(_headIsPositionEvent ? ReadPositionEvent(newest->GetDoubleValue(), sensor)
                                        : ReadViewportEvent(newest->GetDoubleValue(), sensor)))
    return;
  MoveElement(_headElement, _headStationRef, sensor);
}

void KORVrcTestTrackingCmd::OnHandMotion(const KORVRNotification* iNotification) {
  if (!iNotification || !_handElement)
    return;
  const KORVRDeviceEvent* newest = iNotification->Newest();
  KORMathTransformation sensor;
  if (!newest || !ReadPositionEvent(newest->GetDoubleValue(), sensor))
    return;
  MoveElement(_handElement, _handStationRef, sensor);
}

extern "C" KORCommand* fctCreateKORVrcTestTrackingCmd(void*) {
  return new KORVrcTestTrackingCmd();
}
