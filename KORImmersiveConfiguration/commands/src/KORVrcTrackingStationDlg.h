#pragma once
// The tracking station's dialog: name, kind, reference frame, serial or
// network port, line speed, daemon name and one check button per tracker
// number ("0" to "15"). The kind decides what is shown: the number of tracker
// buttons, the daemon name (custom stations only) and the port (a serial port
// combo with the speed, or a network port editor for ART stations). Choosing
// another kind sends KORVrcChangeTypeTrackingStation to the command.
#include "KORVrcPlacementFields.h"
#include "dialog/KORDlgWidgets.h"
#include "interfaces/KORVrcEnums.h"
#include "system/KORList.h"

#include <array>

KOR_DECLARE_NOTIFICATION(KORVrcChangeTypeTrackingStation, KORCommandNotification)

// What the kind of a station decides in its dialog.
struct KORVrcStationKindTraits {
  int trackerButtons;     // the first n tracker numbers can be ticked
  const char* daemonBase; // the word a proposed daemon name starts with
};
KORVrcStationKindTraits KORVrcTraitsOfStationKind(KORVrcTrackingStationType iType);

struct KORVrcTrackingStationValues {
  KORUnicodeString name;
  KORVrcTrackingStationType type = KORVrcStationPolhemus;
  KORMathTransformation reference;
  KORRawCollint trackerNumbers;
  int port = 0;
  int speed = 0;
  KORUnicodeString daemonName;
};

class KORVrcTrackingStationDlg : public KORDlgDialog {
public:
  static constexpr int MaxTrackers = 16;

  explicit KORVrcTrackingStationDlg(KORCommand* iFather);
  void Build();

  void SetValues(const KORVrcTrackingStationValues& iValues);
  // The tracker numbers are those of the ticked buttons that are shown.
  KORVrcTrackingStationValues GetValues() const;

  KORUnicodeString GetStationName() const { return _nameEditor->GetText(); }
  KORUnicodeString GetDaemonName() const { return _daemonEditor->GetText(); }
  void SetDaemonName(const KORUnicodeString& iName) { _daemonEditor->SetText(iName); }
  // The kind of the combo's selected line.
  KORVrcTrackingStationType GetTrackingStationType() const;
  // Selects the kind and shows the widgets it needs.
  void SetType(KORVrcTrackingStationType iType);
  // The network port editor (true) or the serial port combo with the speed.
  void SetPortType(bool iEthernet);
  void ShowDaemon(bool iShow);

private:
  void SendTypeChange();

  KORDlgEditor* _nameEditor = nullptr;
  KORDlgCombo* _typeCombo = nullptr;
  KORVrcPlacementFields _reference;
  KORDlgLabel* _daemonLabel = nullptr;
  KORDlgEditor* _daemonEditor = nullptr;
  KORDlgLabel* _portLabel = nullptr;
  KORDlgCombo* _portCombo = nullptr;
  KORDlgLabel* _speedLabel = nullptr;
  KORDlgSpinner* _speedSpinner = nullptr;
  KORDlgEditor* _ethernetEditor = nullptr;
  KORDlgLabel* _ethernetLabel = nullptr;
  KORDlgLabel* _upperTrackersLabel = nullptr;
  std::array<KORDlgCheckButton*, MaxTrackers> _trackerButtons{};
};
