// The display configuration file, compared as whole texts with files written
// by hand from the expected layout (tests/data/export/fs). The main screen of
// most cases, "Front", lies in the model's z = 0 plane with its lower-left
// corner at the origin, 2000 wide and 1000 high, so the display frame is the
// model frame moved by (-1000, -500, 0).
#include "ExportFixture.h"

#include <cmath>
#include <sstream>

namespace {
// The text after the fixed lines, where the desktops are.
std::string Desktops(const std::string& iText) {
  const std::string last = "</user>";
  const auto at = iText.find(last);
  return at == std::string::npos ? "" : iText.substr(at + last.size());
}
} // namespace

class ExportFsTest : public ExportTest {
protected:
  // Writes the file into text.
  HRESULT Generate(unsigned char iWrite = 1) {
    std::ostringstream stream;
    const HRESULT result = configure->GenerateFSConfig(stream, messages, iWrite);
    text = stream.str();
    return result;
  }

  // The main window on iIG, showing the screen "Front".
  void MainOnFront(KORIVrcIG* iIG, std::array<double, 4> iViewport = {0, 0, 1, 1}) {
    build.Screen("Front", {0, 1000, 0}, {0, 0, 0}, {2000, 0, 0});
    build.MainWindow(build.Window(iIG, "Main", iViewport, "Front").get());
  }

  std::string text;
};

TEST_F(ExportFsTest, OnlyTheMainWindowGivesNoScreenAndNoDesktop) {
  MainOnFront(build.IG("localhost:0.0").get());
  EXPECT_EQ(Generate(), S_OK);
  EXPECT_EQ(text, Golden("fs", "main_only"));
  EXPECT_EQ(messages, "");
}

// A quarter of the pixels; its screen shares the main screen's plane and
// covers the main screen's upper right part, so the overlay lines are written.
TEST_F(ExportFsTest, QuarterWindowOverlappingTheMainScreen) {
  auto ig = build.IG("localhost:0.0", 1280, 1024);
  MainOnFront(ig);
  build.Screen("Side", {700, 1300, 0}, {700, 300, 0}, {3700, 300, 0});
  build.Window(ig, "Lower", {0, 0, 0.5, 0.5}, "Side");
  EXPECT_EQ(Generate(), S_OK);
  EXPECT_EQ(text, Golden("fs", "quarter_overlap"));
}

// Two halves of a second generator, one in active stereo, both showing a
// screen 1 mm in front of the main screen: no overlay, viewpoint lines kept.
TEST_F(ExportFsTest, SideBySideWindowsOnAParallelScreen) {
  MainOnFront(build.IG("localhost:0.0").get());
  auto second = build.IG("localhost:0.1", 1280, 1024);
  build.Screen("Wall", {0, 1000, 1}, {0, 0, 1}, {2000, 0, 1});
  build.Window(second, "Left", {0, 0, 0.5, 1}, "Wall", KORVrcRenderingStereo,
               KORVrcMirrorHorizontal);
  build.Window(second, "Right", {0.5, 0, 0.5, 1}, "Wall", KORVrcRenderingLeft,
               KORVrcMirrorVertical);
  EXPECT_EQ(Generate(), S_OK);
  EXPECT_EQ(text, Golden("fs", "side_by_side_stereo"));
}

// The main window shares its generator with two partial windows: one shows
// the main screen itself (full overlay), one a floor across it (no overlay).
TEST_F(ExportFsTest, WindowsSharingTheMainWindowsGenerator) {
  auto ig = build.IG("localhost:0.0", 1000, 800);
  MainOnFront(ig, {0, 0, 0.5, 0.5});
  build.Screen("Floor", {0, 0, 0}, {0, 0, 1000}, {2000, 0, 1000});
  build.Window(ig, "A", {0.125, 0.5, 0.25, 0.3}, "Front", KORVrcRenderingRight);
  build.Window(ig, "B", {0.55, 0.1, 0.3, 0.25}, "Floor", KORVrcRenderingMono, KORVrcMirrorBoth);
  EXPECT_EQ(Generate(), S_OK);
  EXPECT_EQ(text, Golden("fs", "shared_ig_partial"));
}

