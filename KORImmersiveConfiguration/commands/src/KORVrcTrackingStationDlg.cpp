#include "KORVrcTrackingStationDlg.h"
#include "KORVrcDlgTools.h"

#include "dialog/KORDlgNotifications.h"

#include <cstdio>

namespace {
constexpr int kSerialPorts = 10;
constexpr double kMaxSpeed = 115200;
constexpr int kSpeedSteps = 12;
// What a network port below 1 becomes when the network port is shown.
constexpr int kDefaultEthernetPort = 5000;
constexpr int kTrackersPerRow = 8;

// By kind value, in the order of KORVrcTrackingStationType.
constexpr KORVrcStationKindTraits kKindTraits[] = {
    {8, "CUSTOM"}, {8, "Polhemus"}, {4, "Polhemus"}, {8, "FlockOfBirds"}, {16, "ART"}};

void Show(std::initializer_list<KORDlgObject*> iWidgets, bool iVisible) {
  for (KORDlgObject* widget : iWidgets)
    widget->SetVisibility(iVisible);
}
} // namespace

KORVrcStationKindTraits KORVrcTraitsOfStationKind(KORVrcTrackingStationType iType) {
  const auto index = static_cast<std::size_t>(iType);
  return index < std::size(kKindTraits) ? kKindTraits[index] : kKindTraits[KORVrcStationCustom];
}

KORVrcTrackingStationDlg::KORVrcTrackingStationDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcTrackingStationDlg", KORDlgOK | KORDlgCancel | KORDlgApply) {}

void KORVrcTrackingStationDlg::Build() {
  // Captions come from the catalog; a missing one shows the widget's name.
  if (FAILED(LoadMessageCatalog("KORVrcTrackingStationDlg")))
    SetTitle("KORVrcTrackingStationDlg");
  auto* frame = new KORDlgFrame(this, "Frame012");
  new KORDlgLabel(frame, "Label013");
  _nameEditor = new KORDlgEditor(frame, "NameEditor");
  new KORDlgLabel(frame, "Label015");
  _typeCombo = new KORDlgCombo(frame, "TypeCombo");
  KORVrcFillCombo(*_typeCombo, "KORVrcTrackingStationType", KORVrcTrackingStationTypeLabels);

  for (const char* label : {"Label002", "Label003", "Label004", "Label005", "Label007", "Label008",
                            "Label009", "Label010"})
    new KORDlgLabel(frame, label);
  _reference.Build(frame);
  new KORDlgSeparator(frame, "Separator048");

  _daemonLabel = new KORDlgLabel(frame, "LabelDaemon");
  _daemonEditor = new KORDlgEditor(frame, "EditorDaemonName");
  _portLabel = new KORDlgLabel(frame, "Label053");
  _portCombo = new KORDlgCombo(frame, "PortCombo");
  for (int port = 1; port <= kSerialPorts; ++port)
    _portCombo->SetLine("COM " + std::to_string(port));
  _speedLabel = new KORDlgLabel(frame, "Label055");
  _speedSpinner = KORVrcMakeSpeedSpinner(frame, kMaxSpeed, kSpeedSteps);
  _ethernetEditor = new KORDlgEditor(frame, "EthernetPortEdt", KORDlgEditor::Integer);
  _ethernetLabel = new KORDlgLabel(frame, "Label057");
  new KORDlgSeparator(frame, "Separator050");

  auto* trackers = new KORDlgFrame(frame, "Frame052");
  new KORDlgLabel(trackers, "Label051");
  _upperTrackersLabel = new KORDlgLabel(trackers, "Label056");
  for (int number = 0; number < MaxTrackers; ++number) {
    auto* button = new KORDlgCheckButton(trackers, std::to_string(number));
    // Two rows of eight, each counting 0 to 7.
    button->SetTitle(std::to_string(number % kTrackersPerRow));
    _trackerButtons[static_cast<std::size_t>(number)] = button;
  }

  AddAnalyseNotificationCB(_typeCombo, KORDlgComboSelectNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) { SendTypeChange(); });
  SetType(KORVrcStationPolhemus);
}

void KORVrcTrackingStationDlg::SendTypeChange() {
  KORVrcChangeTypeTrackingStation notification;
  KORIgnoreResult(SendNotification(GetFather(), notification),
                  "the command decides what a change of kind does");
}

KORVrcTrackingStationType KORVrcTrackingStationDlg::GetTrackingStationType() const {
  const int line = _typeCombo->GetSelect();
  return line >= 0 && line < static_cast<int>(std::size(kKindTraits))
             ? static_cast<KORVrcTrackingStationType>(line)
             : KORVrcStationCustom;
}

void KORVrcTrackingStationDlg::SetType(KORVrcTrackingStationType iType) {
  const int shown = KORVrcTraitsOfStationKind(iType).trackerButtons;
  for (int number = 0; number < MaxTrackers; ++number)
    _trackerButtons[static_cast<std::size_t>(number)]->SetVisibility(number < shown);
  _typeCombo->SetSelect(iType);
  ShowDaemon(iType == KORVrcStationCustom);
  SetPortType(iType == KORVrcStationART);
}

void KORVrcTrackingStationDlg::ShowDaemon(bool iShow) {
  Show({_daemonLabel, _daemonEditor}, iShow);
}

void KORVrcTrackingStationDlg::SetPortType(bool iEthernet) {
  Show({_ethernetEditor, _ethernetLabel, _upperTrackersLabel}, iEthernet);
  Show({_portCombo, _portLabel, _speedLabel, _speedSpinner}, !iEthernet);
  int port = 0;
  if (iEthernet && (FAILED(_ethernetEditor->GetIntegerValue(port)) || port < 1))
    _ethernetEditor->SetIntegerValue(kDefaultEthernetPort);
}

void KORVrcTrackingStationDlg::SetValues(const KORVrcTrackingStationValues& iValues) {
  _nameEditor->SetText(iValues.name);
  _daemonEditor->SetText(iValues.daemonName);
  SetType(iValues.type);
  _reference.Set(iValues.reference);
  for (int number = 0; number < MaxTrackers; ++number) {
    KORDlgCheckButton* button = _trackerButtons[static_cast<std::size_t>(number)];
    button->SetState(button->GetVisibility() && iValues.trackerNumbers.Locate(number) != 0);
  }
  _speedSpinner->SetValue(iValues.speed);
  if (iValues.type == KORVrcStationART)
    _ethernetEditor->SetIntegerValue(iValues.port);
  else
    _portCombo->SetSelect(iValues.port - 1);
}

KORVrcTrackingStationValues KORVrcTrackingStationDlg::GetValues() const {
  KORVrcTrackingStationValues values;
  values.name = _nameEditor->GetText();
  values.type = GetTrackingStationType();
  if (_portCombo->GetVisibility())
    values.port = _portCombo->GetSelect() + 1;
  else if (FAILED(_ethernetEditor->GetIntegerValue(values.port)))
    values.port = 0;
  values.speed = static_cast<int>(_speedSpinner->GetValue());
  values.reference = _reference.Get();
  values.daemonName = _daemonEditor->GetText();
  for (int number = 0; number < MaxTrackers; ++number) {
    const KORDlgCheckButton* button = _trackerButtons[static_cast<std::size_t>(number)];
    if (button->GetVisibility() && button->GetState())
      values.trackerNumbers.Append(number);
  }
  return values;
}
