// The XML export command and its dialog, through the driver.
#include "../host/system/KORSystemTestSupport.h"
#include "CommandFixture.h"
#include "interfaces/KORIVrcExportService.h"
#include "vr/KORVRConfigRegistry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class ExportCommandTest : public DriverTest {
protected:
  static void SetUpTestSuite() {
    DriverTest::SetUpTestSuite();
    // The runtime's registry is read from, and saved to, a folder of the
    // tests' own; it is read once per process, so before anything uses it.
    static const fs::path settings = fs::temp_directory_path() / "kor-export-cmd-settings";
    fs::remove_all(settings);
    fs::create_directories(settings);
    setenv("KORUserSettingPath", settings.c_str(), 1);
  }

  void SetUp() override {
    DriverTest::SetUp();
    fs::create_directories(folder / "out");
    fs::create_directories(profile);
    // Something to export: one wall shown by the main window.
    KORIVrcIG_var ig = build.IG("localhost:0.0");
    build.Screen("Wall", {3000, -1500, 2500}, {3000, -1500, 0}, {3000, 1500, 0});
    build.MainWindow(build.Window(ig.get(), "Win1", {0, 0, 1280, 1024}, "Wall",
                                  KORVrcRenderingMono, KORVrcMirrorNone)
                         .get());
  }

  // Starts the export into iDirectory, registering nothing.
  void StartInto(const fs::path& iDirectory) {
    const KORString directory = "set DirectoryEdt \"" + iDirectory.string() + "\"";
    Perform({"start btnGenerateXMLFile", directory, "set AddConfigChk off"});
  }
  // What the export service writes for this document.
  std::string ServiceXml() {
    KORVrcExportRequest request;
    request.directory = (folder / "service").string();
    request.name = "Config";
    KORListValKORUnicodeString written;
    KORUnicodeString messages, failure;
    auto service = KORQuery<KORIVrcExportService>(config);
    EXPECT_EQ(service->Export(request, written, messages, failure), S_OK) << failure;
    return KORReadWholeFile(folder / "service" / "Config.xml");
  }

  KORTemporaryDirectory temporary;
  const fs::path folder{temporary.Path()};
  const fs::path profile = folder / "profile";
  KOREnvironmentOverride userProfile{"USERPROFILE", profile.c_str()};
};

TEST_F(ExportCommandTest, StartsWithTheConfigurationsNameInTheProfileDirectory) {
  // ctest runs each case in a process of its own; run together in another
  // order, a registration before this one leaves the runtime a directory.
  if (!KORGetVRConfigDirectory().empty())
    GTEST_SKIP() << "the runtime's registry already holds a directory in this process";
  const KORString directory = "expect DirectoryEdt \"" + profile.string() + "\"";
  Perform({"start btnGenerateXMLFile", "expect NameEdt Config", directory,
           "expect AddConfigChk on", "expect SetConfigChk on", "press Cancel"});
  EXPECT_FALSE(DialogOpen());
  EXPECT_TRUE(fs::is_empty(profile)) << "Cancel writes nothing";
}

TEST_F(ExportCommandTest, SetConfigChkFollowsAddConfigChk) {
  Perform({"start btnGenerateXMLFile"});
  const struct {
    const char* action;
    const char* setConfigShown;
    bool setConfigSensitive;
  } steps[] = {
      {"set AddConfigChk off", "off", false}, // switched off with it
      {"set AddConfigChk on", "on", true},    // gets back its earlier state
      {"set SetConfigChk off", "off", true},
      {"set AddConfigChk off", "off", false},
      {"set AddConfigChk on", "off", true}, // earlier state was off
  };
  for (const auto& step : steps) {
    Perform({step.action});
    Perform({KORString("expect SetConfigChk ") + step.setConfigShown});
    EXPECT_EQ(Accepted("set SetConfigChk on"), step.setConfigSensitive) << "after " << step.action;
    if (step.setConfigSensitive)
      Perform({KORString("set SetConfigChk ") + step.setConfigShown});
  }
}

TEST_F(ExportCommandTest, OverwriteNoLeavesTheOldFileAndYesReplacesIt) {
  const fs::path target = folder / "out" / "Config.xml";
  std::ofstream(target) << "old";
  StartInto(folder / "out");
  Perform({"press OK"});
  EXPECT_TRUE(DialogOpen()) << "the question is asked first";
  Perform({"answer no", "expect-message \"" + target.string() + " already exists\""});
  EXPECT_FALSE(DialogOpen());
  EXPECT_EQ(KORReadWholeFile(target), "old");

  StartInto(folder / "out");
  Perform({"press OK", "answer yes"});
  EXPECT_FALSE(DialogOpen());
  EXPECT_EQ(KORReadWholeFile(target), ServiceXml());
}

TEST_F(ExportCommandTest, AReplayedJournalIsNotAskedAboutAnExistingFile) {
  const fs::path target = folder / "out" / "Config.xml";
  std::ofstream(target) << "old";
  frame.SetReplayingUserInteraction(true);
  StartInto(folder / "out");
  Perform({"press OK"});
  EXPECT_FALSE(DialogOpen());
  EXPECT_EQ(KORReadWholeFile(target), ServiceXml());
}

TEST_F(ExportCommandTest, AnUnusableNameIsReportedAndNothingIsWritten) {
  StartInto(folder / "out");
  Perform({"set NameEdt \"a/b\"", "press OK", "expect-message \"path separator\""});
  EXPECT_TRUE(fs::is_empty(folder / "out"));
}

// Last: it registers a directory with the runtime, which the process keeps.
TEST_F(ExportCommandTest, TheChecksRegisterTheFileAndMakeItActive) {
  const KORString directory = "set DirectoryEdt \"" + (folder / "out").string() + "\"";
  const KORString path = (folder / "out" / "Config.xml").string();
  Perform({"start btnGenerateXMLFile", directory, "press OK",
           "expect-message \"Restart the immersive runtime\""});
  EXPECT_EQ(KORGetVRConfigDirectory(), (folder / "out").string());
  EXPECT_EQ(KORGetActiveVRConfig(), path);
  const KORListValKORUnicodeString listed = KORGetVRConfigs();
  EXPECT_NE(listed.Locate(path), 0);

  Perform({"start btnGenerateXMLFile", "set NameEdt Second", "set SetConfigChk off", "press OK"});
  EXPECT_EQ(KORGetActiveVRConfig(), path) << "added, not made active";
  EXPECT_NE(KORGetVRConfigs().Locate((folder / "out" / "Second.xml").string()), 0);

  // An image generator on another host: written and registered, with the
  // warning in the error box.
  build.IG("render2:0.0");
  Perform({"start btnGenerateXMLFile", "set NameEdt Distant", "press OK",
           "expect-message \"on another host than localhost\""});
  EXPECT_TRUE(fs::exists(folder / "out" / "Distant.xml"));
  EXPECT_EQ(KORGetActiveVRConfig(), (folder / "out" / "Distant.xml").string());
  EXPECT_EQ(frame.MessageBoxes().Shown().back().identifier, "GenerateXMLError");
}

} // namespace
