// The runtime settings files: what the two repositories hold once saved into
// the user's settings directory (a temporary folder per test), and the copy.
#include "../host/system/KORSystemTestSupport.h"
#include "ExportFixture.h"
#include "system/KORSettingRepository.h"

namespace fs = std::filesystem;

class SettingsFileTest : public ExportTest {
protected:
  void SetUp() override {
    ExportTest::SetUp();
    KORSettingRepository::ResetAll();
  }
  void TearDown() override {
    KORSettingRepository::ResetAll();
    ExportTest::TearDown();
  }

  KORIVrcWindow_var WindowOnScreen(const char* iName) {
    build.Screen("Wall", {-1500, 3000, 2500}, {-1500, 3000, 250}, {1500, 3000, 250});
    return build.Window(build.IG(std::string("IG") + iName).get(), iName, {0, 0, 1, 1}, "Wall");
  }

  // The value of iKey as saved: the repositories are forgotten and read back
  // from their files.
  template <class T> T Saved(const char* iRepository, const char* iKey) {
    KORSettingRepository::ResetAll();
    T value{};
    EXPECT_EQ(KORSettingRepository::GetRepository(iRepository)->ReadSetting(iKey, value), S_OK)
        << iKey;
    return value;
  }

  HRESULT GenerateCommands(unsigned char iWrite = 0, const KORUnicodeString& iPath = "") {
    messages = "left over";
    const HRESULT result = configure->GenerateVRCommandsSettingFile(iPath, messages, iWrite);
    EXPECT_EQ(messages, "");
    return result;
  }

  KORTemporaryDirectory folder;
  KOREnvironmentOverride settingPath{"KORUserSettingPath", folder.Path().c_str()};
  const fs::path directory{folder.Path()};
};

TEST_F(SettingsFileTest, StereoModeTellsWhetherAWindowRendersStereo) {
  build.MainWindow(WindowOnScreen("Main").get());
  EXPECT_EQ(configure->GenerateVirtualRealitySettingFile("", messages, 0), S_OK);
  EXPECT_EQ(Saved<unsigned long>("VirtualRealityTemp", "StereoMode"), 0UL);

  build.Window(build.IG("IG2").get(), "Side", {0, 0, 1, 1}, "Wall", KORVrcRenderingStereo);
  EXPECT_EQ(configure->GenerateVirtualRealitySettingFile("", messages, 0), S_OK);
  EXPECT_EQ(Saved<unsigned long>("VirtualRealityTemp", "StereoMode"), 1UL);
}

TEST_F(SettingsFileTest, HeadEventDependsOnTheNumberOfWindows) {
  build.MainWindow(WindowOnScreen("Main").get());
  auto station = build.Station("Fastrak", KORVrcStationPolhemus, "Polhemus1");
  ASSERT_EQ(Head()->SetViewPointTracker(build.Tracker(station, 1, "head").get()), S_OK);
  EXPECT_EQ(GenerateCommands(), S_OK);
  EXPECT_EQ(Saved<KORUnicodeString>("VRCommandsTemp", "HeadTrackingEvent"),
            "Polhemus VIEWPORT_EVENT 1");
  EXPECT_EQ(Saved<KORUnicodeString>("VRCommandsTemp", "HandTrackingEvent"), "None");

  build.Window(build.IG("IG2").get(), "Side", {0, 0, 1, 1}, "Wall");
  ASSERT_EQ(Hand()->SetPickingTracker(build.Tracker(station, 3, "hand").get()), S_OK);
  EXPECT_EQ(GenerateCommands(), S_OK);
  EXPECT_EQ(Saved<KORUnicodeString>("VRCommandsTemp", "HeadTrackingEvent"),
            "Polhemus POSITION_EVENT 1");
  EXPECT_EQ(Saved<KORUnicodeString>("VRCommandsTemp", "HandTrackingEvent"),
            "Polhemus POSITION_EVENT 2");
}

TEST_F(SettingsFileTest, ScreenCornersAreInThePickingStationFrame) {
  build.MainWindow(WindowOnScreen("Main").get());
  // No picking tracker: the model frame.
  EXPECT_EQ(GenerateCommands(), S_OK);
  EXPECT_EQ(Saved<KORUnicodeString>("VRCommandsTemp", "CalibrationMode"), "Manual");
  EXPECT_EQ(Saved<float>("VRCommandsTemp", "URx"), 1500.0f);
  EXPECT_EQ(Saved<float>("VRCommandsTemp", "URy"), 3000.0f);
  EXPECT_EQ(Saved<float>("VRCommandsTemp", "URz"), 2500.0f);

  auto station = build.Station("Isense", KORVrcStationIS900, "isd", 1, 115200,
                               KORMathTransformation(kQuarterTurnAboutZ, {1000, 0, 500}));
  ASSERT_EQ(Hand()->SetPickingTracker(build.Tracker(station, 2, "hand").get()), S_OK);
  EXPECT_EQ(GenerateCommands(), S_OK);
  const std::pair<const char*, float> expected[] = {
      {"ULx", 3000}, {"ULy", 2500}, {"ULz", 2000}, {"URx", 3000},   {"URy", -500},   {"URz", 2000},
      {"LRx", 3000}, {"LRy", -500}, {"LRz", -250}, {"width", 3000}, {"height", 2250}};
  for (const auto& [key, value] : expected)
    EXPECT_EQ(Saved<float>("VRCommandsTemp", key), value) << key;
}

