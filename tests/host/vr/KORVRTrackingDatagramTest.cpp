#include "KORVRTrackingTestSupport.h"
#include "vr/KORVRTrackingDatagram.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kIdentity = "[1 0 0 0 1 0 0 0 1]";

struct GoodFrame {
  const char* what;
  std::string datagram;
  std::uint64_t number;
  std::optional<double> timestamp;
  std::vector<int> ids;
};

class GoodFrames : public ::testing::TestWithParam<GoodFrame> {};

TEST_P(GoodFrames, AreRead) {
  const GoodFrame& expected = GetParam();
  KORVRTrackingFrame frame;
  KORString error;
  ASSERT_EQ(KORVRParseTrackingDatagram(expected.datagram, frame, error), S_OK) << error;
  EXPECT_EQ(error, "");
  EXPECT_EQ(frame.number, expected.number);
  EXPECT_EQ(frame.timestamp, expected.timestamp);
  std::vector<int> ids;
  for (const KORVRTrackedBody& body : frame.bodies)
    ids.push_back(body.id);
  EXPECT_EQ(ids, expected.ids);
}

INSTANTIATE_TEST_SUITE_P(
    TrackingDatagram, GoodFrames,
    ::testing::Values(
        GoodFrame{"frame number only", "fr 7\n", 7, std::nullopt, {}},
        GoodFrame{"no final line break", "fr 18446744073709551615", 18446744073709551615ull,
                  std::nullopt, {}},
        GoodFrame{"timestamp", "fr 8\nts 39596.024000\n", 8, 39596.024, {}},
        GoodFrame{"no body seen", "fr 9\n6d 0\n", 9, std::nullopt, {}},
        GoodFrame{"one body", std::string("fr 10\n6d 1 [3 1.000][1 2 3 4 5 6]") + kIdentity + "\n",
                  10, std::nullopt, {3}},
        GoodFrame{"several bodies, blanks between brackets, any line order",
                  std::string("6d 3 [0 1.0] [1 2 3 4 5 6] ") + kIdentity + " [7 0.5][1 2 3 4 5 6]" +
                      kIdentity + "\t[2 -1][0 0 0 0 0 0][0 0 0 0 0 0 0 0 0]\nts 1.5\nfr 11\n",
                  11, 1.5, {0, 7, 2}},
        GoodFrame{"other line kinds are ignored, CRLF, trailing NUL",
                  std::string("fr 12\r\n3d 1 [1 1.0][1 2 3]\r\n6df 1 [0 1.0 0][1 2 3 4 5 6]") +
                      kIdentity + "\r\n6dcal 4\r\ngl 1 [0 1.0]\r\n\r\n" + std::string(1, '\0'),
                  12, std::nullopt, {}}),
    [](const auto& iInfo) { return "Case" + std::to_string(iInfo.index); });

struct BadFrame {
  const char* what;
  std::string datagram;
  const char* error; // the refusal starts with this text
};

class MalformedFrames : public ::testing::TestWithParam<BadFrame> {};

TEST_P(MalformedFrames, AreRefusedWithTheLineAndTheReason) {
  const BadFrame& bad = GetParam();
  KORVRTrackingFrame frame;
  frame.number = 99;
  KORString error;
  EXPECT_EQ(KORVRParseTrackingDatagram(bad.datagram, frame, error), E_FAIL) << bad.what;
  EXPECT_EQ(error.rfind(bad.error, 0), 0u) << bad.what << ": " << error;
  EXPECT_EQ(frame.number, 0u) << "a refused frame is emptied";
  EXPECT_TRUE(frame.bodies.empty());
}

const std::string kBody = std::string("[1 1.0][1 2 3 4 5 6]") + kIdentity;

