// The live tracking test and its dialog, through the driver: the runtime's
// configuration check, what the dialog reports missing, and the head and hand
// following the events and going back on Stop.
#include "CommandFixture.h"
#include "vr/KORVRConfigRegistry.h"

namespace {

// The station's frame: turned a quarter about Z and moved 1 m along X, so that
// a wrong order of the transformations shows.
KORMathTransformation StationRef() {
  return KORMathTransformation(
      KORMath3x3Matrix(KORMathVector(0, 1, 0), KORMathVector(-1, 0, 0), KORMathVector(0, 0, 1)),
      KORMathVector(1000, 0, 0));
}

// A location: position, then the rotation's rows. A sensor with no turn,
// seen through StationRef and turned from the sensor's axes to the element's,
// gives the rows (0, 0, -1), (0, -1, 0), (-1, 0, 0).
struct Expected {
  double x, y, z;
  double rows[3][3];
};

void ExpectLocation(KORBaseUnknown* iElement, const Expected& iExpected) {
  KORMathTransformation location;
  ASSERT_EQ(KORQuery<KORIVrcTrackedElement>(iElement)->GetLocation(location), S_OK);
  const KORMathVector position = location.GetVector();
  EXPECT_NEAR(position.GetX(), iExpected.x, 1e-9);
  EXPECT_NEAR(position.GetY(), iExpected.y, 1e-9);
  EXPECT_NEAR(position.GetZ(), iExpected.z, 1e-9);
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      EXPECT_NEAR(location.GetMatrix().GetCoef(row + 1, column + 1), iExpected.rows[row][column],
                  1e-12)
          << "row " << row + 1 << ", column " << column + 1;
}

bool SameLocation(const KORMathTransformation& iA, const KORMathTransformation& iB) {
  std::array<double, 12> a{}, b{};
  iA.GetCoef(a);
  iB.GetCoef(b);
  return a == b;
}

class TestTrackingTest : public DriverTest {
protected:
  void SetUp() override {
    DriverTest::SetUp();
    head = Head();
    hand = Hand();
    // Somewhere the test's events never put them.
    Place(head, ConfigBuilder::Placement(1, 2, 1700));
    Place(hand, ConfigBuilder::Placement(300, -200, 1100));
    savedHead = LocationOf(head);
    savedHand = LocationOf(hand);
    // The sensors the tracking source reports: body 1 the head's viewpoint
    // tracker, body 2 the hand's picking tracker.
    KORVRDeviceManager mapping("Lab");
    ASSERT_EQ(mapping.SetHeadBody(1, KORVRViewportEventName), S_OK);
    ASSERT_EQ(mapping.SetHandBody(2), S_OK);
    frame.DeviceService().SetMapping(mapping);
    // The model's side: a station whose tracker 1 is the head's viewpoint
    // tracker and 2 the hand's picking tracker.
    KORIVrcTrackingStation_var station =
        build.Station("Lab", KORVrcStationART, "Lab", 1, 115200, StationRef());
    ASSERT_EQ(head->SetViewPointTracker(build.Tracker(station.get(), 1, "head").get()), S_OK);
    ASSERT_EQ(hand->SetPickingTracker(build.Tracker(station.get(), 2, "hand").get()), S_OK);
  }