TEST_F(SettingsFileTest, ScreenSizeDoesNotDependOnTheStationOrientation) {
  build.MainWindow(WindowOnScreen("Main").get());
  KORIVrcHandDevice_var hand = Hand();
  for (const auto& ref : {ConfigBuilder::Placement(250, -40, 1200, 30, 20, 10),
                          ConfigBuilder::Placement(0, 0, 0, -135, 80, 45)}) {
    auto station = build.Station("S", KORVrcStationIS900, "isd", 1, 115200, ref);
    ASSERT_EQ(hand->SetPickingTracker(build.Tracker(station, 1, "hand").get()), S_OK);
    EXPECT_EQ(GenerateCommands(), S_OK);
    EXPECT_FLOAT_EQ(Saved<float>("VRCommandsTemp", "width"), 3000.0f);
    EXPECT_FLOAT_EQ(Saved<float>("VRCommandsTemp", "height"), 2250.0f);
  }
}

TEST_F(SettingsFileTest, CameraMainViewLeavesEarlierCornersAlone) {
  ASSERT_EQ(KORSettingRepository::GetRepository("VRCommandsTemp")->WriteSetting("ULx", 5.0f), S_OK);
  build.Camera("Hmd", 1, 0, 1, 0);
  build.MainWindow(build.Window(build.IG("IG").get(), "Main", {0, 0, 1, 1}, "Hmd").get());
  EXPECT_EQ(GenerateCommands(), S_OK);
  EXPECT_EQ(Saved<KORUnicodeString>("VRCommandsTemp", "CalibrationMode"), "Automatic");
  EXPECT_EQ(Saved<float>("VRCommandsTemp", "ULx"), 5.0f);
  float width = 0;
  EXPECT_EQ(KORSettingRepository::GetRepository("VRCommandsTemp")->ReadSetting("width", width),
            E_FAIL);
}

TEST_F(SettingsFileTest, WithoutWriteFlagTheSaveDecides) {
  build.MainWindow(WindowOnScreen("Main").get());
  EXPECT_EQ(configure->GenerateVirtualRealitySettingFile("/nowhere/at/all", messages, 0), S_OK);
  EXPECT_EQ(GenerateCommands(0, "/nowhere/at/all"), S_OK);
  EXPECT_TRUE(fs::exists(directory / "VirtualRealityTemp.KORSettings"));
  EXPECT_TRUE(fs::exists(directory / "VRCommandsTemp.KORSettings"));

  settingPath.Set(nullptr);
  EXPECT_EQ(configure->GenerateVirtualRealitySettingFile("", messages, 0), E_FAIL);
  EXPECT_EQ(GenerateCommands(0), E_FAIL);
}

TEST_F(SettingsFileTest, WriteFlagCopiesTheSavedFile) {
  build.MainWindow(WindowOnScreen("Main").get());
  fs::create_directories(directory / "export");
  const fs::path copy = directory / "export" / "commands.KORSettings";
  EXPECT_EQ(GenerateCommands(1, copy.string()), S_OK);
  ASSERT_TRUE(fs::exists(copy));
  EXPECT_EQ(KORReadWholeFile(copy), KORReadWholeFile(directory / "VRCommandsTemp.KORSettings"));

  const fs::path stereoCopy = directory / "export" / "vr.KORSettings";
  EXPECT_EQ(configure->GenerateVirtualRealitySettingFile(stereoCopy.string(), messages, 1), S_OK);
  EXPECT_EQ(KORReadWholeFile(stereoCopy),
            KORReadWholeFile(directory / "VirtualRealityTemp.KORSettings"));

  // The copy fails, the save has happened all the same.
  fs::remove(directory / "VRCommandsTemp.KORSettings");
  EXPECT_EQ(GenerateCommands(1, (directory / "missing" / "commands.KORSettings").string()), E_FAIL);
  EXPECT_TRUE(fs::exists(directory / "VRCommandsTemp.KORSettings"));
}
