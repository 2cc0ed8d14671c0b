// End-to-end tests of korvrc: each test runs the binary in its own temporary
// folder, with HOME and KORUserSettingPath pointing inside it.
#include "KorvrcTestSupport.h"

namespace {

TEST_F(KorvrcTest, DescribeAndReimportGiveTheSameExportedFiles) {
  ASSERT_EQ(Run(std::string("import ") + KORVRC_EXAMPLE_FILE + " -o first.kordoc").status, 0);
  const Result described = Run("describe first.kordoc");
  ASSERT_EQ(described.status, 0) << described.err;
  WriteFile(folder / "described.json", described.out);
  ASSERT_EQ(Run("import described.json -o second.kordoc").status, 0);

  for (const char* side : {"first", "second"}) {
    const Result exported =
        Run(std::string("export ") + side + ".kordoc --dir " + side + " --loose --name Room");
    ASSERT_EQ(exported.status, 0) << exported.err;
  }
  for (const char* file : {"Room.mpk", "Room.display", "Room.Tracker.tracking"}) {
    const std::string first = ReadFile(folder / "first" / file);
    EXPECT_FALSE(first.empty()) << file;
    EXPECT_EQ(first, ReadFile(folder / "second" / file)) << file;
  }
  const std::string firstXml = ReadFile(folder / "first/Room.xml");
  EXPECT_NE(firstXml.find("<Config"), std::string::npos);
  EXPECT_EQ(MaskIdentifiers(firstXml), MaskIdentifiers(ReadFile(folder / "second/Room.xml")));
}

TEST_F(KorvrcTest, DescriptionOfTheExampleKeepsRolesAndRecommendedOffsets) {
  const Result described = Run("describe");
  ASSERT_EQ(described.status, 0) << described.err;
  const std::string& text = described.out;
  EXPECT_NE(text.find(R"("name": "FourWallRoom")"), std::string::npos) << text;
  EXPECT_NE(text.find(R"("main": true)"), std::string::npos);
  EXPECT_NE(text.find(R"("viewpoint": true)"), std::string::npos);
  EXPECT_NE(text.find(R"("picking": true)"), std::string::npos);
  // Both trackers of the example use the recommended offset, written back as such.
  std::size_t best = 0;
  for (std::size_t at = text.find(R"("offset": "best")"); at != std::string::npos;
       at = text.find(R"("offset": "best")", at + 1))
    ++best;
  EXPECT_EQ(best, 2u);
}

TEST_F(KorvrcTest, CameraAnglesAndPlacementsComeBackInDegrees) {
  const std::string input = Description(
      R"("head": {"location": {"x": 10, "h": 90, "p": -30}},
         "views": [{"name": "Cam", "camera": {"hfov": 60, "vfov": 45, "hshift": 5, "vshift": -2.5}}],
         "imageGenerators": [{"name": ":0.0", "windows": [{"name": "W", "view": "Cam"}]}])");
  const Result described = Run("describe " + input);
  ASSERT_EQ(described.status, 0) << described.err;
  EXPECT_NE(described.out.find(R"("location": {
      "x": 10.0,
      "h": 90.0,
      "p": -30.0
    })"),
            std::string::npos)
      << described.out;
  EXPECT_NE(described.out.find(R"("camera": {
        "hfov": 60.0,
        "vfov": 45.0,
        "hshift": 5.0,
        "vshift": -2.5
      })"),
            std::string::npos)
      << described.out;
}

struct BrokenDescription {
  const char* rule;
  const char* members;
  const char* path;
};

TEST_F(KorvrcTest, EachBrokenRuleIsReportedWithItsPathAndNothingIsWritten) {
  const char* screen =
      R"("screen": {"upperLeft": [1, 1, 1], "lowerLeft": [1, 1, 0], "lowerRight": [1, 0, 0]})";
  const std::string view = std::string(R"({"name": "A", )") + screen + "}";
  const std::string station =
      R"("trackingStations": [{"name": "S", "type": "IS900", "daemon": "d", "trackers": )";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"("views": [)" + view + R"(, {"name": "B", "colour": 1}])", "views[1].colour"},
      {R"("imageGenerators": [{"name": ":0.0", "windows": [{"name": "W", "viewport": {"width": "1"}}]}])",
       "imageGenerators[0].windows[0].viewport.width"},
      {R"("views": [)" + view + ", " + view + "]", "views[1].name"},
      {R"("imageGenerators": [{"name": ":0.0", "windows": [{"name": "W", "view": "Nowhere"}]}])",
       "imageGenerators[0].windows[0].view"},
      {R"("imageGenerators": [{"name": ":0.0", "windows": [{"name": "W1", "main": true}]},
                              {"name": ":0.1", "windows": [{"name": "W2", "main": true}]}])",
       "imageGenerators[1].windows[0].main"},
      {station + R"([{"number": 1, "tracks": "head", "offset": "best"}]}])",
       "trackingStations[0].trackers[0].offset"},
      {station + R"([{"number": 16}]}])", "trackingStations[0].trackers[0].number"},
      {station + R"([{"number": 3}, {"number": 3}]}])", "trackingStations[0].trackers[1].number"},
      {station + R"([{"number": 3, "viewpoint": true, "tracks": "hand"}]}])",
       "trackingStations[0].trackers[0].viewpoint"},
      {R"("imageGenerators": [{"name": "visu2"}])", "imageGenerators[0].name"},
      {R"("hand": {"type": "GLOVE"})", "hand.type"},
      {R"("views": [{"name": "A"}])", "views[0]"},
      {R"("views": [{"name": "A", "camera": {"hfov": 1, "vfov": 1, "hshift": 0}}])",
       "views[0].camera.vshift"},
      {R"("name": "a", "name": "b")", "name: duplicate member"},
      // The first broken rule in file order wins over a later one.
      {R"("buttonDevices": [{"name": "B", "daemon": "d", "port": 1.5}], "views": 3)",
       "buttonDevices[0].port"},
  };
  for (const auto& [members, path] : cases) {
    const Result result = Run("import " + Description(members) + " -o doc.kordoc");
    EXPECT_NE(result.status, 0) << members;
    EXPECT_NE(result.err.find(path), std::string::npos) << members << "\n" << result.err;
    EXPECT_FALSE(fs::exists(folder / "doc.kordoc")) << members;
  }
  // The format line alone is a complete description.
  const Result minimal = Run("import " + Description("") + " -o doc.kordoc");
  EXPECT_EQ(minimal.status, 0) << minimal.err;
  WriteFile(folder / "other.json", R"({"format": "installation-description/2"})");
  EXPECT_NE(Run("import other.json -o other.kordoc").err.find("format: must be"),
            std::string::npos);
}

