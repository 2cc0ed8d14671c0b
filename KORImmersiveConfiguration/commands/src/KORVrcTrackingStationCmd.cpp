#include "KORVrcTrackingStationCmd.h"

#include "KORVrcControllerTrace.h"
#include "KORVrcTools.h"
#include "KORVrcTrackerNumbers.h"
#include "interfaces/KORIVrcDevices.h"
#include "system/KORFrameServices.h"
#include "system/KORMsgCatalog.h"

#include <algorithm>

namespace {
constexpr int kDefaultSpeed = 115200;
constexpr double kDefaultReferenceZ = -750;
constexpr int kMaxPort = 65535;

const KORVrcEditAgentIds kAgentIds{"KORVrcTrackingStationDlgOK", "KORVrcTrackingStationDlgCANCEL",
                                   "KORVrcTrackingStationDlgAPPLY",
                                   "KORVrcTrackingStationDlgCLOSE"};

bool Same(KORBaseUnknown* iFirst, KORBaseUnknown* iSecond) {
  return CompareInterfacePointers(iFirst, iSecond) == 1;
}
} // namespace

KORVrcTrackingStationCmd::KORVrcTrackingStationCmd(KORIVrcTrackingStation* iStation)
    : KORVrcEditCmd("KORVrcTrackingStationCmd", iStation, kAgentIds), _station(iStation) {}

void KORVrcTrackingStationCmd::Cancel() {
  TraceMethod("KORCommand::Cancel()");
  KORVrcEditCmd::Cancel();
}

KORDlgDialog* KORVrcTrackingStationCmd::BuildDialog() {
  RetrievePointers();
  _stationDialog = new KORVrcTrackingStationDlg(this);
  _stationDialog->Build();
  return _stationDialog;
}

void KORVrcTrackingStationCmd::AddKindAgents() {
  AddNotificationAgent("KORVrcTrackingStationDlgTYPE", KORVrcChangeTypeTrackingStation::ClassName,
                       Action(&KORVrcTrackingStationCmd::OnChangeType));
}

void KORVrcTrackingStationCmd::RetrievePointers() {
  KORIVrcFactory* factory = GetFactory();
  if (!factory)
    return;
  if (FAILED(factory->RetrieveHead(_head.Out())))
    _head = nullptr;
  if (FAILED(factory->RetrieveHandDevice(_hand.Out())))
    _hand = nullptr;
}

void KORVrcTrackingStationCmd::SaveValues() {
  KORIVrcTrackingStation* station = _station.get();
  _saved.name = ReadValue<KORIVrcElement>(station, &KORIVrcElement::GetName);
  _saved.daemonName = ReadValue(station, &KORIVrcTrackingStation::GetDaemonName);
  _saved.type = ReadValue(station, &KORIVrcTrackingStation::GetType, KORVrcStationCustom);
  _saved.reference = ReadValue(station, &KORIVrcTrackingStation::GetRef);
  _saved.port = ReadValue(station, &KORIVrcTrackingStation::GetPort);
  _saved.speed = ReadValue(station, &KORIVrcTrackingStation::GetSpeed);
  const KORIVrcTracker_var viewPoint = ReadLinked(_head.get(), &KORIVrcHead::GetViewPointTracker);
  const KORIVrcTracker_var picking = ReadLinked(_hand.get(), &KORIVrcHandDevice::GetPickingTracker);
  for (const KORIVrcTracker_var& tracker : GetTrackersOf(station)) {
    const std::optional<int> number = GetTrackerNumber(tracker.get());
    if (!number)
      continue;
    _saved.trackerNumbers.Append(*number);
    _savedTrackers.push_back({*number, ReadValue(tracker.get(), &KORIVrcTracker::GetOffset),
                              ReadLinked(tracker.get(), &KORIVrcTracker::GetTrackedElement),
                              Same(tracker.get(), viewPoint.get()),
                              Same(tracker.get(), picking.get()),
                              _hand && _hand->IsButtonManager(tracker.get())});
  }
}

