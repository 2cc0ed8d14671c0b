// korvrc against hostile input, interruption and concurrent runs: every
// refusal exits 1 naming the file and the JSON path, writes nothing and
// changes no existing file; files under their final names are always whole.
#include "KorvrcTestSupport.h"

#include <random>
#include <set>

namespace {

const char* const kScreen =
    R"("screen": {"upperLeft": [1500, 1500, 1500], "lowerLeft": [1500, 1500, -1500], "lowerRight": [1500, -1500, -1500]})";

// One view shown by the main window of one image generator named iIG.
std::string Installation(const std::string& iName, const std::string& iIG) {
  return R"("name": ")" + iName + R"(", "views": [{"name": "F", )" + kScreen +
         R"(}], "imageGenerators": [{"name": ")" + iIG +
         R"(", "windows": [{"name": "W", "view": "F", "main": true}]}])";
}

struct Hostile {
  const char* what;
  std::string members; // after the format line
  const char* path;    // the JSON path the error names
};

std::vector<Hostile> HostileDescriptions() {
  const std::string station = R"("trackingStations": [{"name": "S", "daemon": )";
  const std::string camera = R"("views": [{"name": "C", "camera": )";
  return {
      // Crashes.
      {"number beyond a double", R"("head": {"ipd": 1e999})", "head.ipd"},
      {"deep nesting in a member the reader refuses",
       R"("x": )" + std::string(50000, '[') + std::string(50000, ']'), "line 1, column"},
      // Ranges.
      {"ipd of 0", R"("head": {"ipd": 0})", "head.ipd"},
      {"placement of 1e308", R"("head": {"location": {"x": 1e308}})", "head.location.x"},
      {"camera angle of 1e300",
       camera + R"({"hfov": 1e300, "vfov": 40, "hshift": 0, "vshift": 0}}])",
       "views[0].camera.hfov"},
      {"camera shift of 90", camera + R"({"hfov": 60, "vfov": 40, "hshift": 90, "vshift": 0}}])",
       "views[0].camera.hshift"},
      {"three equal corners",
       R"("views": [{"name": "A", "screen": {"upperLeft": [1, 2, 3], "lowerLeft": [1, 2, 3], "lowerRight": [1, 2, 3]}}])",
       "views[0].screen"},
      {"parallel edges",
       R"("views": [{"name": "A", "screen": {"upperLeft": [0, 2, 0], "lowerLeft": [0, 0, 0], "lowerRight": [0, 5, 0]}}])",
       "views[0].screen"},
      {"screen corner beyond 1e9",
       R"("views": [{"name": "A", "screen": {"upperLeft": [0, 0, 2e9], "lowerLeft": [0, 0, 0], "lowerRight": [0, 5, 0]}}])",
       "views[0].screen.upperLeft[2]"},
      {"pixel width of 70000", R"("imageGenerators": [{"name": ":0.0", "pixelWidth": 70000}])",
       "imageGenerators[0].pixelWidth"},
      {"negative pixel height", R"("imageGenerators": [{"name": ":0.0", "pixelHeight": -1}])",
       "imageGenerators[0].pixelHeight"},
      {"viewport beyond 1",
       R"("imageGenerators": [{"name": ":0.0", "windows": [{"name": "W", "viewport": {"left": 1.5}}]}])",
       "imageGenerators[0].windows[0].viewport.left"},
      {"port 0", station + R"("d", "port": 0}])", "trackingStations[0].port"},
      {"speed 0", station + R"("d", "speed": 0}])", "trackingStations[0].speed"},
      {"button device speed 0", R"("buttonDevices": [{"name": "B", "daemon": "d", "speed": 0}])",
       "buttonDevices[0].speed"},
      {"speed beyond 1e7", station + R"("d", "speed": 20000000}])", "trackingStations[0].speed"},
      {"speed beyond an int", station + R"("d", "speed": 18446744073709551615}])",
       "trackingStations[0].speed"},
      // Names.
      {"empty configuration name", R"("name": "")", "name"},
      {"configuration name ..", R"("name": "..")", "name"},
      {"configuration name with a slash", R"("name": "a/b")", "name"},
      {"control character in a view name",
       R"("views": [{"name": "a\u001bb", )" + std::string(kScreen) + "}]", "views[0].name"},
      {"name of a megabyte",
       R"("views": [{"name": ")" + std::string(1 << 20, 'v') + R"(", )" + kScreen + "}]",
       "views[0].name"},
      {"empty window name", R"("imageGenerators": [{"name": ":0.0", "windows": [{"name": ""}]}])",
       "imageGenerators[0].windows[0].name"},
      {"daemon with a quote", station + R"("a\"b"}])", "trackingStations[0].daemon"},
      {"daemon with a blank", R"("buttonDevices": [{"name": "B", "daemon": "two words"}])",
       "buttonDevices[0].daemon"},
  };
}