// A camera of 90 by 60 degrees on the main window: its virtual screen at
// distance 1 is the reference, and a second window on the same camera covers
// it exactly.
TEST_F(ExportFsTest, CameraViewOnTheMainWindow) {
  auto ig = build.IG("visu2:0.1", 1280, 1024);
  build.Camera("Cam", M_PI / 2, 0, M_PI / 3, 0);
  build.MainWindow(build.Window(ig, "Main", {0, 0, 0.5, 0.5}, "Cam").get());
  build.Window(ig, "Second", {0.5, 0.5, 0.5, 0.5}, "Cam", KORVrcRenderingLeft);
  EXPECT_EQ(Generate(), S_OK);
  EXPECT_EQ(text, Golden("fs", "camera_main"));
}

TEST_F(ExportFsTest, ZeroWidthViewportGetsAVideoOutputWithoutChannel) {
  auto ig = build.IG("localhost:0.0", 1280, 1024);
  MainOnFront(ig);
  build.Window(ig, "Flat", {0.25, 0, 0, 1}, "Front");
  EXPECT_EQ(Generate(), E_FAIL);
  EXPECT_EQ(Desktops(text), R"(
<desktop localhost:0.0>

    <window Window_localhost00>
    
        extentsInDesktop 320 0 ; 320 1024
        <videoOutput VO_Flat>
        
            projectedImageName Proj_Front_Flat
        
        </videoOutput>
    
    </window>

</desktop>
)");
}

// Without a display frame a screen block stops after its comment line and is
// never closed, so what follows stays one level further in.
TEST_F(ExportFsTest, MainScreenWithoutProjectionAreaLeavesTheScreenOpen) {
  auto ig = build.IG("localhost:0.0");
  build.Screen("Front", {0, 1000, 0}, {0, 0, 0}, {2000, 0, 0});
  build.Window(ig, "Other", {0, 0, 0.5, 0.5}, "Front");
  KORIVrcScreenView_var bare;
  EXPECT_EQ(factory->CreateScreenView("Bare", nullptr, bare.Out()), E_FAIL);
  ASSERT_TRUE(bare);
  auto main = build.Window(ig, "Main");
  build.Rendering("Main", KORQuery<KORIVrcView>(bare).get(), main);
  build.MainWindow(main);
  EXPECT_EQ(Generate(), E_FAIL);
  const std::string start = "<display J6>\n"
                            "\n"
                            "    <screen Front_Other>\n"
                            "    \n"
                            "        #real coordinates : UL ; LL ; LR\n"
                            "    \n"
                            "    </display>\n"
                            "    <transform IdentityTransform>";
  EXPECT_EQ(text.substr(0, start.size()), start);
}

TEST_F(ExportFsTest, NoMainWindowIsAnErrorAndWritesNothing) {
  auto ig = build.IG("localhost:0.0");
  build.Screen("Front", {0, 1000, 0}, {0, 0, 0}, {2000, 0, 0});
  build.Window(ig, "Lonely", {0, 0, 1, 1}, "Front");
  EXPECT_EQ(Generate(), E_FAIL);
  EXPECT_EQ(text, "");
  EXPECT_EQ(messages.rfind("Error: the configuration has no main window", 0), 0u) << messages;
}

TEST_F(ExportFsTest, ChecksOnlyWithoutTheWriteFlag) {
  auto ig = build.IG("localhost:0.0");
  MainOnFront(ig);
  build.Window(ig, "Other", {0, 0, 0.5, 0.5}, "Front");
  EXPECT_EQ(Generate(0), S_OK);
  EXPECT_EQ(text, "");
  EXPECT_EQ(messages, "");
}
