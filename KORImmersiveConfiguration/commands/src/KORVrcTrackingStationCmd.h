#pragma once
// Creates or edits a tracking station with its trackers. The trackers are
// the ticked numbers of the dialog: OK and Apply create the trackers of newly
// ticked numbers and remove those of unticked ones (a removed tracker that
// followed the head or gave the hand its picking ray leaves that role empty).
// Cancel after Apply gives the station back its values and its trackers, with
// their offsets, the elements they followed and their roles for the head and
// the hand device. Names and daemon names stay unique among stations, and an
// ART station needs a network port of at least 1.
#include "KORVrcEditCmd.h"
#include "KORVrcTrackingStationDlg.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"

#include <vector>

class KORVrcTrackingStationCmd : public KORVrcEditCmd {
public:
  explicit KORVrcTrackingStationCmd(KORIVrcTrackingStation* iStation);
  void Cancel() override;

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

private:
  // A tracker as it was when the command started.
  struct SavedTracker {
    int number;
    KORMathTransformation offset;
    KORIVrcTrackedElement_var trackedElement;
    bool viewPoint; // the head's viewpoint tracker
    bool picking;   // the hand device's picking tracker
    bool buttons;   // the hand device's button manager
  };

  bool OnChangeType(void*);
  void RetrievePointers();
  std::vector<KORIVrcTrackingStation_var> GetAllStations();
  // The daemon names of the other stations.
  void GatherDaemonNames();
  // Makes the trackers numbered iNumbers on the station.
  bool CreateTrackers(const KORRawCollint& iNumbers);
  bool WriteStation(const KORVrcTrackingStationValues& iValues);
  void ShowRefusal(const char* iKey, const KORUnicodeString& iSubject);

  KORIVrcTrackingStation_var _station;
  KORVrcTrackingStationDlg* _stationDialog = nullptr;
  KORIVrcHead_var _head;
  KORIVrcHandDevice_var _hand;
  KORVrcTrackingStationValues _saved;
  std::vector<SavedTracker> _savedTrackers;
  KORListValKORUnicodeString _daemonNames;
  bool _written = false; // OK or Apply wrote into the edited station
};