  KORIVrcHead_var head;
  KORIVrcHandDevice_var hand;
  KORMathTransformation savedHead, savedHand;
};

TEST_F(TestTrackingTest, HeadAndHandFollowTheSensorsAndStopPutsThemBack) {
  Perform({"runtime document", "start btnTestTracking", "expect Label018 \"\"",
           "expect Label020 \"\"", "expect Label021 \"\"", "set CheckButton005 on",
           "set CheckButton006 on", "push PushButton007",
           "event VIEWPORT_EVENT 10 0 0 0 0 0", "event POSITION_EVENT 0 10 0 0 0 0"});
  ExpectLocation(head, {1000, 10, 0, {{0, 0, -1}, {0, -1, 0}, {-1, 0, 0}}});
  ExpectLocation(hand, {990, 0, 0, {{0, 0, -1}, {0, -1, 0}, {-1, 0, 0}}});
  // A quarter turn of the sensor about its Z: the element turns with it.
  Perform({"event VIEWPORT_EVENT 0 0 0 90 0 0"});
  ExpectLocation(head, {1000, 0, 0, {{0, 1, 0}, {0, 0, -1}, {-1, 0, 0}}});

  Perform({"push PushButton008"});
  EXPECT_TRUE(SameLocation(LocationOf(head), savedHead));
  EXPECT_TRUE(SameLocation(LocationOf(hand), savedHand));
  // Stopped: events no longer move anything.
  Perform({"event VIEWPORT_EVENT 10 0 0 0 0 0"});
  EXPECT_TRUE(SameLocation(LocationOf(head), savedHead));
  Perform({"press OK"});
  EXPECT_FALSE(DialogOpen());
}

// Every event's location write was recorded in the command's transaction, so
// that a long run grew without bound.
TEST_F(TestTrackingTest, ALongRunKeepsItsTransactionSmallAndLeavesNothingBehind) {
  KORUuid before;
  ASSERT_EQ(config->GetID(before), S_OK);
  const int undoSteps = document->GetUndoCount();
  Perform({"runtime document", "start btnTestTracking", "set CheckButton005 on",
           "set CheckButton006 on", "push PushButton007"});
  const KORFeatureStore& store = document->Store();
  int afterFirstHundred = 0;
  for (int event = 1; event <= 10000; ++event) {
    const KORString offset = std::to_string(event % 500);
    Perform({"event VIEWPORT_EVENT " + offset + " 0 0 0 0 0",
             "event POSITION_EVENT 0 " + offset + " 0 0 0 0"});
    if (event == 100)
      afterFirstHundred = store.OpenStepCount();
  }
  EXPECT_GT(afterFirstHundred, 0);
  EXPECT_EQ(store.OpenStepCount(), afterFirstHundred);

  Perform({"push PushButton008", "press OK"});
  EXPECT_EQ(document->GetUndoCount(), undoSteps);
  EXPECT_TRUE(SameLocation(LocationOf(head), savedHead));
  EXPECT_TRUE(SameLocation(LocationOf(hand), savedHand));
  KORUuid after;
  ASSERT_EQ(config->GetID(after), S_OK);
  EXPECT_EQ(after, before) << "the run left the identifier it made";
}

TEST_F(TestTrackingTest, OnlyTheTickedElementMovesAndIsRestored) {
  Perform({"runtime document", "start btnTestTracking"});
  // The hand's location changed by other means after the command began
  // stays as it is.
  const KORMathTransformation moved = ConfigBuilder::Placement(5, 5, 5);
  Place(hand, moved);
  Perform({"set CheckButton005 on", "push PushButton007", "event VIEWPORT_EVENT 10 0 0 0 0 0",
           "event POSITION_EVENT 0 10 0 0 0 0"});
  ExpectLocation(head, {1000, 10, 0, {{0, 0, -1}, {0, -1, 0}, {-1, 0, 0}}});
  EXPECT_TRUE(SameLocation(LocationOf(hand), moved));
  Perform({"push PushButton008"});
  EXPECT_TRUE(SameLocation(LocationOf(head), savedHead));
  EXPECT_TRUE(SameLocation(LocationOf(hand), moved));
}

TEST_F(TestTrackingTest, StartingAgainRestoresWhatWasThereWhenTheCommandBegan) {
  Perform({"runtime document", "start btnTestTracking", "set CheckButton005 on",
           "push PushButton007", "event VIEWPORT_EVENT 10 0 0 0 0 0", "push PushButton008"});
  Place(head, ConfigBuilder::Placement(7, 7, 7));
  Perform({"push PushButton007", "event VIEWPORT_EVENT 20 0 0 0 0 0", "push PushButton008"});
  EXPECT_TRUE(SameLocation(LocationOf(head), savedHead));
}

TEST_F(TestTrackingTest, AnotherConfigurationInTheRuntimeIsReportedAndNothingMoves) {
  Perform({"runtime 00000000-0000-0000-0000-000000000001", "start btnTestTracking"});
  EXPECT_EQ(driver.GetLastMessage().find("not this document's") != KORUnicodeString::npos, true)
      << driver.GetLastMessage();
  Perform({"answer ok", "expect Label021 \"The immersive runtime has not loaded this configuration.\"",
           "expect Label020 \"No head or hand tracking event is available.\""});
  EXPECT_NE(Refused("set CheckButton005 on"), "");
  EXPECT_NE(Refused("push PushButton007"), "");
  Perform({"event VIEWPORT_EVENT 10 0 0 0 0 0", "event POSITION_EVENT 0 10 0 0 0 0"});
  EXPECT_TRUE(SameLocation(LocationOf(head), savedHead));
  EXPECT_TRUE(SameLocation(LocationOf(hand), savedHand));
}

TEST_F(TestTrackingTest, TheRuntimeIdentifierIsComparedWhateverTheCaseOfItsDigits) {
  KORUuid own;
  ASSERT_EQ(config->GetID(own), S_OK);
  KORString upper = own.ToText();
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char iChar) { return static_cast<char>(std::toupper(iChar)); });
  Perform({"runtime " + upper, "start btnTestTracking", "expect Label021 \"\"",
           "set CheckButton005 on"});
}

