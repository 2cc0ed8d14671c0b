// Dragging trackers, tracking stations and screens with the 3D manipulator
// and snapping the compass, through the driver's drag and compass verbs.
#include "../host/featurestore/StoreChecks.h"
#include "CommandFixture.h"
#include "objectmodel/KORImplementation.h"
#include "visu/KORISelectMove3D.h"

namespace {
constexpr double kTolerance = 1e-6;

void ExpectNear(const KORMathVector& iActual, std::array<double, 3> iExpected, const char* iWhat) {
  EXPECT_NEAR(iActual.GetX(), iExpected[0], kTolerance) << iWhat;
  EXPECT_NEAR(iActual.GetY(), iExpected[1], kTolerance) << iWhat;
  EXPECT_NEAR(iActual.GetZ(), iExpected[2], kTolerance) << iWhat;
}
void ExpectNear(const KORMathPoint& iActual, std::array<double, 3> iExpected, const char* iWhat) {
  ExpectNear(iActual - KORMathPoint(), iExpected, iWhat);
}

class ManipulationTest : public DriverTest {
protected:
  void SetUp() override {
    DriverTest::SetUp();
    station = build.Station("Lab", KORVrcStationIS900, "Polhemus1", 1, 115200,
                            ConfigBuilder::Placement(0, 0, -750));
  }

  KORMathTransformation Offset(KORIVrcTracker* iTracker) {
    KORMathTransformation offset;
    EXPECT_EQ(iTracker->GetOffset(offset), S_OK);
    return offset;
  }
  static std::array<KORMathPoint, 3> Corners(KORIVrcScreenView* iView) {
    const std::array<double, 9> xyz = ConfigBuilder::CornersOf(iView);
    return {KORMathPoint(xyz[0], xyz[1], xyz[2]), KORMathPoint(xyz[3], xyz[4], xyz[5]),
            KORMathPoint(xyz[6], xyz[7], xyz[8])};
  }