TEST_F(KorvrcTest, ReferencesMayPointForwardInTheFile) {
  // The window names a view listed later, and "best" depends on a head type
  // given after the stations: both are valid.
  const Result result = Run(
      "import " +
      Description(
          R"("imageGenerators": [{"name": "visu2:0.1", "windows": [{"name": "W", "view": "V"}]}],
                     "trackingStations": [{"trackers": [{"offset": "best", "number": 0, "tracks": "head"}],
                                           "name": "S", "type": "IS900", "daemon": "d"}],
                     "views": [{"name": "V", "camera": {"hfov": 1, "vfov": 1, "hshift": 0, "vshift": 0}}],
                     "head": {"type": "VR6"})") +
      " -o doc.kordoc");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(fs::exists(folder / "doc.kordoc"));
}

TEST_F(KorvrcTest, ExportRefusesToReplaceAFileWithoutForce) {
  ASSERT_EQ(Run("export --dir out").status, 0);
  const fs::path xml = folder / "out/FourWallRoom.xml";
  ASSERT_TRUE(fs::exists(xml));
  WriteFile(xml, "kept");
  const Result refused = Run("export --dir out");
  EXPECT_NE(refused.status, 0);
  EXPECT_NE(refused.err.find("FourWallRoom.xml: already exists"), std::string::npos) << refused.err;
  EXPECT_EQ(ReadFile(xml), "kept");
  EXPECT_EQ(Run("export --dir out --force").status, 0);
  EXPECT_NE(ReadFile(xml), "kept");
}

TEST_F(KorvrcTest, RegisterAndActiveLeaveTheExpectedRegistry) {
  const fs::path registry = settings / "VirtualRepository.KORSettings";
  ASSERT_EQ(Run("export --dir out").status, 0);
  EXPECT_FALSE(fs::exists(registry));

  const Result registered = Run("export --dir out --name A --register");
  ASSERT_EQ(registered.status, 0) << registered.err;
  const std::string out = (folder / "out").string();
  // A registry line that names a path in the export folder.
  const auto names = [&](const std::string& iKey, const std::string& iFile) {
    return iKey + " string \"" + out + iFile + "\"\n";
  };
  const std::string header = "# KOR setting repository \"VirtualRepository\"\n";
  EXPECT_EQ(ReadFile(registry), header + names("Config.1", "/A.xml") + "ConfigCount ulong 1\n" +
                                    names("ConfigDirectory", ""));

  // --active registers too; registering the same file again adds no entry.
  ASSERT_EQ(Run("export --dir out --name B --active").status, 0);
  ASSERT_EQ(Run("export --dir out --name B --active --force").status, 0);
  EXPECT_EQ(ReadFile(registry), header + names("ActiveConfig", "/B.xml") +
                                    names("Config.1", "/A.xml") + names("Config.2", "/B.xml") +
                                    "ConfigCount ulong 2\n" + names("ConfigDirectory", ""));
}

// The first file was copied before the second failed, and stayed.
TEST_F(KorvrcTest, SettingsThatFailPartWayWriteNothing) {
  fs::create_directories(settings / "VRCommandsTemp.KORSettings");
  const Result fresh = Run("settings --dir runtime");
  EXPECT_EQ(fresh.status, 1);
  EXPECT_NE(fresh.err.find("VRCommandsTemp.KORSettings: cannot be saved"), std::string::npos)
      << fresh.err;
  EXPECT_FALSE(fs::exists(folder / "runtime")) << "a directory made for nothing was left";

  fs::create_directories(folder / "kept");
  WriteFile(folder / "kept/VirtualRealityTemp.KORSettings", "old");
  EXPECT_EQ(Run("settings --dir kept --force").status, 1);
  EXPECT_EQ(ReadFile(folder / "kept/VirtualRealityTemp.KORSettings"), "old");
  EXPECT_FALSE(fs::exists(folder / "kept/VRCommandsTemp.KORSettings"));
}

TEST_F(KorvrcTest, NewDocumentHoldsTheDefaultConfiguration) {
  ASSERT_EQ(Run("new fresh.kordoc").status, 0);
  const Result described = Run("describe fresh.kordoc");
  ASSERT_EQ(described.status, 0) << described.err;
  EXPECT_EQ(described.out, "{\n  \"format\": \"installation-description/1\"\n}\n");
  EXPECT_NE(Run("describe missing.kordoc").err.find("missing.kordoc"), std::string::npos);
}

} // namespace