TEST_F(KorvrcTest, HostileDescriptionsAreRefusedByEveryCommandAndChangeNothing) {
  WriteFile(folder / "kept.kordoc", "kept");
  fs::create_directory(folder / "out");
  WriteFile(folder / "out/Config.xml", "kept");
  const std::string commands[] = {"import hostile.json -o kept.kordoc --force",
                                  "import hostile.json -o new.kordoc", "describe hostile.json",
                                  "export hostile.json --dir out --force --loose --active",
                                  "settings hostile.json --dir runtime --force"};
  for (const Hostile& hostile : HostileDescriptions()) {
    SCOPED_TRACE(hostile.what);
    Description(hostile.members, "hostile.json");
    for (const std::string& command : commands) {
      SCOPED_TRACE(command);
      const Result result = Run(command);
      EXPECT_EQ(result.status, 1);
      EXPECT_EQ(result.err.rfind("korvrc: hostile.json: ", 0), 0u) << result.err.substr(0, 300);
      EXPECT_NE(result.err.find(hostile.path), std::string::npos) << result.err.substr(0, 300);
      EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(ReadFile(folder / "kept.kordoc"), "kept");
    EXPECT_EQ(Names("out"), std::vector<std::string>{"Config.xml"});
    EXPECT_EQ(ReadFile(folder / "out/Config.xml"), "kept");
    EXPECT_FALSE(fs::exists(folder / "new.kordoc"));
    EXPECT_FALSE(fs::exists(folder / "runtime"));
    EXPECT_FALSE(fs::exists(settings));
  }
}

TEST_F(KorvrcTest, DocumentsWithoutConfigurationAreNotInstallations) {
  // Both were described as an empty default configuration with exit status 0.
  const std::pair<const char*, const char*> documents[] = {
      {"no containers", R"({"format": "kor-document/1", "containers": []})"},
      {"unknown container type",
       R"({"format": "kor-document/1", "containers": [{"type": "Other", "superType": "KORFeatCont", "userId": "x", "nativeFormat": "x", "catalogs": [], "flags": [], "features": []}]})"},
  };
  for (const auto& [what, text] : documents) {
    WriteFile(folder / "doc.kordoc", text);
    for (const char* command : {"describe doc.kordoc", "export doc.kordoc --dir out"}) {
      const Result result = Run(command);
      EXPECT_EQ(result.status, 1) << what << ": " << command;
      EXPECT_EQ(result.err, "korvrc: doc.kordoc: holds no configuration container "
                            "(\"VrcContainer\"): it is not an installation\n")
          << what;
    }
    EXPECT_FALSE(fs::exists(folder / "out")) << what;
  }
}

TEST_F(KorvrcTest, EveryErrorHasOneFormAndSaysWhy) {
  fs::create_directory(folder / "adir");
  const std::string missing = "korvrc: missing.json: cannot be read: no such file or directory\n";
  const std::pair<std::string, std::string> cases[] = {
      // import used to exit 105 with the option parser's wording.
      {"import missing.json -o doc.kordoc", missing},
      {"describe missing.json", missing},
      {"export missing.json --dir out", missing},
      {"settings missing.json --dir out", missing},
      {"describe adir", "korvrc: adir: cannot be read: is a directory\n"},
      {"import " + Description(R"("name": "x")") + " -o adir --force",
       "korvrc: adir: is a directory\n"},
  };
  for (const auto& [command, expected] : cases) {
    const Result result = Run(command);
    EXPECT_EQ(result.status, 1) << command;
    EXPECT_EQ(result.err, expected) << command;
  }
}

TEST_F(KorvrcTest, NamesInMessagesAreEscapedAndCut) {
  const Result result =
      Run("import " +
          Description(
              R"("imageGenerators": [{"name": ":0.0", "windows": [{"name": "W", "view": "x\u0001)" +
              std::string(500, 'y') + R"("}]}])") +
          " -o doc.kordoc");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find(R"(names no view of "views": "x\x01yyy)"), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("... (502 characters)"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find('\x01'), std::string::npos);
  EXPECT_LT(result.err.size(), 300u); // the name alone is 502 characters
}

