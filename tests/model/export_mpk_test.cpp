// The multipipe configuration file, compared whole against texts written by
// hand in tests/data/export/mpk. A golden file ends with one newline that is
// not part of the expected text (so that the files stay ordinary text files).
#include "ExportFixture.h"

#include <cmath>
#include <sstream>

namespace {
// The catalog texts of KORVrcConfigure.
const std::string ErrorText = "Error: ";
const std::string WarningText = "Warning: ";
const std::string NoMainWindowText =
    "the configuration has no main window, or its main window shows no view. Choose the window "
    "that shows the reference screen as main window (configuration settings) and give it a view; "
    "the multipipe and display files are not written until then.\n";
const std::string DistantIGsText =
    "some image generators are on another host than localhost. The multipipe file is written "
    "only for image generators of the local host; it is left out of the export.\n";

} // namespace

class ExportMPKTest : public ExportTest {
protected:
  // The standard wall used by most cases: 3 m in front of the viewer, 3 m
  // wide, from 1 m below to 2 m above the eyes.
  void FrontScreen() {
    build.Screen("Front", {3000, 1500, 2000}, {3000, 1500, -1000}, {3000, -1500, -1000});
  }

  void PlaceHead(double iZ) {
    auto head = KORQuery<KORIVrcTrackedElement>(Head());
    ASSERT_TRUE(head);
    ASSERT_EQ(head->SetLocation(ConfigBuilder::Placement(0, 0, iZ)), S_OK);
  }

  HRESULT Generate(unsigned char iWrite = 1) {
    text.str("");
    return configure->GenerateMPK(text, messages, iWrite);
  }

  std::ostringstream text;
};

TEST_F(ExportMPKTest, MonoConfigurationGivesEyeCompoundsOnlyForOneEyeWindows) {
  FrontScreen();
  build.Screen("Floor", {3000, 1500, -1000}, {1234.56, 1500, -1000}, {1234.56, -1500, -1000});
  auto ig = build.IG("localhost:0.0");
  build.MainWindow(build.Window(ig, "Main", {0, 0, 1, 1}, "Front").get());
  build.Window(ig, "Left", {0.5, 0, 0.5, 0.3}, "Floor", KORVrcRenderingLeft);

  EXPECT_EQ(Generate(), S_OK);
  EXPECT_EQ(messages, "");
  EXPECT_EQ(text.str(), Golden("mpk", "mono"));
}

TEST_F(ExportMPKTest, StereoConfigurationHintsOneEyeWindowsAndFlipsMirroredChannels) {
  FrontScreen();
  ASSERT_EQ(Head()->SetIPD(63.5), S_OK);
  auto ig = build.IG("localhost:0.0");
  build.MainWindow(build.Window(ig, "Main", {0, 0, 1, 1}, "Front", KORVrcRenderingStereo).get());
  build.Window(ig, "Hori", {0, 0, 0.25, 0.25}, "Front", KORVrcRenderingMono,
               KORVrcMirrorHorizontal);
  build.Window(ig, "Verti", {0.25, 0, 0.25, 0.25}, "Front", KORVrcRenderingLeft,
               KORVrcMirrorVertical);
  build.Window(ig, "Both", {0.5, 0, 0.25, 0.25}, "Front", KORVrcRenderingRight, KORVrcMirrorBoth);

  EXPECT_EQ(Generate(), S_OK);
  EXPECT_EQ(text.str(), Golden("mpk", "stereo_mirrors"));
}

// The camera's wall is the unit-distance frustum in the eye frame, so the
// head's location must not move it.
TEST_F(ExportMPKTest, CameraViewsGiveHMDCompoundsWithBothEyesForActiveStereo) {
  PlaceHead(1700);
  build.Camera("Cam", 2 * std::atan(0.5), 0, 2 * std::atan(0.4), std::atan(0.1));
  auto ig = build.IG("localhost:0.0");
  build.MainWindow(build.Window(ig, "HMD", {0, 0, 1, 1}, "Cam", KORVrcRenderingStereo).get());
  build.Window(ig, "Mono", {0, 0, 1, 1}, "Cam", KORVrcRenderingMono);

  EXPECT_EQ(Generate(), S_OK);
  EXPECT_EQ(text.str(), Golden("mpk", "camera"));
}

