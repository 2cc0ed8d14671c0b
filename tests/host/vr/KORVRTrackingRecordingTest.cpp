#include "vr/KORVRTrackingRecording.h"
#include "../system/KORSystemTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Datagrams that a text format would mangle: line breaks, a NUL, an empty one.
const std::vector<std::string> kAwkwardDatagrams = {"fr 1\n6d 0\n", std::string("fr 2\0\n\n", 7),
                                                    "", "fr 3\r\nts 4.5"};

TEST(TrackingRecording, RecordedDatagramsReadBackByteForByteInOrder) {
  KORTemporaryDirectory folder;
  const std::string path = folder.Path() + "/run.kortrack";
  KORString error;
  {
    KORVRTrackingRecorder recorder;
    ASSERT_EQ(recorder.Open(path, error), S_OK) << error;
    const Clock::time_point start = Clock::now();
    recorder.Record(kAwkwardDatagrams[0], start + 250ms);
    recorder.Record(kAwkwardDatagrams[1], start + 500ms);
    recorder.Record(kAwkwardDatagrams[2], start + 400ms); // arrived "earlier": kept in order
    recorder.Record(kAwkwardDatagrams[3], start + 1500ms);
    EXPECT_FALSE(std::filesystem::exists(path)) << "nothing is published before Close";
    ASSERT_EQ(recorder.Close(error), S_OK) << error;
    EXPECT_EQ(recorder.Close(error), S_FALSE);
  }
  EXPECT_EQ(folder.List(), std::set<std::string>{"run.kortrack"}) << "no temporary file is left";

  KORVRTrackingRecording recording;
  ASSERT_EQ(KORVRReadTrackingRecording(path, recording, error), S_OK) << error;
  ASSERT_EQ(recording.datagrams.size(), kAwkwardDatagrams.size());
  for (std::size_t i = 0; i < kAwkwardDatagrams.size(); ++i)
    EXPECT_EQ(recording.datagrams[i].bytes, kAwkwardDatagrams[i]) << "datagram " << i;
  // The recorder's clock starts a little before `start`; the gaps are exact.
  const auto& d = recording.datagrams;
  EXPECT_GE(d[0].seconds, 0.25);
  EXPECT_LT(d[0].seconds, 0.25 + 1.0);
  EXPECT_NEAR(d[1].seconds - d[0].seconds, 0.25, 2e-6);
  EXPECT_EQ(d[2].seconds, d[1].seconds) << "times never go backwards";
  EXPECT_NEAR(d[3].seconds - d[1].seconds, 1.0, 2e-6);
}

TEST(TrackingRecording, AnAbandonedOrRefusedRecordingLeavesNoFile) {
  KORTemporaryDirectory folder;
  const std::string path = folder.Path() + "/run.kortrack";
  KORString error;
  {
    KORVRTrackingRecorder recorder;
    ASSERT_EQ(recorder.Open(path, error), S_OK) << error;
    recorder.Record("fr 1\n");
    EXPECT_EQ(recorder.Open(path, error), E_FAIL) << "one recording at a time";
  }
  EXPECT_TRUE(folder.List().empty());
  KORVRTrackingRecorder recorder;
  EXPECT_EQ(recorder.Open(folder.Path() + "/missing/run.kortrack", error), E_FAIL);
  EXPECT_NE(error.find("missing/run.kortrack"), std::string::npos) << error;
}

TEST(TrackingRecording, AHandWrittenRecordingIsRead) {
  const std::string text = "kortrack/1\n"
                           "0.000000 5\n"
                           "fr 1\n\n"
                           "0.010500 15\n"
                           "fr 2\nts 0.0105\n\n";
  KORVRTrackingRecording recording;
  KORString error;
  ASSERT_EQ(KORVRParseTrackingRecording(text, "hand.kortrack", recording, error), S_OK) << error;
  ASSERT_EQ(recording.datagrams.size(), 2u);
  EXPECT_EQ(recording.datagrams[0].seconds, 0.0);
  EXPECT_EQ(recording.datagrams[0].bytes, "fr 1\n");
  EXPECT_EQ(recording.datagrams[1].seconds, 0.0105);
  EXPECT_EQ(recording.datagrams[1].bytes, "fr 2\nts 0.0105\n");
}

