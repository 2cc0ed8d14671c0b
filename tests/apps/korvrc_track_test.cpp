// `korvrc track` end to end: a recorded run streamed over loopback UDP to the
// running command, malformed datagrams included, then the recording it made
// replayed; both end with the head and the hand where the last frame puts
// them in the model.
#include "../host/vr/KORVRTrackingTestSupport.h"
#include "KorvrcTestSupport.h"
#include "math/KORMathHPR.h"
#include "math/KORMathTransformation.h"
#include "vr/KORVRTrackingRecording.h"
#include "vr/KORVRUdpTracking.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace {

// One window, so that the head's sensor sends viewport events; the station
// turned a quarter about Z and moved, so that its frame matters.
constexpr const char* kInstallation = R"(
  "name": "Lab",
  "views": [{"name": "Front", "screen": {"upperLeft": [1500, 1500, 1500],
             "lowerLeft": [1500, 1500, -1500], "lowerRight": [1500, -1500, -1500]}}],
  "imageGenerators": [{"name": "localhost:0.0", "pixelWidth": 1280, "pixelHeight": 1024,
    "windows": [{"name": "FrontWin", "view": "Front", "rendering": "Mono", "main": true}]}],
  "trackingStations": [{"name": "Optical", "type": "ART", "daemon": "Optical1", "port": 1,
    "speed": 115200, "reference": {"x": 1000, "z": -750, "h": 90},
    "trackers": [{"number": 3, "tracks": "head", "viewpoint": true},
                 {"number": 5, "tracks": "hand", "picking": true}]}])";

KORMathTransformation Placement(double iX, double iY, double iZ, double iH, double iP, double iR) {
  KORMath3x3Matrix rotation;
  KORMathHPR(rotation, iH, iP, iR);
  return KORMathTransformation(rotation, KORMathVector(iX, iY, iZ));
}

KORMathTransformation HeadSensor(int iFrame) {
  return Placement(100 + iFrame, 50, 1700 - iFrame, iFrame * 0.5, 10, -5);
}
KORMathTransformation HandSensor(int iFrame) {
  return Placement(300, -200 + iFrame, 1100, -30, iFrame * 0.2, 45);
}

constexpr int kFrames = 200;

// The run: a frame a millisecond; every seventh datagram is malformed, and in
// every eleventh frame the controller loses sight of the hand.
KORVRTrackingRecording MakeRun(int& oMalformed) {
  KORVRTrackingRecording run;
  oMalformed = 0;
  for (int frame = 0; frame < kFrames; ++frame) {
    const double handQuality = frame % 11 == 0 && frame + 1 < kFrames ? -1.0 : 1.0;
    std::string text = "fr " + std::to_string(frame) + "\nts " + std::to_string(frame * 0.001) +
                       "\n6d 2 " + KORVRTestBodyText({3, HeadSensor(frame)}) + " " +
                       KORVRTestBodyText({5, HandSensor(frame), handQuality}) + "\n";
    if (frame % 7 == 3 && frame + 1 < kFrames) {
      text = "fr " + std::to_string(frame) + "\n6d 2 [3 1.000][1 2";
      ++oMalformed;
    }
    run.datagrams.push_back({frame * 0.001, text});
  }
  return run;
}

// The sensor's placement in the model: through the station's frame, then
// turned from the sensor's axes to the element's.
void ExpectPlacement(const nlohmann::json& iShown, const KORMathTransformation& iSensor) {
  const KORMathTransformation station = Placement(1000, 0, -750, 90, 0, 0);
  const KORMathTransformation sensorToElement(
      KORMath3x3Matrix(KORMathVector(0, 0, -1), KORMathVector(-1, 0, 0), KORMathVector(0, 1, 0)),
      KORMathVector());
  const KORMathTransformation expected = station * iSensor * sensorToElement;
  double h = 0, p = 0, r = 0;
  KORMathGetHPR(expected.GetMatrix(), h, p, r);
  const KORMathVector position = expected.GetVector();
  const char* const keys[] = {"x", "y", "z", "h", "p", "r"};
  const double values[] = {position.GetX(), position.GetY(), position.GetZ(), h, p, r};
  for (std::size_t i = 0; i < std::size(keys); ++i)
    EXPECT_NEAR(iShown.at(keys[i]).get<double>(), values[i], 1e-6) << keys[i] << " of " << iShown;
}

std::vector<nlohmann::json> JsonLines(const std::string& iText) {
  std::vector<nlohmann::json> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = iText.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(nlohmann::json::parse(iText.substr(start, end - start), nullptr, false));
  return lines;
}

class KorvrcTrackTest : public KorvrcTest {
protected:
  void SetUp() override {
    KorvrcTest::SetUp();
    ASSERT_EQ(Run("import " + Description(kInstallation) + " -o lab.kordoc").status, 0);
  }

  // The last line's counts and placements.
  void ExpectLastLine(const std::string& iOutput, int iMalformed) {
    const std::vector<nlohmann::json> lines = JsonLines(iOutput);
    ASSERT_FALSE(lines.empty()) << iOutput;
    const nlohmann::json& last = lines.back();
    ASSERT_FALSE(last.is_discarded()) << iOutput;
    EXPECT_EQ(last.at("received").get<int>(), kFrames);
    EXPECT_EQ(last.at("skipped").get<int>(), iMalformed);
    ExpectPlacement(last.at("head"), HeadSensor(kFrames - 1));
    ExpectPlacement(last.at("hand"), HandSensor(kFrames - 1));
  }
};