TEST_F(KorvrcTest, ExportMessagesComeOnceAndBlameTheOptionGiven) {
  ASSERT_EQ(Run("new fresh.kordoc").status, 0);
  // The main-window error was printed by the XML document and again by each loose file.
  // An export that reports an error writes and registers nothing.
  const Result failed = Run("export fresh.kordoc --dir out --loose --active");
  EXPECT_EQ(failed.status, 1);
  EXPECT_FALSE(fs::exists(folder / "out"));
  EXPECT_FALSE(fs::exists(settings / "VirtualRepository.KORSettings"));
  std::size_t count = 0;
  for (std::size_t at = failed.err.find("no main window"); at != std::string::npos;
       at = failed.err.find("no main window", at + 1))
    ++count;
  EXPECT_EQ(count, 1u) << failed.err;

  // A document whose configuration is named "..": --name is blamed only when given.
  std::string text = ReadFile(folder / "fresh.kordoc");
  const std::string named = R"("Name": "Config")";
  ASSERT_NE(text.find(named), std::string::npos);
  text.replace(text.find(named), named.size(), R"("Name": "..")");
  WriteFile(folder / "dots.kordoc", text);
  const Result unnamed = Run("export dots.kordoc --dir out");
  EXPECT_EQ(unnamed.status, 1);
  EXPECT_EQ(unnamed.err.find("--name"), std::string::npos) << unnamed.err;
  EXPECT_NE(unnamed.err.find(R"(the configuration's name "..": cannot name a file)"),
            std::string::npos)
      << unnamed.err;
  const Result given = Run("export --dir out --name a/b");
  EXPECT_NE(given.err.find(R"(korvrc: --name "a/b": cannot name a file)"), std::string::npos)
      << given.err;
  EXPECT_FALSE(fs::exists(folder / "out"));
}

TEST_F(KorvrcTest, DisplayNumbersAboveThreeAreAcceptedAndADistantMultipipeIsLeftOut) {
  // ":4.1" to ":15.1" were refused: their fraction is below 0.1 minus the machine epsilon.
  for (const char* ig : {":4.1", "visu2:15.1", ":9.1", ":1000.3"}) {
    const Result result =
        Run("import " + Description(Installation("R", ig)) + " -o doc.kordoc --force");
    EXPECT_EQ(result.status, 0) << ig << "\n" << result.err;
  }
  // The export of a distant image generator wrote nothing and failed.
  const Result distant =
      Run("export " + Description(Installation("Far", "visu2:0.1")) + " --dir out --loose");
  EXPECT_EQ(distant.status, 0) << distant.err;
  EXPECT_EQ(Names("out"), (std::vector<std::string>{"Far.display", "Far.xml"}));
  EXPECT_NE(distant.err.find("Warning: some image generators are on another host"),
            std::string::npos)
      << distant.err;
}

