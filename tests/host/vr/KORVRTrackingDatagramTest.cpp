#include "vr/KORVRTrackingDatagram.h"

#include <gtest/gtest.h>

namespace {

const std::string kIdentity = "[1 0 0 0 1 0 0 0 1]";

TEST(TrackingDatagram, GoodFramesAreRead) {
  struct GoodFrame {
    const char* what;
    std::string datagram;
    std::uint64_t number;
    std::optional<double> timestamp;
    std::vector<int> ids;
  };
  const GoodFrame cases[] = {
      {"frame number only", "fr 7\n", 7, std::nullopt, {}},
      {"no final line break", "fr 18446744073709551615", 18446744073709551615ull, std::nullopt, {}},
      {"timestamp", "fr 8\nts 39596.024000\n", 8, 39596.024, {}},
      {"no body seen", "fr 9\n6d 0\n", 9, std::nullopt, {}},
      {"one body", "fr 10\n6d 1 [3 1.000][1 2 3 4 5 6]" + kIdentity + "\n", 10, std::nullopt, {3}},
      {"several bodies, blanks between brackets, any line order",
       "6d 3 [0 1.0] [1 2 3 4 5 6] " + kIdentity + " [7 0.5][1 2 3 4 5 6]" + kIdentity +
           "\t[2 -1][0 0 0 0 0 0][0 0 0 0 0 0 0 0 0]\nts 1.5\nfr 11\n",
       11,
       1.5,
       {0, 7, 2}},
      {"other line kinds are ignored, CRLF, trailing NUL",
       "fr 12\r\n3d 1 [1 1.0][1 2 3]\r\n6df 1 [0 1.0 0][1 2 3 4 5 6]" + kIdentity +
           "\r\n6dcal 4\r\ngl 1 [0 1.0]\r\n\r\n" + std::string(1, '\0'),
       12,
       std::nullopt,
       {}}};
  for (const GoodFrame& expected : cases) {
    SCOPED_TRACE(expected.what);
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
}

TEST(TrackingDatagram, MalformedFramesAreRefusedWithTheLineAndTheReason) {
  struct BadFrame {
    const char* what;
    std::string datagram;
    const char* error; // the refusal starts with this text
  };
  const std::string kBody = "[1 1.0][1 2 3 4 5 6]" + kIdentity;
  const BadFrame cases[] = {
      {"empty", "", "no \"fr\" line"},
      {"frame number twice", "fr 1\nfr 2\n", "line 2: fr given twice"},
      {"fewer bodies than announced", "fr 1\n6d 2 " + kBody + "\n",
       "line 2: 6d: 2 bodies announced, 1 given"},
      {"missing opening bracket", "fr 1\n6d 1 [1 1.0]1 2 3 4 5 6]" + kIdentity + "\n",
       "line 2: body 1: missing '['"},
      {"too many numbers in a bracket", "fr 1\n6d 1 [1 1.0][1 2 3 4 5 6 7]" + kIdentity + "\n",
       "line 2: body 1: missing ']'"},
      {"not a number", "fr 1\n6d 1 [1 1.0][1 2 x 4 5 6]" + kIdentity + "\n",
       "line 2: body 1: not a number: \"x\""},
      {"NaN position", "fr 1\n6d 1 [1 1.0][1 nan 3 4 5 6]" + kIdentity + "\n",
       "line 2: body 1: not a finite number"},
      {"NaN timestamp", "fr 1\nts nan\n", "line 2: ts: not a finite number"},
      {"truncated after the count", "fr 1\n6d", "line 2: 6d: not a number"},
      {"fractional frame number", "fr 1.5\n", "line 1: fr: not a number"},
      {"negative ID", "fr 1\n6d 1 [-1 1.0][1 2 3 4 5 6]" + kIdentity + "\n",
       "line 2: body 1: negative ID"},
      {"negative count", "fr 1\n6d -1\n", "line 2: 6d: negative body count"},
      {"ID given twice", "fr 1\n6d 2 " + kBody + " " + kBody + "\n",
       "line 2: body 2: ID 1 given twice"},
      {"text after the last field", "fr 1 2\n", "line 1: fr: unexpected text"},
      {"NUL inside", std::string("fr 1\n6d 0\0\n", 11), "line 2: NUL character"}};
  for (const BadFrame& bad : cases) {
    SCOPED_TRACE(bad.what);
    KORVRTrackingFrame frame;
    frame.number = 99;
    KORString error;
    EXPECT_EQ(KORVRParseTrackingDatagram(bad.datagram, frame, error), E_FAIL);
    EXPECT_EQ(error.rfind(bad.error, 0), 0u) << error;
    EXPECT_EQ(frame.number, 0u) << "a refused frame is emptied";
    EXPECT_TRUE(frame.bodies.empty());
  }
}

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

} // namespace