TEST_F(TestTrackingTest, MissingTrackersAreReportedAndTheirElementsCannotBeTicked) {
  const struct {
    bool viewpoint, picking;
    const char* status; // Label018
  } cases[] = {
      {true, true, ""},
      {true, false, "The hand device has no picking tracker."},
      {false, true, "The head has no viewpoint tracker."},
      {false, false, "The head has no viewpoint tracker and the hand device no picking tracker."},
  };
  for (const auto& tested : cases) {
    SCOPED_TRACE(tested.status);
    // A fresh document for each case.
    TearDown();
    SetUp();
    if (!tested.viewpoint) {
      ASSERT_EQ(head->SetViewPointTracker(nullptr), S_OK);
    }
    if (!tested.picking) {
      ASSERT_EQ(hand->SetPickingTracker(nullptr), S_OK);
    }
    Perform({"runtime document", "start btnTestTracking",
             "expect Label018 \"" + KORString(tested.status) + "\"", "expect Label020 \"\""});
    EXPECT_EQ(Accepted("set CheckButton005 on"), tested.viewpoint);
    EXPECT_EQ(Accepted("set CheckButton006 on"), tested.picking);
    Perform({"close"});
  }
}

TEST_F(TestTrackingTest, AMissingEventIsReportedAndItsElementCannotBeTicked) {
  KORVRDeviceManager headOnly("Lab");
  ASSERT_EQ(headOnly.SetHeadBody(1, KORVRPositionEventName), S_OK);
  frame.DeviceService().SetMapping(headOnly);
  Perform({"runtime document", "start btnTestTracking",
           "expect Label020 \"No hand tracking event is available.\"", "set CheckButton005 on",
           "push PushButton007", "event POSITION_EVENT 10 0 0 0 0 0"});
  EXPECT_NE(Refused("set CheckButton006 on"), "");
  // A head sending position events reads them as 4x4 matrices.
  ExpectLocation(head, {1000, 10, 0, {{0, 0, -1}, {0, -1, 0}, {-1, 0, 0}}});
}

TEST_F(TestTrackingTest, WithoutRuntimeTheDefaultEventsAreUsed) {
  if (!KORGetActiveVRConfig().empty())
    GTEST_SKIP() << "the runtime's registry of this process has an active configuration";
  // Nothing to compare with: the test runs, but says the model is not known
  // to be the runtime's.
  Perform({"start btnTestTracking",
           "expect Label021 \"The immersive runtime has not loaded this configuration.\"",
           "expect Label020 \"\"", "set CheckButton005 on", "push PushButton007",
           "event VIEWPORT_EVENT 10 0 0 0 0 0"});
  ExpectLocation(head, {1000, 10, 0, {{0, 0, -1}, {0, -1, 0}, {-1, 0, 0}}});
}