TEST_F(KorvrcTest, NoCommandWritesOverAnExistingFileOrItsInput) {
  const std::string input = Description(R"("name": "Mine")", "mine.json");
  const std::string original = ReadFile(input);
  fs::create_symlink("mine.json", folder / "link.json");
  WriteFile(folder / "doc.kordoc", "kept");
  const std::string exists = "korvrc: doc.kordoc: already exists (use --force to replace it)\n";
  const std::string isInput = ": is the input being read: it is not written over\n";
  const std::pair<std::string, std::string> refused[] = {
      {"import mine.json -o doc.kordoc", exists},
      {"new doc.kordoc", exists},
      // The hand-written description was replaced by a document.
      {"import mine.json -o mine.json --force", "korvrc: mine.json" + isInput},
      {"import mine.json -o ./link.json --force", "korvrc: ./link.json" + isInput},
      {"import link.json -o " + folder.string() + "/mine.json --force",
       "korvrc: " + folder.string() + "/mine.json" + isInput},
  };
  for (const auto& [command, expected] : refused) {
    const Result result = Run(command);
    EXPECT_EQ(result.status, 1) << command;
    EXPECT_EQ(result.err, expected) << command;
  }
  EXPECT_EQ(ReadFile(input), original);
  EXPECT_EQ(ReadFile(folder / "doc.kordoc"), "kept");
  EXPECT_EQ(Run("import mine.json -o doc.kordoc --force").status, 0);
  EXPECT_NE(ReadFile(folder / "doc.kordoc"), "kept");

  ASSERT_EQ(Run("settings --dir runtime").status, 0);
  WriteFile(folder / "runtime/VRCommandsTemp.KORSettings", "kept");
  const Result again = Run("settings --dir runtime");
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("VirtualRealityTemp.KORSettings: already exists"), std::string::npos)
      << again.err;
  EXPECT_EQ(ReadFile(folder / "runtime/VRCommandsTemp.KORSettings"), "kept");
  EXPECT_EQ(Run("settings --dir runtime --force").status, 0);
}

TEST_F(KorvrcTest, AnExportBlockedByOneTargetWritesNoneOfThem) {
  // NAME.xml was replaced before NAME.mpk, a directory, failed the export.
  ASSERT_EQ(Run("export --dir out --loose").status, 0);
  WriteFile(folder / "out/FourWallRoom.xml", "kept");
  fs::remove(folder / "out/FourWallRoom.mpk");
  fs::create_directory(folder / "out/FourWallRoom.mpk");
  const Result blocked = Run("export --dir out --loose --force");
  EXPECT_EQ(blocked.status, 1);
  EXPECT_NE(blocked.err.find("out/FourWallRoom.mpk: is a directory"), std::string::npos)
      << blocked.err;
  EXPECT_EQ(ReadFile(folder / "out/FourWallRoom.xml"), "kept");
  for (const std::string& name : Names("out"))
    EXPECT_EQ(name.find(".tmp."), std::string::npos) << name;
}

// A seeded run of exports each killed at a random moment: the files under
// their final names are always the complete files of a whole export.
TEST_F(KorvrcTest, AKilledExportLeavesOnlyWholeFilesUnderFinalNames) {
  ASSERT_EQ(Run("export --dir reference --loose --name Room").status, 0);
  std::map<std::string, std::string> whole;
  for (const std::string& name : Names("reference"))
    whole[name] = MaskIdentifiers(ReadFile(folder / "reference" / name));
  std::mt19937 random(20261206);
  std::uniform_int_distribution<int> delay(
      0, MicrosecondsOf("export --dir out --loose --name Room --force"));
  int killed = 0;
  for (int round = 0; round < 40; ++round) {
    const pid_t child = Start("export --dir out --loose --name Room --force", "log");
    ::usleep(static_cast<useconds_t>(delay(random)));
    ::kill(child, SIGKILL);
    killed += Wait(child) == -SIGKILL;
    for (const std::string& name : Names("out")) {
      if (name.find(".tmp.") != std::string::npos) {
        fs::remove(folder / "out" / name); // a killed process cannot clean up
        continue;
      }
      ASSERT_TRUE(whole.contains(name)) << name;
      EXPECT_EQ(MaskIdentifiers(ReadFile(folder / "out" / name)), whole[name])
          << "round " << round << ": " << name;
    }
  }
  EXPECT_GT(killed, 0) << "no export was interrupted: the delays are too long";
}