TEST_F(KorvrcTrackTest, AStreamedRunAndItsReplayEndWhereTheLastFramePutsHeadAndHand) {
  ASSERT_EQ(Run("export lab.kordoc --dir out --active").status, 0);
  int malformed = 0;
  const KORVRTrackingRecording run = MakeRun(malformed);
  ASSERT_GT(malformed, 0);

  const pid_t track =
      Start("track lab.kordoc --listen 127.0.0.1:0 --json --record run.kortrack", "track");
  int port = 0;
  ASSERT_TRUE(WaitFor([&] {
    const std::string err = ReadFile(folder / "track.err");
    const std::size_t at = err.find("listening on 127.0.0.1:");
    return at != std::string::npos &&
           std::sscanf(err.c_str() + at, "listening on 127.0.0.1:%d", &port) == 1;
  })) << ReadFile(folder / "track.err");

  KORVRUdpSender sender;
  KORString error;
  ASSERT_EQ(sender.Open(static_cast<unsigned short>(port), error), S_OK) << error;
  KORVRReplayRecording(run, KORVRReplayPace::Recorded, [&](std::string_view iDatagram) {
    EXPECT_EQ(sender.Send(iDatagram), S_OK);
  });
  // Once a second the command says how much it received: stop it when all is in.
  const bool allReceived = WaitFor([&] {
    const std::vector<nlohmann::json> lines = JsonLines(ReadFile(folder / "track.out"));
    return !lines.empty() && !lines.back().is_discarded() &&
           lines.back().value("received", 0) == kFrames;
  });
  ::kill(track, SIGINT);
  ASSERT_EQ(Wait(track), 0) << ReadFile(folder / "track.err");
  ASSERT_TRUE(allReceived) << ReadFile(folder / "track.out");
  ExpectLastLine(ReadFile(folder / "track.out"), malformed);

  const Result replayed = Run("track lab.kordoc --replay run.kortrack --json");
  ASSERT_EQ(replayed.status, 0) << replayed.err;
  ExpectLastLine(replayed.out, malformed);
}

TEST_F(KorvrcTrackTest, RunsThatCannotStartSayWhy) {
  struct Case {
    const char* arguments;
    const char* error;
  };
  const Case cases[] = {
      {"track lab.kordoc --listen 127.0.0.1", "write ADDRESS:PORT"},
      {"track lab.kordoc --listen 127.0.0.1:99999", "write ADDRESS:PORT"},
      {"track lab.kordoc --listen localhost:0", "not an IPv4 address"},
      {"track lab.kordoc --replay missing.kortrack", "missing.kortrack"},
      {"track lab.kordoc --replay run.kortrack --listen 127.0.0.1:0", "excludes"},
      {"track missing.kordoc", "missing.kordoc"},
  };
  for (const Case& tested : cases) {
    const Result result = Run(tested.arguments);
    EXPECT_NE(result.status, 0) << tested.arguments;
    EXPECT_NE(result.err.find(tested.error), std::string::npos)
        << tested.arguments << ": " << result.err;
  }
}

TEST_F(KorvrcTrackTest, AnotherActiveConfigurationLeavesNothingToTrack) {
  // The same installation imported again: a configuration of its own.
  ASSERT_EQ(Run("import " + Description(kInstallation, "other.json") + " -o other.kordoc").status,
            0);
  ASSERT_EQ(Run("export other.kordoc --dir out --active").status, 0);
  const Result result = Run("track lab.kordoc --seconds 1");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("nothing can be tracked"), std::string::npos) << result.err;
  EXPECT_NE(result.out.find("status: The immersive runtime has not loaded this configuration."),
            std::string::npos)
      << result.out;

  // The workbench's own notice of the other configuration came first on the
  // standard output and broke the JSON lines.
  const Result json = Run("track lab.kordoc --seconds 1 --json");
  EXPECT_EQ(json.status, 1);
  const std::vector<nlohmann::json> lines = JsonLines(json.out);
  EXPECT_FALSE(lines.empty());
  for (const nlohmann::json& line : lines)
    EXPECT_TRUE(line.is_object()) << json.out;
  EXPECT_NE(json.err.find("Modele different"), std::string::npos) << json.err;
}

// A document saved before configurations carried an identifier got a new one
// from every export, so that the runtime never recognised it twice.
TEST_F(KorvrcTrackTest, AnExportGivesAnOlderDocumentTheIdentifierForGood) {
  const std::regex stored("\"ConfigID\": \"[^\"]*\"");
  WriteFile(folder / "old.kordoc",
            std::regex_replace(ReadFile(folder / "lab.kordoc"), stored, "\"ConfigID\": \"\""));
  const Result first = Run("export old.kordoc --dir one");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.out.find("had no configuration identifier"), std::string::npos) << first.out;
  const Result second = Run("export old.kordoc --dir two");
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(second.out.find("had no configuration identifier"), std::string::npos) << second.out;

  const std::regex exported("ConfigID=\"([^\"]+)\"");
  std::smatch one, two;
  const std::string oneXml = ReadFile(folder / "one" / "Lab.xml");
  const std::string twoXml = ReadFile(folder / "two" / "Lab.xml");
  ASSERT_TRUE(std::regex_search(oneXml, one, exported));
  ASSERT_TRUE(std::regex_search(twoXml, two, exported));
  EXPECT_EQ(one[1].str(), two[1].str());
  EXPECT_NE(ReadFile(folder / "old.kordoc").find(one[1].str()), std::string::npos);
}

} // namespace
