// The devices branch: tracking stations, trackers, tracked elements, button
// and hand devices.
#include "ModelFixture.h"

#include "featurestore/KORISpecObject.h"
#include "interfaces/KORIVrcVisuRefreshOnElement.h"

namespace {

KORMathTransformation Shifted(double iX) {
  return KORMathTransformation(KORMath3x3Matrix(), KORMathVector(iX, 0, 0));
}

KORMath3x3Matrix FromRows(const std::array<double, 9>& iRows) {
  KORMath3x3Matrix matrix;
  for (int i = 0; i < 9; ++i)
    matrix.SetCoef(i / 3 + 1, i % 3 + 1, iRows[static_cast<std::size_t>(i)]);
  return matrix;
}

class DevicesTest : public ModelTest {
protected:
  void SetUp() override {
    ModelTest::SetUp();
    ASSERT_EQ(factory->CreateTrackingStation(KORVrcStationCustom, "Station", station.Out()), S_OK);
    ASSERT_EQ(factory->CreateTracker("1", tracker.Out(), station), S_OK);
    head = KORQuery<KORIVrcTrackedElement>(Head());
    hand = KORQuery<KORIVrcTrackedElement>(Hand());
    ASSERT_TRUE(head && hand);
    // A new station is announced but joins the event chain of the root only
    // through Reconnect, as every station of a loaded document does.
    ASSERT_EQ(KORQuery<KORIVrcElement>(Config())->Reconnect(), S_OK);
  }