INSTANTIATE_TEST_SUITE_P(
    TrackingDatagram, MalformedFrames,
    ::testing::Values(
        BadFrame{"empty", "", "no \"fr\" line"},
        BadFrame{"no frame number", "ts 1.0\n6d 0\n", "no \"fr\" line"},
        BadFrame{"frame number twice", "fr 1\nfr 2\n", "line 2: fr given twice"},
        BadFrame{"timestamp twice", "fr 1\nts 1\nts 2\n", "line 3: ts given twice"},
        BadFrame{"6d twice", "fr 1\n6d 0\n6d 0\n", "line 3: 6d given twice"},
        BadFrame{"fewer bodies than announced", "fr 1\n6d 2 " + kBody + "\n",
                 "line 2: 6d: 2 bodies announced, 1 given"},
        BadFrame{"more bodies than announced", "fr 1\n6d 1 " + kBody + " " +
                     "[2 1.0][1 2 3 4 5 6]" + kIdentity + "\n",
                 "line 2: 6d: 1 bodies announced, 2 given"},
        BadFrame{"missing opening bracket", "fr 1\n6d 1 [1 1.0]1 2 3 4 5 6]" +
                     std::string(kIdentity) + "\n",
                 "line 2: body 1: missing '['"},
        BadFrame{"missing closing bracket", "fr 1\n6d 1 [1 1.0[1 2 3 4 5 6]" +
                     std::string(kIdentity) + "\n",
                 "line 2: body 1: missing ']'"},
        BadFrame{"too many numbers in a bracket", "fr 1\n6d 1 [1 1.0][1 2 3 4 5 6 7]" +
                     std::string(kIdentity) + "\n",
                 "line 2: body 1: missing ']'"},
        BadFrame{"too few numbers in the rotation",
                 "fr 1\n6d 1 [1 1.0][1 2 3 4 5 6][1 0 0 0 1 0 0 0]\n",
                 "line 2: body 1: not a number"},
        BadFrame{"not a number", "fr 1\n6d 1 [1 1.0][1 2 x 4 5 6]" + std::string(kIdentity) + "\n",
                 "line 2: body 1: not a number: \"x\""},
        BadFrame{"NaN position", "fr 1\n6d 1 [1 1.0][1 nan 3 4 5 6]" + std::string(kIdentity) + "\n",
                 "line 2: body 1: not a finite number"},
        BadFrame{"infinite rotation", "fr 1\n6d 1 [1 1.0][1 2 3 4 5 6][1 0 0 0 inf 0 0 0 1]\n",
                 "line 2: body 1: not a finite number"},
        BadFrame{"NaN timestamp", "fr 1\nts nan\n", "line 2: ts: not a finite number"},
        BadFrame{"truncated in the middle of a body",
                 "fr 1\n6d 2 " + kBody + " [2 1.0][1 2 3 4", "line 2: body 2: not a number"},
        BadFrame{"truncated after the count", "fr 1\n6d", "line 2: 6d: not a number"},
        BadFrame{"fractional frame number", "fr 1.5\n", "line 1: fr: not a number"},
        BadFrame{"negative frame number", "fr -1\n", "line 1: fr: not a number"},
        BadFrame{"fractional ID", "fr 1\n6d 1 [1.5 1.0][1 2 3 4 5 6]" + std::string(kIdentity) + "\n",
                 "line 2: body 1: not a number"},
        BadFrame{"negative ID", "fr 1\n6d 1 [-1 1.0][1 2 3 4 5 6]" + std::string(kIdentity) + "\n",
                 "line 2: body 1: negative ID"},
        BadFrame{"negative count", "fr 1\n6d -1\n", "line 2: 6d: negative body count"},
        BadFrame{"ID given twice", "fr 1\n6d 2 " + kBody + " " + kBody + "\n",
                 "line 2: body 2: ID 1 given twice"},
        BadFrame{"text after the last field", "fr 1 2\n", "line 1: fr: unexpected text"},
        BadFrame{"NUL inside", std::string("fr 1\n6d 0\0\n", 11), "line 2: NUL character"}),
    [](const auto& iInfo) { return "Case" + std::to_string(iInfo.index); });

TEST(TrackingDatagram, BodyValuesAreReadAndTheRotationIsTakenColumnByColumn) {
  KORVRTrackingFrame frame;
  KORString error;
  // First column (0, 1, 0): the body's X axis points along the tracker's Y.
  ASSERT_EQ(KORVRParseTrackingDatagram("fr 3\n6d 1 [4 0.962][326.848 -187.216 1109.503 -160.4 "
                                       "-1.5 -28.1][0 1 0 -1 0 0 0 0 1]\n",
                                       frame, error),
            S_OK)
      << error;
  ASSERT_EQ(frame.bodies.size(), 1u);
  const KORVRTrackedBody& body = frame.bodies[0];
  EXPECT_EQ(body.id, 4);
  EXPECT_DOUBLE_EQ(body.quality, 0.962);
  EXPECT_TRUE(body.IsTracked());
  EXPECT_EQ(body.angles, (std::array<double, 3>{-160.4, -1.5, -28.1}));
  const KORMathTransformation placement = body.GetPlacement();
  const KORMathPoint tip = placement * KORMathPoint(10, 0, 0);
  EXPECT_TRUE(tip.IsEqual(KORMathPoint(326.848, -187.216 + 10, 1109.503), 1e-12))
      << tip.GetX() << " " << tip.GetY() << " " << tip.GetZ();
}

TEST(TrackingDatagram, WrittenPlacementsReadBackExactly) {
  const KORMathTransformation sent = KORVRTestPlacement(1, -2, 0.5, 73.25, 1234.5, -987.25, 1700);
  KORVRTrackingFrame frame;
  KORString error;
  ASSERT_EQ(KORVRParseTrackingDatagram(KORVRTestDatagram(5, {{9, sent}}), frame, error), S_OK)
      << error;
  ASSERT_EQ(frame.bodies.size(), 1u);
  EXPECT_TRUE(frame.bodies[0].GetPlacement().IsEqual(sent, 0.0));
}

} // namespace