  KORIVrcTrackingStation_var station;
};

// A pure translation D of a tracker on its element changes only the offset's
// translation, by L^-1 applied to D (L the element's location).
TEST_F(ManipulationTest, TranslatingATrackerMovesItsOffsetByTheRotatedDisplacement) {
  struct Case {
    const char* what;
    KORMathTransformation location; // of the head
    std::array<double, 3> offset;   // translation of the offset
    const char* drag;
    std::array<double, 3> expected; // translation of the offset after it
  };
  const Case cases[] = {
      {"head unturned", ConfigBuilder::Placement(0, 0, 1700), {0, 0, 0},
       "drag tracker:Lab/1 by 10 20 30", {10, 20, 30}},
      {"head turned by heading 90", ConfigBuilder::Placement(500, 0, 1700, 90), {0, 0, -100},
       "drag tracker:Lab/1 by 100 0 0", {0, -100, -100}},
      {"head pitched by 90", ConfigBuilder::Placement(0, 0, 1700, 0, 90), {10, 0, 0},
       "drag tracker:Lab/1 by 0 0 50", {-40, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Place(Head().get(), c.location);
    const KORMathTransformation turned = ConfigBuilder::Placement(0, 0, 0, 30, -20, 10);
    KORIVrcTracker_var tracker = build.Tracker(
        station, 1, "head",
        KORMathTransformation(turned.GetMatrix(),
                              KORMathVector(c.offset[0], c.offset[1], c.offset[2])));
    Perform({c.drag});
    ExpectNear(Offset(tracker).GetVector(), c.expected, "offset");
    EXPECT_TRUE(Offset(tracker).GetMatrix().IsEqual(turned.GetMatrix(), kTolerance));
    EXPECT_TRUE(LocationOf(Head().get()).IsEqual(c.location)) << "the head must not move";
    ASSERT_EQ(station->RemoveTracker(tracker), S_OK);
  }
}

TEST_F(ManipulationTest, DraggingAStationTurnsItsReferenceFrameAboutTheOrigin) {
  // Heading 90 about the origin takes (0, 0, -750) to itself; then the move.
  Perform({"drag station:Lab by 10 20 30 90 0 0"});
  KORMathTransformation ref;
  ASSERT_EQ(station->GetRef(ref), S_OK);
  ExpectNear(ref.GetVector(), {10, 20, -720}, "reference origin");
  KORMathVector x, y, z;
  ref.GetMatrix().GetColumns(x, y, z);
  ExpectNear(x, {0, 1, 0}, "x axis");
  ExpectNear(y, {-1, 0, 0}, "y axis");
  ExpectNear(z, {0, 0, 1}, "z axis");
}

TEST_F(ManipulationTest, AScreenDraggedAndTurnedStaysTheSameParallelogram) {
  KORIVrcScreenView_var wall =
      build.Screen("Wall", {-1500, 1500, 1500}, {-1500, 1500, -1500}, {1500, 1500, -1200});
  const auto [ul, ll, lr] = Corners(wall);
  Perform({"drag view:Wall by 100 -50 20 30 45 60"});
  const auto [movedUL, movedLL, movedLR] = Corners(wall);
  EXPECT_NEAR((movedUL - movedLL).Norm(), (ul - ll).Norm(), kTolerance);
  EXPECT_NEAR((movedLR - movedLL).Norm(), (lr - ll).Norm(), kTolerance);
  EXPECT_NEAR((movedUL - movedLL) * (movedLR - movedLL), (ul - ll) * (lr - ll), 1e-3);
  EXPECT_FALSE(movedLL.IsEqual(ll, 1.0)) << "the screen did not move";

  Perform({"drag view:Wall by 0 0 -100"});
  const auto [loweredUL, loweredLL, loweredLR] = Corners(wall);
  ExpectNear(loweredLL - movedLL, {0, 0, -100}, "lower left");
  ExpectNear(loweredLR - movedLR, {0, 0, -100}, "lower right");
  ExpectNear(loweredUL - movedUL, {0, 0, -100}, "upper left");
}

TEST_F(ManipulationTest, WhatCannotBeDraggedIsRefusedAndStays) {
  KORIVrcTracker_var free = build.Tracker(station, 3, "", ConfigBuilder::Placement(0, 0, 10));
  KORIVrcTracker_var onHead = build.Tracker(station, 1, "head");
  KORIVrcCameraView_var camera = build.Camera("Cam", 1.0, 0, 0.8, 0);
  build.Screen("Wall", {0, 0, 1}, {0, 0, 0}, {1, 0, 0});
  const std::string before = SavedBytes(*document);
  struct Case {
    const char* line;
    const char* error; // empty: accepted
  };
  const Case cases[] = {
      {"drag tracker:Lab/3 by 1 0 0", "tracker:Lab/3 cannot be dragged: its drag condition refuses it"},
      {"drag view:Cam by 1 0 0", "view:Cam cannot be dragged: it cannot be moved in 3D"},
      {"drag ig:Nowhere by 1 0 0", "no ig named \"Nowhere\""},
      {"drag view:Wall 1 0 0", "drag ELEMENT by X Y Z [H P R]"},
      {"drag view:Wall by 1 0", "wrong number of arguments"},
      {"drag view:Wall by 1 0 0 90", "drag ELEMENT by X Y Z [H P R]"},
      {"drag view:Wall by 1 0 z", "X Y Z H P R numbers"},
  };
  for (const Case& c : cases)
    EXPECT_NE(Refused(c.line).find(c.error), KORString::npos) << c.line;
  EXPECT_EQ(SavedBytes(*document), before) << "a refused drag changed the document";
  KORString why;
  EXPECT_EQ(frame.Manipulator().CanDrag(KORPathElement{onHead}, why), S_OK) << why;
  EXPECT_EQ(frame.Manipulator().CanDrag(KORPathElement{station}, why), S_OK) << why;
}

TEST_F(ManipulationTest, TheDragConditionAcceptsOnlyTrackersThatFollowAnElement) {
  KORIVrcTracker_var free = build.Tracker(station, 3);
  KORIVrcTracker_var onHand = build.Tracker(station, 2, "hand");
  const KORImplementation* tracker = KORGetImplementation(free);
  ASSERT_NE(tracker, nullptr);
  KORDragCondition condition = KORFindDragCondition(tracker->GetLateType());
  ASSERT_NE(condition, nullptr) << "trackers declare no drag condition";
  EXPECT_FALSE(condition(nullptr));
  EXPECT_FALSE(condition(free));
  EXPECT_TRUE(condition(onHand));
  auto loose = KORLooseElement::Make<KORIVrcTracker>("KORVrcTracker");
  EXPECT_FALSE(condition(loose));
  EXPECT_EQ(KORFindDragCondition(KORGetImplementation(station)->GetLateType()), nullptr);
}

TEST_F(ManipulationTest, MoveWithoutDisplacementOrStartWritesNothing) {
  KORIVrcTracker_var tracker = build.Tracker(station, 1, "head", ConfigBuilder::Placement(1, 2, 3));
  auto move = KORQuery<KORISelectMove3D>(tracker);
  ASSERT_TRUE(move);
  KORMathTransformation shift = ConfigBuilder::Placement(100, 0, 0);
  EXPECT_EQ(move->Move(&shift), S_OK) << "no BeginMove: nothing kept, nothing written";
  ASSERT_EQ(move->BeginMove(nullptr), S_OK);
  EXPECT_EQ(move->Move(nullptr), E_FAIL);
  ASSERT_EQ(move->EndMove(nullptr), S_OK);
  EXPECT_EQ(move->Move(&shift), S_OK) << "after EndMove nothing is kept";
  ExpectNear(Offset(tracker).GetVector(), {1, 2, 3}, "offset");

  // A tracker that follows nothing has no start values.
  KORIVrcTracker_var free = build.Tracker(station, 4, "", ConfigBuilder::Placement(1, 2, 3));
  auto freeMove = KORQuery<KORISelectMove3D>(free);
  ASSERT_EQ(freeMove->BeginMove(nullptr), S_OK);
  EXPECT_EQ(freeMove->Move(&shift), S_OK);
  ASSERT_EQ(freeMove->EndMove(nullptr), S_OK);
  ExpectNear(Offset(free).GetVector(), {1, 2, 3}, "free offset");
}

TEST_F(ManipulationTest, ADragIsOneUndoStep) {
  build.Screen("Wall", {-1500, 1500, 1500}, {-1500, 1500, -1500}, {1500, 1500, -1500});
  build.Tracker(station, 1, "head");
  const std::string before = SavedBytes(*document);
  const int steps = document->GetUndoCount();
  for (const char* drag : {"drag view:Wall by 10 0 0 15 0 0", "drag station:Lab by 0 5 0",
                           "drag tracker:Lab/1 by 0 0 7 0 0 45"}) {
    SCOPED_TRACE(drag);
    Perform({drag});
    EXPECT_EQ(document->GetUndoCount(), steps + 1);
    const std::string dragged = SavedBytes(*document);
    EXPECT_NE(dragged, before);
    Perform({"undo"});
    EXPECT_EQ(SavedBytes(*document), before);
    Perform({"redo"});
    EXPECT_EQ(SavedBytes(*document), dragged);
    Perform({"undo"});
  }
}

TEST_F(ManipulationTest, ADragCancelsTheOpenCommandAndStaysItsOwnStep) {
  build.Screen("Wall", {0, 0, 1000}, {0, 0, 0}, {1000, 0, 0});
  const std::string before = SavedBytes(*document);
  Perform({"edit config:" + ConfigName(), "set NameEditor Renamed", "press Apply"});
  ASSERT_TRUE(DialogOpen());
  Perform({"drag view:Wall by 0 0 100"});
  EXPECT_FALSE(DialogOpen());
  const std::string dragged = SavedBytes(*document);
  Perform({"undo"});
  EXPECT_EQ(SavedBytes(*document), before) << "the cancelled command's Apply is taken back too";
  Perform({"redo"});
  EXPECT_EQ(SavedBytes(*document), dragged);
}

TEST_F(ManipulationTest, TheCompassSnapsOntoTheAxisFrameOfStationsAndTrackers) {
  Place(Head().get(), ConfigBuilder::Placement(0, 0, 1700, 90));
  build.Tracker(station, 1, "head", ConfigBuilder::Placement(100, 0, 0));
  // Beside the station: 330 along y for the first free tracker, 240 more for
  // the next, and the offset in full (not scaled to its drawn 80).
  build.Tracker(station, 4, "", ConfigBuilder::Placement(0, 0, 200));
  build.Tracker(station, 6, "", ConfigBuilder::Placement(0, 0, 200, 0, 0, 90));
  struct Case {
    const char* element;
    std::array<double, 3> origin, x, y, z;
  };
  const Case cases[] = {
      {"station:Lab", {0, 0, -750}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
      {"tracker:Lab/1", {0, 100, 1700}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}},
      {"tracker:Lab/4", {0, 330, -550}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
      {"tracker:Lab/6", {0, 570, -550}, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.element);
    Perform({KORString("compass ") + c.element});
    const KORMathAxis& axis = frame.Compass().GetAxis();
    ExpectNear(axis.GetOrigin(), c.origin, "origin");
    ExpectNear(axis.GetFirstDirection(), c.x, "x");
    ExpectNear(axis.GetSecondDirection(), c.y, "y");
    ExpectNear(axis.GetThirdDirection(), c.z, "z");
  }
  EXPECT_NE(shown.str().find("{\"compass\": {\"origin\": [0, 570, -550], \"x\": [1, 0, 0]"),
            std::string::npos)
      << shown.str();

  build.Screen("Wall", {0, 0, 1000}, {0, 0, 0}, {1000, 0, 0});
  EXPECT_NE(Refused("compass view:Wall").find("view:Wall: the compass cannot be snapped"),
            KORString::npos);
  ExpectNear(frame.Compass().GetAxis().GetOrigin(), {0, 570, -550}, "the compass stays");
}

} // namespace