TEST_F(ExportMPKTest, MainWindowLeadsItsPipeAndCompoundsAndEmptyIGsGiveNoPipe) {
  FrontScreen();
  build.Window(build.IG("localhost:0.0").get(), "A", {0, 0, 1, 1}, "Front");
  build.IG("localhost:0.1");
  auto third = build.IG(":0.2");
  build.Window(third, "B", {0, 0, 1, 1}, "Front", KORVrcRenderingLeft);
  build.Window(third, "C", {0, 0, 1, 1}, "Front", KORVrcRenderingRight);
  build.MainWindow(build.Window(third, "Main", {0, 0, 1, 1}, "Front", KORVrcRenderingLeft).get());

  EXPECT_EQ(Generate(), S_OK);
  EXPECT_EQ(text.str(), Golden("mpk", "several_igs"));
}

TEST_F(ExportMPKTest, TrackedHeadAddsTheTrackerFrameInUserdata) {
  FrontScreen();
  PlaceHead(1700);
  ASSERT_EQ(Head()->SetIPD(64.5), S_OK);
  // A rotation with no zero coefficient, so that every tracker axis component
  // shows whether the station's frame was applied.
  KORMathTransformation ref;
  ref.SetCoef({2.0 / 3, 2.0 / 3, -1.0 / 3, -1.0 / 3, 2.0 / 3, 2.0 / 3, 2.0 / 3, -1.0 / 3, 2.0 / 3,
               100, 200, 300});
  auto station = build.Station("Station", KORVrcStationIS900, "isd", 1, 115200, ref);
  ASSERT_EQ(Head()->SetViewPointTracker(build.Tracker(station, 2, "head").get()), S_OK);
  build.MainWindow(
      build.Window(build.IG("localhost:0.0").get(), "Main", {0, 0, 1, 1}, "Front").get());

  EXPECT_EQ(Generate(), S_OK);
  EXPECT_EQ(text.str(), Golden("mpk", "tracking"));
}

TEST_F(ExportMPKTest, WindowWithoutViewIsLeftOutAndFailsTheExport) {
  FrontScreen();
  auto ig = build.IG("localhost:0.0");
  build.Window(ig, "Bare", {0, 0, 0.5, 0.5});
  build.MainWindow(build.Window(ig, "Main", {0, 0, 1, 1}, "Front").get());

  EXPECT_EQ(Generate(), E_FAIL);
  EXPECT_EQ(messages, "");
  EXPECT_EQ(text.str(), Golden("mpk", "window_without_view"));
}

TEST_F(ExportMPKTest, MissingOrViewlessMainWindowIsAnErrorAndWritesNothing) {
  FrontScreen();
  auto ig = build.IG("localhost:0.0");
  build.Window(ig, "Main", {0, 0, 1, 1}, "Front");
  EXPECT_EQ(Generate(), E_FAIL);
  EXPECT_EQ(messages, ErrorText + NoMainWindowText);
  EXPECT_EQ(text.str(), "");

  build.MainWindow(build.Window(ig, "Bare", {0, 0, 1, 1}).get());
  EXPECT_EQ(Generate(), E_FAIL);
  EXPECT_EQ(messages, ErrorText + NoMainWindowText);
  EXPECT_EQ(text.str(), "");
}

TEST_F(ExportMPKTest, DistantIGIsAWarningAndWritesNothing) {
  FrontScreen();
  build.Window(build.IG("localhost:0.0").get(), "Local", {0, 0, 1, 1}, "Front");
  auto distant = build.IG("LocalHost:0.0");
  build.MainWindow(build.Window(distant, "Main", {0, 0, 1, 1}, "Front").get());
  EXPECT_EQ(Generate(), E_FAIL);
  EXPECT_EQ(messages, WarningText + DistantIGsText);
  EXPECT_EQ(text.str(), "");

  // Both problems are reported, the error first.
  build.MainWindow(nullptr);
  EXPECT_EQ(Generate(), E_FAIL);
  EXPECT_EQ(messages, ErrorText + NoMainWindowText + WarningText + DistantIGsText);
  EXPECT_EQ(text.str(), "");
}

TEST_F(ExportMPKTest, ChecksOnlyRunWithoutWriteFlag) {
  FrontScreen();
  build.MainWindow(
      build.Window(build.IG("localhost:0.0").get(), "Main", {0, 0, 1, 1}, "Front").get());
  EXPECT_EQ(Generate(0), S_OK);
  EXPECT_EQ(messages, "");
  EXPECT_EQ(text.str(), "");

  // The same document written: the flag alone held the text back.
  EXPECT_EQ(Generate(1), S_OK);
  EXPECT_NE(text.str(), "");
}