// Each run is stopped at a random moment, its folder looked at, then sent the
// signal and let go: where temporaries were open, they must be gone after.
TEST_F(KorvrcTest, AnInterruptedExportLeavesNoTemporaries) {
  std::string stations;
  for (int station = 0; station < 20; ++station)
    stations += std::string(stations.empty() ? "" : ", ") + R"({"name": "S)" +
                std::to_string(station) + R"(", "daemon": "d", "trackers": [{"number": 1}]})";
  Description(Installation("Many", ":0.0") + R"(, "trackingStations": [)" + stations + "]",
              "many.json");
  std::mt19937 random(1206);
  std::uniform_int_distribution<int> delay(
      0, MicrosecondsOf("export many.json --dir out --loose --force"));
  // The writing window is short next to the whole run, so runs go on (up to a
  // bound) until at least one was stopped while temporaries were open.
  int caughtWriting = 0;
  for (int round = 0; round < 24 || (caughtWriting == 0 && round < 200); ++round) {
    const int signal = round % 2 == 0 ? SIGTERM : SIGINT;
    const pid_t child = Start("export many.json --dir out --loose --force", "log");
    ::usleep(static_cast<useconds_t>(delay(random)));
    ::kill(child, SIGSTOP);
    for (const std::string& name : Names("out"))
      caughtWriting += name.find(".tmp.") != std::string::npos;
    ::kill(child, signal);
    ::kill(child, SIGCONT);
    const int status = Wait(child);
    EXPECT_TRUE(status == 0 || status == -signal) << status;
    for (const std::string& name : Names("out"))
      EXPECT_EQ(name.find(".tmp."), std::string::npos) << "signal " << signal << ": " << name;
  }
  EXPECT_GT(caughtWriting, 0) << "no run was stopped while writing: the delays do not fit";
}

TEST_F(KorvrcTest, ConcurrentRegistrationsAreAllKept) {
  // Eight runs all said "registered" and the registry kept three.
  std::vector<pid_t> children;
  for (int run = 0; run < 8; ++run)
    children.push_back(Start("export --dir out --register --name C" + std::to_string(run),
                             "log" + std::to_string(run)));
  for (pid_t child : children)
    EXPECT_EQ(Wait(child), 0);
  const std::string registry = ReadFile(settings / "VirtualRepository.KORSettings");
  EXPECT_NE(registry.find("ConfigCount ulong 8\n"), std::string::npos) << registry;
  for (int run = 0; run < 8; ++run)
    EXPECT_NE(registry.find("/out/C" + std::to_string(run) + ".xml\""), std::string::npos)
        << run << "\n"
        << registry;
}

TEST_F(KorvrcTest, TwoExportsIntoOneFolderDoNotMixTheirFiles) {
  const std::string first = Description(Installation("Room", ":0.0"), "first.json");
  const std::string second = Description(Installation("Room", ":0.1"), "second.json");
  for (int round = 0; round < 5; ++round) {
    fs::remove_all(folder / "out");
    const pid_t a = Start("export first.json --dir out --loose", "a");
    const pid_t b = Start("export second.json --dir out --loose", "b");
    const int statusA = Wait(a), statusB = Wait(b);
    // One wins; the other finds its files there and stops before writing.
    ASSERT_EQ(statusA + statusB, 1) << statusA << " " << statusB;
    const std::string loser = ReadFile(folder / (statusA == 0 ? "b.err" : "a.err"));
    EXPECT_NE(loser.find("already exists"), std::string::npos) << loser;
    const std::string expectedIG = statusA == 0 ? ":0.0" : ":0.1";
    EXPECT_NE(ReadFile(folder / "out/Room.xml").find(expectedIG), std::string::npos);
    EXPECT_NE(ReadFile(folder / "out/Room.mpk").find(expectedIG), std::string::npos);
  }
}

} // namespace