std::vector<KORIVrcTrackingStation_var> KORVrcTrackingStationCmd::GetAllStations() {
  std::vector<KORIVrcTrackingStation_var> stations;
  KORIVrcDevices_var devices;
  KORListValKORBaseUnknown_var* listed = nullptr;
  if (!GetFactory() || FAILED(GetFactory()->RetrieveDevices(devices.Out())) ||
      FAILED(devices->GetTrackingStations(&listed)))
    return stations;
  const KOROwnedList owned(listed);
  for (const KORBaseUnknown_var& element : *owned)
    if (KORIVrcTrackingStation_var station = KORQuery<KORIVrcTrackingStation>(element))
      stations.push_back(station);
  return stations;
}

void KORVrcTrackingStationCmd::GetNamesOfKind(KORListValKORUnicodeString& oNames) {
  for (const KORIVrcTrackingStation_var& station : GetAllStations()) {
    KORUnicodeString name;
    if (SUCCEEDED(station->GetName(name)))
      oNames.Append(name);
  }
}

void KORVrcTrackingStationCmd::GatherDaemonNames() {
  for (const KORIVrcTrackingStation_var& station : GetAllStations()) {
    KORUnicodeString name;
    // The edited station may keep its own daemon name.
    if (!Same(station.get(), _station.get()) && SUCCEEDED(station->GetDaemonName(name)))
      _daemonNames.Append(name);
  }
}

KORUnicodeString KORVrcTrackingStationCmd::GetDialogName() {
  return _stationDialog->GetStationName();
}

void KORVrcTrackingStationCmd::InitDialog() {
  TraceMethod("InitDialog()");
  GatherDaemonNames();
  if (!IsCreating()) {
    _stationDialog->SetValues(_saved);
    return;
  }
  KORVrcTrackingStationValues values;
  values.name = ComposeDefaultName("TrackingStation", 1);
  values.type = KORVrcStationPolhemus;
  values.daemonName =
      ComposeName(KORVrcTraitsOfStationKind(values.type).daemonBase, _daemonNames, 1);
  values.reference.SetVector(KORMathVector(0, 0, kDefaultReferenceZ));
  values.speed = kDefaultSpeed;
  _stationDialog->SetValues(values);
}

bool KORVrcTrackingStationCmd::OnChangeType(void*) {
  TraceMethod("OnChangeType()");
  const KORVrcTrackingStationType type = _stationDialog->GetTrackingStationType();
  _stationDialog->SetDaemonName(
      ComposeName(KORVrcTraitsOfStationKind(type).daemonBase, _daemonNames, 1));
  _stationDialog->SetType(type);
  return true;
}

void KORVrcTrackingStationCmd::ShowRefusal(const char* iKey, const KORUnicodeString& iSubject) {
  std::shared_ptr<const KORMsgCatalog> catalog;
  KORUnicodeString text, error;
  if (FAILED(KORFindMsgCatalog("KORVrcTrackingStationCmd", catalog, error)) ||
      FAILED(catalog->BuildMessage(iKey, text)))
    text = iKey;
  KORShowUserMessage(iKey, KORUserMessageStyle::Error, GetName(), iSubject + text);
}

bool KORVrcTrackingStationCmd::CheckValues() {
  const KORVrcTrackingStationValues values = _stationDialog->GetValues();
  if (_daemonNames.Locate(values.daemonName) != 0) {
    ShowRefusal("DaemonNameTaken", "\"" + values.daemonName + "\" ");
    return false;
  }
  if (values.type == KORVrcStationART && (values.port < 1 || values.port > kMaxPort)) {
    ShowRefusal("NetworkPortMissing", {});
    return false;
  }
  return AcceptsText(values.daemonName, KORVrcDaemonNameProblem(values.daemonName));
}

bool KORVrcTrackingStationCmd::CreateTrackers(const KORRawCollint& iNumbers) {
  bool created = true;
  for (int number : iNumbers) {
    KORIVrcTracker_var tracker;
    created = SUCCEEDED(GetFactory()->CreateTracker(std::to_string(number), tracker.Out(),
                                                    _station.get())) &&
              created;
  }
  return created;
}

bool KORVrcTrackingStationCmd::WriteStation(const KORVrcTrackingStationValues& iValues) {
  const HRESULT results[] = {
      _station->SetName(iValues.name),   _station->SetRef(iValues.reference),
      _station->SetType(iValues.type),   _station->SetPort(iValues.port),
      _station->SetSpeed(iValues.speed), _station->SetDaemonName(iValues.daemonName)};
  return std::all_of(std::begin(results), std::end(results),
                     [](HRESULT iResult) { return SUCCEEDED(iResult); });
}