  KORIVrcTrackingStation_var station;
  KORIVrcTracker_var tracker;
  KORIVrcTrackedElement_var head;
  KORIVrcTrackedElement_var hand;
};

TEST_F(DevicesTest, TrackerWithoutStationHasNoStationNorBestOffset) {
  auto lone = Bare<KORIVrcTracker>("KORVrcTracker");
  ASSERT_TRUE(lone);
  ASSERT_EQ(Head()->SetType(KORVrcHeadVR6), S_OK);
  ASSERT_EQ(lone->SetTrackedElement(head), S_OK);

  KORIVrcTrackingStation_var found;
  EXPECT_EQ(lone->GetTrackingStation(found.Out()), E_FAIL);
  EXPECT_FALSE(found);
  KORMathTransformation offset = Shifted(7);
  EXPECT_EQ(lone->GetBestOffset(offset), E_FAIL);
  EXPECT_TRUE(offset.IsEqual(Shifted(7)));
}

struct BestOffsetCase {
  bool isHead;
  int deviceType;
  KORVrcTrackingStationType station;
  std::array<double, 9> rotationRows;
  KORMathVector translation;
};

// Known pairs with the rotation (row by row) and translation they must give:
// one row for each distinct offset.
// clang-format off
const BestOffsetCase kBestOffsets[] = {
    {true, KORVrcHeadCrystalEyes, KORVrcStationPolhemus,
     {1, 0, 0,  0, 0, -1,  0, 1, 0}, {-55, 75, 0}},
    {true, KORVrcHeadCrystalEyes, KORVrcStationIS900,
     {-1, 0, 0,  0, -1, 0,  0, 0, 1}, {0, 0, 60}},
    {true, KORVrcHeadVR6, KORVrcStationPolhemus,
     {1, 0, 0,  0, -1, 0,  0, 0, -1}, {-80, 0, 80}},
    {true, KORVrcHeadVR6, KORVrcStationIS900,
     {-1, 0, 0,  0, -1, 0,  0, 0, 1}, {-80, 0, 80}},
    {false, KORVrcHandMike, KORVrcStationPolhemus,
     {1, 0, 0,  0, -1, 0,  0, 0, -1}, {0, 0, 0}},
    {false, KORVrcHandInterSenseWand, KORVrcStationIS900,
     {1, 0, 0,  0, -1, 0,  0, 0, -1}, {0, 0, 0}},
    {false, KORVrcHandSpaceStick, KORVrcStationPolhemus,
     {0, -1, 0,  0, 0, -1,  1, 0, 0}, {0, 0, 0}},
};
// clang-format on

TEST_F(DevicesTest, BestOffsetOfEveryKnownPair) {
  for (const BestOffsetCase& known : kBestOffsets) {
    SCOPED_TRACE(testing::Message() << (known.isHead ? "head " : "hand ") << known.deviceType
                                    << " on station " << known.station);
    if (known.isHead)
      ASSERT_EQ(Head()->SetType(static_cast<KORVrcHeadType>(known.deviceType)), S_OK);
    else
      ASSERT_EQ(Hand()->SetType(static_cast<KORVrcHandDeviceType>(known.deviceType)), S_OK);
    ASSERT_EQ(station->SetType(known.station), S_OK);
    ASSERT_EQ(tracker->SetTrackedElement(known.isHead ? head : hand), S_OK);

    KORMathTransformation offset;
    ASSERT_EQ(tracker->GetBestOffset(offset), S_OK);
    EXPECT_TRUE(offset.GetMatrix().IsEqual(FromRows(known.rotationRows)));
    EXPECT_TRUE(offset.GetVector().IsEqual(known.translation));
  }
}

TEST_F(DevicesTest, BestOffsetFailsForPairsWithoutRecommendation) {
  ASSERT_EQ(station->SetType(KORVrcStationIS900), S_OK);
  ASSERT_EQ(Head()->SetType(KORVrcHeadFakespaceBoom), S_OK);
  ASSERT_EQ(tracker->SetTrackedElement(head), S_OK);
  KORMathTransformation offset = Shifted(3);
  EXPECT_EQ(tracker->GetBestOffset(offset), E_FAIL);
  EXPECT_TRUE(offset.IsEqual(Shifted(3)));

  // A known device on a station it has no row for.
  ASSERT_EQ(Hand()->SetType(KORVrcHandSpaceStick), S_OK);
  ASSERT_EQ(tracker->SetTrackedElement(hand), S_OK);
  EXPECT_EQ(tracker->GetBestOffset(offset), E_FAIL);
  EXPECT_TRUE(offset.IsEqual(Shifted(3)));

  // No tracked element at all.
  ASSERT_EQ(tracker->SetTrackedElement(nullptr), S_OK);
  EXPECT_EQ(tracker->GetBestOffset(offset), E_FAIL);
}

// The hand device reaches the root once reconnected, so its moves are heard
// there whether a tracker follows it or not.
TEST_F(DevicesTest, MovedTrackedElementNotifiesItsTrackerUntilUnbound) {
  ASSERT_EQ(tracker->SetTrackedElement(hand), S_OK);
  TakeHeard();
  ASSERT_EQ(hand->SetLocation(Shifted(100)), S_OK);
  EXPECT_EQ(CountHeard(KORNotificationKind::Modify, hand), 1);
  EXPECT_EQ(CountHeard(KORNotificationKind::Modify, tracker), 1);
  // The station hears of its tracker; how often is the visualization's choice.
  EXPECT_GE(CountHeard(KORNotificationKind::Modify, station), 1);

  ASSERT_EQ(tracker->SetTrackedElement(nullptr), S_OK);
  KORIVrcTrackedElement_var followed;
  EXPECT_EQ(tracker->GetTrackedElement(followed.Out()), E_FAIL);
  TakeHeard();
  ASSERT_EQ(hand->SetLocation(Shifted(200)), S_OK);
  EXPECT_EQ(CountHeard(KORNotificationKind::Modify, hand), 1);
  EXPECT_EQ(CountHeard(KORNotificationKind::Modify, tracker), 0);

  // Following another element releases the first one.
  ASSERT_EQ(tracker->SetTrackedElement(hand), S_OK);
  ASSERT_EQ(tracker->SetTrackedElement(head), S_OK);
  TakeHeard();
  ASSERT_EQ(hand->SetLocation(Shifted(300)), S_OK);
  EXPECT_EQ(CountHeard(KORNotificationKind::Modify, hand), 1);
  EXPECT_EQ(CountHeard(KORNotificationKind::Modify, tracker), 0);
  ASSERT_EQ(head->SetLocation(Shifted(300)), S_OK);
  EXPECT_EQ(CountHeard(KORNotificationKind::Modify, tracker), 1);
}

TEST_F(DevicesTest, OnlyTypeAndReferenceOfAStationNotify) {
  TakeHeard();
  ASSERT_EQ(station->SetPort(2), S_OK);
  ASSERT_EQ(station->SetSpeed(9600), S_OK);
  ASSERT_EQ(station->SetDaemonName("daemon1"), S_OK);
  EXPECT_EQ(CountHeard(KORNotificationKind::Modify, station), 0);
  ASSERT_EQ(station->SetType(KORVrcStationART), S_OK);
  ASSERT_EQ(station->SetRef(Shifted(5)), S_OK);
  EXPECT_EQ(CountHeard(KORNotificationKind::Modify, station), 2);
}

TEST_F(DevicesTest, OnlyTheStationListRedrawsTheBranch) {
  auto devices = Devices();
  std::size_t before = document->RedrawCount();
  EXPECT_EQ(Listed(devices, &KORIVrcDevices::GetHandDevices).size(), 1u);
  EXPECT_EQ(document->RedrawCount(), before);
  EXPECT_EQ(Listed(devices, &KORIVrcDevices::GetTrackingStations).size(), 1u);
  EXPECT_GT(document->RedrawCount(), before);
}

TEST_F(DevicesTest, TrackerReconnectRestoresItsElementConnection) {
  ASSERT_EQ(tracker->SetTrackedElement(head), S_OK);
  auto refresh = KORQuery<KORIVrcVisuRefreshOnElement>(head);
  ASSERT_TRUE(refresh);
  ASSERT_EQ(refresh->Deconnect(KORQuery<KORBaseUnknown>(tracker).get()), S_OK);
  TakeHeard();
  ASSERT_EQ(head->SetLocation(Shifted(1)), S_OK);
  ASSERT_EQ(CountHeard(KORNotificationKind::Modify, tracker), 0);

  EXPECT_EQ(KORQuery<KORIVrcElement>(tracker)->Reconnect(), S_OK);
  ASSERT_EQ(head->SetLocation(Shifted(2)), S_OK);
  EXPECT_EQ(CountHeard(KORNotificationKind::Modify, tracker), 1);
}

} // namespace
