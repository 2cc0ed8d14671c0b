// The tracking-daemon file of a station, compared with files written by hand
// in tests/data/export/tracking.
#include "ExportFixture.h"

namespace {
// Rotations given by the images of the axes, so that every coefficient is exact.
const KORMath3x3Matrix kTrackerAxes(KORMathVector(0, -1, 0), KORMathVector(0, 0, 1),
                                    KORMathVector(-1, 0, 0));
} // namespace

class TrackingFileTest : public ExportTest {
protected:
  void SetUp() override {
    ExportTest::SetUp();
    ASSERT_EQ(Head()->SetIPD(64), S_OK);
  }

  void MainWindowOnScreen() {
    build.Screen("Wall", {-1500, 3000, 2500}, {-1500, 3000, 250}, {1500, 3000, 250});
    build.MainWindow(build.Window(build.IG("IG").get(), "Main", {0, 0, 1, 1}, "Wall").get());
  }

  // Writes the file of iStation into text; the stream starts with a marker so that a
  // writer that must write nothing can be seen to leave it alone.
  HRESULT Generate(KORIVrcTrackingStation* iStation, unsigned char iWrite = 1) {
    std::ostringstream stream;
    stream << "<before>";
    const HRESULT result =
        configure->GenerateTrackingStationConfigFile(stream, iStation, messages, iWrite);
    text = stream.str().substr(8);
    EXPECT_EQ(stream.str().substr(0, 8), "<before>");
    return result;
  }

  std::string text;
};

TEST_F(TrackingFileTest, SerialStationWithHeadAndButtonManagingHand) {
  MainWindowOnScreen();
  auto station = build.Station("Isense", KORVrcStationIS900, "Isense", 2, 115200);
  build.Tracker(station, 1, "head");
  auto handTracker = build.Tracker(station, 2, "hand");
  ASSERT_EQ(Hand()->SetButtonManager(handTracker.get()), S_OK);
  EXPECT_EQ(Generate(station, 0), S_OK); // checks only
  EXPECT_EQ(text, "");
  EXPECT_EQ(Generate(station), S_OK);
  EXPECT_EQ(text, Golden("tracking", "serial_head_and_hand"));
  EXPECT_EQ(messages, "");
}

TEST_F(TrackingFileTest, StationWithoutHeadTrackerEndsWithFixedScreen) {
  MainWindowOnScreen();
  auto station = build.Station("Fastrak", KORVrcStationPolhemus, "Polhemus1", 1, 9600);
  // Followed by nothing: the offset is written as it is, not through the axes.
  build.Tracker(station, 3, "",
                KORMathTransformation(kTrackerAxes, KORMathVector(12.9, -3.7, 0.2)));
  EXPECT_EQ(Generate(station), S_OK);
  EXPECT_EQ(text, Golden("tracking", "polhemus_without_head"));
}

TEST_F(TrackingFileTest, CameraOnMainWindowGivesHeadMountedScreen) {
  auto camera = build.Camera("Hmd", 1, 0, 1, 0);
  ASSERT_EQ(camera->SetFrustum(-1.5, 2.5, 1.5, -0.5), S_OK);
  build.MainWindow(build.Window(build.IG("IG").get(), "Main", {0, 0, 1, 1}, "Hmd").get());
  auto station = build.Station("Birds", KORVrcStationFlockOfBirds, "Flock", 3, 38400);
  build.Tracker(station, 4);
  build.Tracker(station, 5, "head",
                KORMathTransformation(kQuarterTurnAboutZ, KORMathVector(100, 200, 300)));
  EXPECT_EQ(Generate(station), S_OK);
  EXPECT_EQ(text, Golden("tracking", "flock_camera"));
}

TEST_F(TrackingFileTest, EthernetStationPutsScreenAndEyesInItsFrame) {
  MainWindowOnScreen();
  auto station = build.Station("Optical", KORVrcStationART, "DTrack", 5000, 0,
                               KORMathTransformation(kQuarterTurnAboutZ, {1000, 0, 500}));
  build.Tracker(station, 7, "head", KORMathTransformation(KORMath3x3Matrix(), {0, 0, 150.5}));
  build.Tracker(station, 8, "hand");
  ASSERT_EQ(Hand()->SetType(KORVrcHandInterSenseWand), S_OK);
  // Buttons come from another device: the hand's tracker raises positions only.
  ASSERT_EQ(
      Hand()->SetButtonManager(build.ButtonDevice("Wand", KORVrcButtonNeoWand, "wandd").get()),
      S_OK);
  EXPECT_EQ(Generate(station), S_OK);
  EXPECT_EQ(text, Golden("tracking", "ethernet_station_frame"));
}

TEST_F(TrackingFileTest, StationWithoutDaemonFileWritesNothing) {
  MainWindowOnScreen();
  auto station = build.Station("Other", KORVrcStationCustom, "custom");
  build.Tracker(station, 1, "head");
  EXPECT_EQ(Generate(station), S_OK);
  EXPECT_EQ(text, "");
  EXPECT_EQ(messages, "");
}

TEST_F(TrackingFileTest, FailuresWriteNothingAndReportTheError) {
  EXPECT_EQ(Generate(nullptr), E_FAIL);
  EXPECT_EQ(text, "");
  EXPECT_EQ(messages, Message("Error", "TrackingStationNotFound"));

  // No main window yet.
  auto station = build.Station("Isense", KORVrcStationIS900, "Isense");
  build.Tracker(station, 1, "head");
  EXPECT_EQ(Generate(station), E_FAIL);
  EXPECT_EQ(text, "");
  EXPECT_EQ(messages, Message("Error", "NoMainWindow"));

  // A main window that shows no view is no better.
  build.MainWindow(build.Window(build.IG("IG").get(), "Blank").get());
  EXPECT_EQ(Generate(station), E_FAIL);
  EXPECT_EQ(text, "");
  EXPECT_EQ(messages, Message("Error", "NoMainWindow"));
}