KORBaseUnknown_var KORVrcTrackingStationCmd::CreateElement() {
  const KORVrcTrackingStationValues values = _stationDialog->GetValues();
  KORIVrcTrackingStation_var station;
  const HRESULT made = GetFactory()->CreateTrackingStation(values.type, values.name, station.Out());
  _station = station;
  if (SUCCEEDED(made) && SUCCEEDED(_station->SetRef(values.reference)) &&
      CreateTrackers(values.trackerNumbers) && WriteStation(values))
    return KORBaseUnknown_var(station.get());
  KORVrcControllerTrace().Write("Creation of Tracking Station has FAILED");
  // Nothing half-made stays in the document.
  KORIVrcDevices_var devices;
  if (station && SUCCEEDED(GetFactory()->RetrieveDevices(devices.Out())))
    KORIgnoreResult(devices->RemoveTrackingStation(station.get()),
                    "a station that cannot be unlisted is beyond repair here");
  _station = nullptr;
  return {};
}

bool KORVrcTrackingStationCmd::WriteValues() {
  if (!_station)
    return false;
  _written = true;
  const KORVrcTrackingStationValues values = _stationDialog->GetValues();
  KORRawCollint toCreate = values.trackerNumbers;
  bool written = true;
  for (const KORIVrcTracker_var& tracker : GetTrackersOf(_station.get())) {
    const std::optional<int> number = GetTrackerNumber(tracker.get());
    if (!number)
      continue; // not one of the dialog's trackers
    if (const int position = toCreate.Locate(*number)) {
      toCreate.RemovePosition(position);
      continue;
    }
    // The head and the hand device lose a tracker that goes.
    if (_head &&
        Same(ReadLinked(_head.get(), &KORIVrcHead::GetViewPointTracker).get(), tracker.get()))
      written = SUCCEEDED(_head->SetViewPointTracker(nullptr)) && written;
    if (_hand &&
        Same(ReadLinked(_hand.get(), &KORIVrcHandDevice::GetPickingTracker).get(), tracker.get()))
      written = SUCCEEDED(_hand->SetPickingTracker(nullptr)) && written;
    written = SUCCEEDED(_station->RemoveTracker(tracker.get())) && written;
  }
  written = CreateTrackers(toCreate) && written;
  // A Polhemus station's trackers carry no buttons.
  if (values.type == KORVrcStationPolhemus && _hand)
    for (const KORIVrcTracker_var& tracker : GetTrackersOf(_station.get()))
      if (_hand->IsButtonManager(tracker.get()))
        written =
            SUCCEEDED(_hand->SetButtonManager(static_cast<KORIVrcTracker*>(nullptr))) && written;
  return WriteStation(values) && written;
}

bool KORVrcTrackingStationCmd::RestoreValues() {
  if (!_station)
    return false;
  if (!_written)
    return true; // nothing was changed
  bool restored = true;
  for (const KORIVrcTracker_var& tracker : GetTrackersOf(_station.get()))
    restored = SUCCEEDED(_station->RemoveTracker(tracker.get())) && restored;
  restored = WriteStation(_saved) && restored;
  for (const SavedTracker& saved : _savedTrackers) {
    KORIVrcTracker_var tracker;
    if (!GetFactory() || FAILED(GetFactory()->CreateTracker(std::to_string(saved.number),
                                                            tracker.Out(), _station.get()))) {
      restored = false;
      continue;
    }
    restored = SUCCEEDED(tracker->SetOffset(saved.offset)) && restored;
    if (saved.trackedElement)
      restored = SUCCEEDED(tracker->SetTrackedElement(saved.trackedElement.get())) && restored;
    if (saved.viewPoint && _head)
      restored = SUCCEEDED(_head->SetViewPointTracker(tracker.get())) && restored;
    if (saved.picking && _hand)
      restored = SUCCEEDED(_hand->SetPickingTracker(tracker.get())) && restored;
    if (saved.buttons && _hand)
      restored = SUCCEEDED(_hand->SetButtonManager(tracker.get())) && restored;
  }
  return restored;
}

extern "C" KORCommand* fctCreateKORVrcTrackingStationCmd(void* iStation) {
  return new KORVrcTrackingStationCmd(static_cast<KORIVrcTrackingStation*>(iStation));
}