TEST_F(TestTrackingTest, EventAndRuntimeLinesThatCannotBeDoneAreRefused) {
  const char* refused[] = {
      "event ROTATION_EVENT 0 0 0 0 0 0", // not a tracking event
      "event VIEWPORT_EVENT 0 0 zero 0 0 0",
      "event VIEWPORT_EVENT 0 0 0 0 0",   // one number short
      "runtime",
  };
  for (const char* line : refused)
    EXPECT_NE(Refused(line), "") << line;
  // No tracker of the mapping sends the hand's events.
  KORVRDeviceManager headOnly("Lab");
  ASSERT_EQ(headOnly.SetHeadBody(1, KORVRViewportEventName), S_OK);
  frame.DeviceService().SetMapping(headOnly);
  EXPECT_EQ(Refused("event POSITION_EVENT 0 0 0 0 0 0"), "no tracker of the runtime sends POSITION_EVENT");
}

// A run's location writes, its restore on Stop and the identifier they
// renewed were one undo step of their own: Undo after a test took back that
// invisible step instead of the edit made before it.
TEST_F(TestTrackingTest, ATestLeavesNoUndoStepAndUndoTakesBackTheEditBeforeIt) {
  // How the person ends the test: Stop then OK, OK while it runs, Stop then
  // the window's close, or Undo while it runs (which cancels it).
  const std::vector<KORString> endings[] = {
      {"push PushButton008", "press OK"},
      {"press OK"},
      {"push PushButton008", "close"},
      {},
  };
  for (const std::vector<KORString>& ending : endings) {
    SCOPED_TRACE(ending.empty() ? "undo while running" : ending.front());
    Perform({"start btnCreateView", "set NameEditor Extra", "press OK", "runtime document"});
    const int undoSteps = document->GetUndoCount();
    KORUuid edited;
    ASSERT_EQ(config->GetID(edited), S_OK);
    Perform({"start btnTestTracking", "set CheckButton005 on", "set CheckButton006 on",
             "push PushButton007", "event VIEWPORT_EVENT 10 0 0 0 0 0",
             "event POSITION_EVENT 0 10 0 0 0 0"});
    Perform(ending);
    if (!ending.empty()) {
      EXPECT_FALSE(DialogOpen());
      EXPECT_EQ(document->GetUndoCount(), undoSteps);
      KORUuid tested;
      ASSERT_EQ(config->GetID(tested), S_OK);
      EXPECT_EQ(tested, edited) << "the runtime would no longer know the configuration";
      // OK while running restores first, as Stop does.
      EXPECT_TRUE(SameLocation(LocationOf(head), savedHead));
      EXPECT_TRUE(SameLocation(LocationOf(hand), savedHand));
    }
    Perform({"undo"});
    EXPECT_FALSE(DialogOpen());
    EXPECT_NE(Refused("edit view:Extra"), "") << "the view made before the test is still there";
    EXPECT_TRUE(SameLocation(LocationOf(head), savedHead));
    EXPECT_TRUE(SameLocation(LocationOf(hand), savedHand));
    Perform({"redo", "edit view:Extra", "press Cancel", "undo"});
  }
}

// The first run renewed the configuration identifier, so that a second test
// said the runtime had loaded another configuration.
TEST_F(TestTrackingTest, ASecondTestStillFindsTheRuntimesConfiguration) {
  Perform({"runtime document", "start btnTestTracking", "set CheckButton005 on",
           "push PushButton007", "event VIEWPORT_EVENT 10 0 0 0 0 0", "push PushButton008",
           "press OK", "start btnTestTracking", "expect Label021 \"\"", "set CheckButton005 on"});
}

} // namespace
