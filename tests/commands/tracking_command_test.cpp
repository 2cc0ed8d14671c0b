// The tracking-station and tracker commands, through the driver as a person
// would use them: the station's kind-dependent dialog and defaults, its
// trackers added and removed by OK and given back by Cancel, its refusals;
// the tracker's followed element, roles and best offset.
#include "CommandFixture.h"

#include <algorithm>

namespace {

using Numbers = std::vector<int>;

class TrackingTest : public DriverTest {
protected:
  std::vector<KORIVrcTrackingStation_var> Stations() {
    return Listed<KORIVrcTrackingStation>(Devices(), &KORIVrcDevices::GetTrackingStations);
  }
  KORIVrcTrackingStation_var Station(const KORUnicodeString& iName) {
    for (const KORIVrcTrackingStation_var& station : Stations())
      if (ReadValue<KORIVrcElement>(station.get(), &KORIVrcElement::GetName) == iName)
        return station;
    return {};
  }
  int StationCount() { return static_cast<int>(Stations().size()); }
  static std::vector<KORIVrcTracker_var> Trackers(KORIVrcTrackingStation* iStation) {
    return Listed<KORIVrcTracker>(iStation, &KORIVrcTrackingStation::GetTrackers);
  }
  static int Number(KORIVrcTracker* iTracker) {
    KORUnicodeString name;
    EXPECT_EQ(iTracker->GetName(name), S_OK);
    return std::stoi(name);
  }
  // The numbers of the station's trackers, in increasing order.
  Numbers TrackerNumbers(KORIVrcTrackingStation* iStation) {
    Numbers numbers;
    for (const KORIVrcTracker_var& tracker : Trackers(iStation))
      numbers.push_back(Number(tracker.get()));
    std::sort(numbers.begin(), numbers.end());
    return numbers;
  }
  KORIVrcTracker_var Tracker(KORIVrcTrackingStation* iStation, int iNumber) {
    for (const KORIVrcTracker_var& tracker : Trackers(iStation))
      if (Number(tracker.get()) == iNumber)
        return tracker;
    return {};
  }
  // The number of the head's viewpoint tracker; -1 without one.
  int ViewPointNumber() {
    KORIVrcTracker_var tracker;
    return SUCCEEDED(Head()->GetViewPointTracker(tracker.Out())) ? Number(tracker.get()) : -1;
  }
  int PickingNumber() {
    KORIVrcTracker_var tracker;
    return SUCCEEDED(Hand()->GetPickingTracker(tracker.Out())) ? Number(tracker.get()) : -1;
  }
  // The number of the tracker of iStation delivering the hand's buttons; -1.
  int ButtonManagerNumber(KORIVrcTrackingStation* iStation) {
    for (const KORIVrcTracker_var& tracker : Trackers(iStation))
      if (Hand()->IsButtonManager(tracker.get()))
        return Number(tracker.get());
    return -1;
  }
  // A station as the person finds it (made directly, not through the dialog).
  KORIVrcTrackingStation_var MakeStation(const char* iName, KORVrcTrackingStationType iType,
                                         const char* iDaemon, const Numbers& iNumbers) {
    KORIVrcTrackingStation_var station = build.Station(iName, iType, iDaemon);
    for (int number : iNumbers)
      build.Tracker(station.get(), number);
    return station;
  }
  bool IsHidden(const char* iWidget) {
    KORString error;
    const HRESULT result = driver.Perform(KORString("expect ") + iWidget + " \"\"", error);
    return FAILED(result) && error.find("is hidden") != KORString::npos;
  }
  static KORMathTransformation At(double iX, double iY, double iZ) {
    return KORMathTransformation(KORMath3x3Matrix(), KORMathVector(iX, iY, iZ));
  }
};

class TrackingStationCommandTest : public TrackingTest {};

TEST_F(TrackingStationCommandTest, ANewStationTakesTheDefaultsOfItsKind) {
  MakeStation("TrackingStation1", KORVrcStationPolhemus, "Polhemus1", {});
  const struct {
    const char* kind; // the line chosen; null keeps the default kind
    KORVrcTrackingStationType type;
    int boxes;
    bool daemonShown;
    bool ethernet;
    const char* daemon;
    int port;
  } cases[] = {
      {nullptr, KORVrcStationPolhemus, 4, false, false, "Polhemus2", 0},
      {"Custom", KORVrcStationCustom, 8, true, false, "CUSTOM1", 0},
      {"IS900", KORVrcStationIS900, 8, false, false, "Polhemus2", 0},
      {"ART", KORVrcStationART, 16, false, true, "ART1", 5000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind ? c.kind : "default kind");
    Perform({"start btnCreateTrackingStation", "expect NameEditor TrackingStation2",
             "expect TypeCombo Polhemus", "expect SpeedSpinner 115200", "expect XSpinEdit 0",
             "expect ZSpinEdit -750", "expect HSpinEdit 0"});
    if (c.kind)
      Perform({KORString("choose TypeCombo ") + c.kind});
    EXPECT_EQ(IsHidden("EditorDaemonName"), !c.daemonShown);
    EXPECT_EQ(IsHidden("EthernetPortEdt"), !c.ethernet);
    EXPECT_EQ(IsHidden("PortCombo"), c.ethernet);
    EXPECT_EQ(IsHidden("SpeedSpinner"), c.ethernet);
    // The last box of the kind can be ticked, the next one is not there.
    Perform({"set " + std::to_string(c.boxes - 1) + " on"});
    if (c.boxes < 16)
      Refused(("set " + std::to_string(c.boxes) + " on").c_str());
    Perform({"press OK"});
    ASSERT_FALSE(DialogOpen());

    KORIVrcTrackingStation_var made = Station("TrackingStation2");
    ASSERT_TRUE(made);
    EXPECT_EQ(ReadValue(made.get(), &KORIVrcTrackingStation::GetType), c.type);
    EXPECT_EQ(ReadValue(made.get(), &KORIVrcTrackingStation::GetDaemonName), c.daemon);
    EXPECT_EQ(ReadValue(made.get(), &KORIVrcTrackingStation::GetPort), c.port);
    EXPECT_EQ(ReadValue(made.get(), &KORIVrcTrackingStation::GetSpeed), 115200);
    EXPECT_TRUE(ReadValue(made.get(), &KORIVrcTrackingStation::GetRef).IsEqual(At(0, 0, -750)));
    EXPECT_EQ(TrackerNumbers(made.get()), Numbers{c.boxes - 1});
    ASSERT_EQ(Devices()->RemoveTrackingStation(made.get()), S_OK);
  }
}

TEST_F(TrackingStationCommandTest, OKAddsAndRemovesTrackersAndCancelGivesThemBack) {
  WithoutTransactions();
  // clang-format off
  const struct {
    const char* what;
    std::vector<KORString> lines;
    Numbers numbers;
    int viewPoint, picking, buttons; // tracker numbers, -1 for none
    KORVrcTrackingStationType type;
  } cases[] = {
      {"OK removes unticked trackers, which leave their roles, and adds ticked ones",
       {"set 1 off", "set 2 off", "set 3 on", "press OK"},
       {0, 3}, -1, -1, 0, KORVrcStationIS900},
      {"Apply then Cancel gives back trackers, roles and values",
       {"set 1 off", "set 0 off", "set 3 on", "choose TypeCombo ART", "set 12 on",
        "set NameEditor Moved", "press Apply", "press Cancel"},
       {0, 1, 2}, 1, 2, 0, KORVrcStationIS900},
      {"a Polhemus station's trackers deliver no buttons",
       {"choose TypeCombo Polhemus", "press OK"},
       {0, 1, 2}, 1, 2, -1, KORVrcStationPolhemus},
  };
  // clang-format on
  int run = 0;
  for (const auto& c : cases) {
    const KORString name = "Lab" + std::to_string(++run);
    KORIVrcTrackingStation_var station =
        MakeStation(name.c_str(), KORVrcStationIS900, name.c_str(), {1, 2});
    KORIVrcTracker_var first = build.Tracker(station.get(), 0, "head", At(10, 20, 30));
    ASSERT_EQ(Head()->SetViewPointTracker(Tracker(station.get(), 1).get()), S_OK);
    ASSERT_EQ(Hand()->SetPickingTracker(Tracker(station.get(), 2).get()), S_OK);
    ASSERT_EQ(Hand()->SetButtonManager(first.get()), S_OK);

    Perform({"edit station:" + name, "expect 0 on", "expect 1 on", "expect 3 off"});
    Perform(c.lines);
    EXPECT_FALSE(DialogOpen()) << c.what;
    station = Station(name);
    ASSERT_TRUE(station) << c.what;
    EXPECT_EQ(TrackerNumbers(station.get()), c.numbers) << c.what;
    EXPECT_EQ(ViewPointNumber(), c.viewPoint) << c.what;
    EXPECT_EQ(PickingNumber(), c.picking) << c.what;
    EXPECT_EQ(ButtonManagerNumber(station.get()), c.buttons) << c.what;
    EXPECT_EQ(ReadValue(station.get(), &KORIVrcTrackingStation::GetType), c.type) << c.what;
    // Tracker 0 is kept or given back with its offset and its followed element.
    KORIVrcTracker_var kept = Tracker(station.get(), 0);
    ASSERT_TRUE(kept) << c.what;
    EXPECT_TRUE(ReadValue(kept.get(), &KORIVrcTracker::GetOffset).IsEqual(At(10, 20, 30)))
        << c.what;
    KORIVrcTrackedElement_var followed;
    EXPECT_EQ(kept->GetTrackedElement(followed.Out()), S_OK) << c.what;
    EXPECT_TRUE(Same(followed.get(), Head().get())) << c.what;
  }
}

TEST_F(TrackingStationCommandTest, WithTheDocumentHistoryCancelAndUndoGiveTheTrackersBack) {
  KORIVrcTrackingStation_var station = MakeStation("Lab", KORVrcStationIS900, "labd", {0, 1, 2});
  ASSERT_EQ(Head()->SetViewPointTracker(Tracker(station.get(), 1).get()), S_OK);
  const struct {
    std::vector<KORString> lines;
    Numbers numbers;
    int viewPoint;
  } steps[] = {{{"edit station:Lab", "set 1 off", "press Apply", "press Cancel"}, {0, 1, 2}, 1},
               {{"edit station:Lab", "set 1 off", "press OK"}, {0, 2}, -1},
               {{"undo"}, {0, 1, 2}, 1},
               {{"redo"}, {0, 2}, -1}};
  for (const auto& step : steps) {
    Perform(step.lines);
    EXPECT_EQ(TrackerNumbers(station.get()), step.numbers) << step.lines.back();
    EXPECT_EQ(ViewPointNumber(), step.viewPoint) << step.lines.back();
  }
}

TEST_F(TrackingStationCommandTest, ApplyThenCancelDeletesTheNewStationWithItsTrackers) {
  WithoutTransactions();
  Perform({"start btnCreateTrackingStation", "set NameEditor Fresh", "set 0 on", "set 2 on",
           "press Apply"});
  KORIVrcTrackingStation_var made = Station("Fresh");
  ASSERT_TRUE(made);
  EXPECT_EQ(TrackerNumbers(made.get()), (Numbers{0, 2}));
  Perform({"set 2 off", "set 3 on", "press Apply"});
  EXPECT_EQ(TrackerNumbers(made.get()), (Numbers{0, 3})) << "the next Apply edits the new station";
  Perform({"press Cancel"});
  EXPECT_EQ(StationCount(), 0);
}

TEST_F(TrackingStationCommandTest, RefusesTakenNamesAndAnARTStationWithoutPort) {
  MakeStation("Lab", KORVrcStationCustom, "labd", {});
  KORIVrcTrackingStation_var hall = MakeStation("Hall", KORVrcStationCustom, "halld", {});
  const struct {
    const char* start;
    std::vector<KORString> lines;
    const char* message; // null: accepted
  } cases[] = {
      {"edit station:Hall", {"set NameEditor Lab"}, "\"Lab\" is already the name"},
      {"edit station:Hall", {"set EditorDaemonName labd"}, "\"labd\" is already the daemon name"},
      {"start btnCreateTrackingStation",
       {"choose TypeCombo Custom", "set EditorDaemonName halld"},
       "\"halld\" is already the daemon name"},
      {"start btnCreateTrackingStation",
       {"choose TypeCombo ART", "expect EthernetPortEdt 5000", "set EthernetPortEdt 0"},
       "needs a network port"},
      {"edit station:Hall", {"set NameEditor Hall", "set EditorDaemonName halld"}, nullptr},
  };
  for (const auto& c : cases) {
    Perform({c.start});
    Perform(c.lines);
    Perform({"press OK"});
    if (!c.message) {
      EXPECT_FALSE(DialogOpen()) << "keeping its own name and daemon name is accepted";
      continue;
    }
    EXPECT_TRUE(DialogOpen()) << c.message;
    ExpectMessage(c.message);
    Perform({"press Cancel"});
    EXPECT_EQ(StationCount(), 2) << c.message;
    EXPECT_EQ(ReadValue<KORIVrcElement>(hall.get(), &KORIVrcElement::GetName), "Hall");
    EXPECT_EQ(ReadValue(hall.get(), &KORIVrcTrackingStation::GetDaemonName), "halld");
  }
}

class TrackerCommandTest : public TrackingTest {
protected:
  void SetUp() override {
    TrackingTest::SetUp();
    WithoutTransactions();
    // Crystal eyes on a Polhemus station have a best offset; the default
    // (custom) hand device has none.
    ASSERT_EQ(Head()->SetType(KORVrcHeadCrystalEyes), S_OK);
  }
  // A Polhemus station with trackers 0 and 1; tracker 0 follows the head at
  // (1, 2, 3) and gives the viewpoint, tracker 1 follows nothing; the hand
  // device has no picking tracker.
  KORIVrcTrackingStation_var MakeLab(const char* iName) {
    KORIVrcTrackingStation_var lab = MakeStation(iName, KORVrcStationPolhemus, iName, {1});
    KORIVrcTracker_var first = build.Tracker(lab.get(), 0, "head", At(1, 2, 3));
    EXPECT_EQ(Head()->SetViewPointTracker(first.get()), S_OK);
    EXPECT_EQ(Hand()->SetPickingTracker(nullptr), S_OK);
    return lab;
  }
  // What the tracker follows: "head", "hand" or "" for nothing.
  static KORString Followed(KORIVrcTracker* iTracker) {
    KORIVrcTrackedElement_var element;
    if (FAILED(iTracker->GetTrackedElement(element.Out())))
      return "";
    if (KORQuery<KORIVrcHead>(element))
      return "head";
    return KORQuery<KORIVrcHandDevice>(element) ? "hand" : "another element";
  }
};

TEST_F(TrackerCommandTest, ShowsTheTrackerAndWritesWhatItFollowsAndItsRoles) {
  // The best offset of Crystal eyes on Polhemus, worked out by hand: the
  // sensor turned by 90 degrees about X, at (-55, 75, 0).
  const KORMathTransformation best(
      KORMath3x3Matrix(KORMathVector(1, 0, 0), KORMathVector(0, 0, 1), KORMathVector(0, -1, 0)),
      KORMathVector(-55, 75, 0));
  // clang-format off
  const struct {
    const char* what;
    int tracker;
    std::vector<KORString> lines;
    const char* followed;
    int viewPoint, picking;
    KORMathTransformation offset;
  } cases[] = {
      {"the best-offset button writes the model's best offset", 0,
       {"expect NameEditor \"Tracker 0 on Lab1\"", "expect ComboTrackedElement Head",
        "expect CheckButtonTrackedElement on", "expect XSpinEdit 1", "push PushButton040",
        "expect XSpinEdit -55", "expect YSpinEdit 75", "expect ZSpinEdit 0", "expect HSpinEdit 0",
        "expect PSpinEdit 0", "expect RSpinEdit 90", "press OK"},
       "head", 0, -1, best},
      {"following another object takes the viewpoint away", 0,
       {"choose ComboTrackedElement \"Other object\"", "press OK"},
       "", -1, -1, At(1, 2, 3)},
      {"following the head proposes its best offset and takes the viewpoint", 1,
       {"expect ComboTrackedElement \"Other object\"", "choose ComboTrackedElement Head",
        "expect XSpinEdit -55", "expect CheckButtonTrackedElement on", "press OK"},
       "head", 1, -1, best},
      {"without best offset the typed offset stays", 1,
       {"set XSpinEdit 7", "choose ComboTrackedElement \"Hand device\"", "expect XSpinEdit 7",
        "press OK"},
       "hand", 0, 1, At(7, 0, 0)},
      {"an unticked box gives no role", 1,
       {"choose ComboTrackedElement \"Hand device\"", "set CheckButtonTrackedElement off",
        "press OK"},
       "hand", 0, -1, At(0, 0, 0)},
      {"Cancel after Apply gives back offset, followed element and roles", 0,
       {"set XSpinEdit 9", "choose ComboTrackedElement \"Other object\"",
        "choose ComboTrackedElement \"Hand device\"", "expect CheckButtonTrackedElement on",
        "press Apply", "press Cancel"},
       "head", 0, -1, At(1, 2, 3)},
  };
  // clang-format on
  int run = 0;
  for (const auto& c : cases) {
    const KORString name = "Lab" + std::to_string(++run);
    KORIVrcTrackingStation_var lab = MakeLab(name.c_str());
    Perform({"edit tracker:" + name + "/" + std::to_string(c.tracker)});
    Perform(c.lines);
    EXPECT_FALSE(DialogOpen()) << c.what;
    KORIVrcTracker_var tracker = Tracker(lab.get(), c.tracker);
    EXPECT_EQ(Followed(tracker.get()), c.followed) << c.what;
    EXPECT_EQ(ViewPointNumber(), c.viewPoint) << c.what;
    EXPECT_EQ(PickingNumber(), c.picking) << c.what;
    EXPECT_TRUE(ReadValue(tracker.get(), &KORIVrcTracker::GetOffset).IsEqual(c.offset, 1e-9))
        << c.what;
  }
}

TEST_F(TrackerCommandTest, TheButtonManagerBoxFollowsTheStationKindAndNumber) {
  MakeLab("Lab");
  KORIVrcTrackingStation_var art = MakeStation("Art", KORVrcStationART, "ART1", {7, 8});
  MakeStation("Flock", KORVrcStationFlockOfBirds, "FlockOfBirds1", {0});
  const struct {
    const char* tracker;
    bool shown;
  } cases[] = {{"Lab/0", false}, {"Art/7", false}, {"Art/8", true}, {"Flock/0", true}};
  for (const auto& c : cases) {
    Perform({KORString("edit tracker:") + c.tracker});
    EXPECT_EQ(IsHidden("CheckButtonManager"), !c.shown) << c.tracker;
    Perform({"press Cancel"});
  }

  KORIVrcTracker_var eight = Tracker(art.get(), 8);
  Perform({"edit tracker:Art/8", "expect CheckButtonManager off", "set CheckButtonManager on",
           "press OK"});
  EXPECT_TRUE(Hand()->IsButtonManager(eight.get()));
  Perform({"edit tracker:Art/8", "expect CheckButtonManager on", "set CheckButtonManager off",
           "press Apply"});
  EXPECT_FALSE(Hand()->IsButtonManager(eight.get()));
  Perform({"press Cancel"});
  EXPECT_TRUE(Hand()->IsButtonManager(eight.get())) << "Cancel gives the role back";

  // OK on a tracker whose box was hidden took the buttons away from it.
  KORIVrcTracker_var seven = Tracker(art.get(), 7);
  ASSERT_EQ(Hand()->SetButtonManager(seven.get()), S_OK);
  Perform({"edit tracker:Art/7", "press OK"});
  EXPECT_TRUE(Hand()->IsButtonManager(seven.get()));
}

TEST_F(TrackerCommandTest, WithoutBestOffsetTheButtonCannotBePushed) {
  KORIVrcTrackingStation_var lab = MakeLab("Lab");
  Perform({"edit tracker:Lab/1"});
  const KORString refused = Refused("push PushButton040");
  EXPECT_NE(refused.find("insensitive"), KORString::npos) << refused;
  Perform({"press Cancel"});
  EXPECT_TRUE(ReadValue(Tracker(lab.get(), 1).get(), &KORIVrcTracker::GetOffset).IsIdentity());
}

} // namespace