TEST(TrackingRecording, BadRecordingsAreRefusedWithTheRecordAndItsOffset) {
  const struct {
    const char* what;
    std::string text;
    const char* error;
  } cases[] = {
      {"no header", "0.0 1\nx\n", "r.kortrack: does not start with \"kortrack/1\""},
      {"record line without length", "kortrack/1\n0.5\nx\n",
       "r.kortrack: record 1 at byte 11: expected \"SECONDS LENGTH\""},
      {"negative time", "kortrack/1\n-1 1\nx\n",
       "r.kortrack: record 1 at byte 11: expected \"SECONDS LENGTH\""},
      {"NaN time", "kortrack/1\nnan 1\nx\n",
       "r.kortrack: record 1 at byte 11: expected \"SECONDS LENGTH\""},
      {"time going backwards", "kortrack/1\n2 1\nx\n1 1\ny\n",
       "r.kortrack: record 2 at byte 17: time goes backwards"},
      {"truncated datagram", "kortrack/1\n0 10\nfr 1\n",
       "r.kortrack: record 1 at byte 11: truncated datagram (10 bytes announced)"},
      {"length that does not end at a line break", "kortrack/1\n0 2\nfr 1\n",
       "r.kortrack: record 1 at byte 11: truncated datagram (2 bytes announced)"},
      {"record line cut off", "kortrack/1\n0 1",
       "r.kortrack: record 1 at byte 11: record line without end"},
      {"oversized datagram", "kortrack/1\n0 70000\n",
       "r.kortrack: record 1 at byte 11: datagram longer than 65507 bytes"},
  };
  for (const auto& bad : cases) {
    SCOPED_TRACE(bad.what);
    KORVRTrackingRecording recording;
    recording.datagrams.push_back({1.0, "stale"});
    KORString error;
    EXPECT_EQ(KORVRParseTrackingRecording(bad.text, "r.kortrack", recording, error), E_FAIL);
    EXPECT_EQ(error, bad.error);
    EXPECT_TRUE(recording.datagrams.empty());
  }
}

TEST(TrackingRecording, AMissingFileIsNamed) {
  KORVRTrackingRecording recording;
  KORString error;
  EXPECT_EQ(KORVRReadTrackingRecording("/nonexistent/run.kortrack", recording, error), E_FAIL);
  EXPECT_EQ(error.rfind("cannot open \"/nonexistent/run.kortrack\"", 0), 0u) << error;
}

KORVRTrackingRecording ThreeFrames() {
  return {{{0.0, "fr 1\n"}, {0.05, "fr 2\n"}, {0.12, "fr 3\n"}}};
}

TEST(TrackingReplay, HandsEveryDatagramOverInOrderAtEitherPace) {
  for (KORVRReplayPace pace : {KORVRReplayPace::AsFastAsPossible, KORVRReplayPace::Recorded}) {
    std::vector<std::string> sent;
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(
        KORVRReplayRecording(ThreeFrames(), pace,
                             [&](std::string_view iDatagram) { sent.emplace_back(iDatagram); }),
        3u);
    EXPECT_EQ(sent, (std::vector<std::string>{"fr 1\n", "fr 2\n", "fr 3\n"}));
    if (pace == KORVRReplayPace::Recorded) {
      EXPECT_GE(Clock::now() - start, 120ms) << "the recorded pace waits for the last datagram";
    }
  }
}

TEST(TrackingReplay, StopsWhenAsked) {
  std::atomic<bool> stop{false};
  std::size_t seen = 0;
  EXPECT_EQ(KORVRReplayRecording(
                ThreeFrames(), KORVRReplayPace::AsFastAsPossible,
                [&](std::string_view) { stop = ++seen == 2; }, &stop),
            2u);
}

} // namespace
