#include "ModelFixture.h"

#include "KORVrcTools.h"
#include "featurestore/KORIUuid.h"
#include "frame/KORFrame.h"
#include "math/KORMathTolerance.h"

#include "objectmodel/KORImplementation.h"
#include <array>
#include <cstdio>
#include <sstream>
#include <string_view>
#include <tuple>

namespace {

void ExpectHPR(const KORMath3x3Matrix& iMatrix, double iH, double iP, double iR) {
  double h = 0, p = 0, r = 0;
  GetHPR(iMatrix, h, p, r);
  EXPECT_NEAR(h, iH, 1e-9);
  EXPECT_NEAR(p, iP, 1e-9);
  EXPECT_NEAR(r, iR, 1e-9);
}

TEST(HeadingPitchRoll, BuildsTheMatrixColumnsOfTheConvention) {
  KORMath3x3Matrix m;
  HPR(m, 0, 0, 0);
  EXPECT_TRUE(m.IsEqual(KORMath3x3Matrix()));
  ExpectHPR(m, 0, 0, 0);

  // A heading of 90: X goes to Y, Y to -X.
  HPR(m, 90, 0, 0);
  EXPECT_TRUE(m.IsEqual(
      KORMath3x3Matrix(KORMathVector(0, 1, 0), KORMathVector(-1, 0, 0), KORMathVector(0, 0, 1))));
  // A pitch of 30 tips X down: its image is (cos 30, 0, -sin 30).
  HPR(m, 0, 30, 0);
  EXPECT_NEAR(m.GetCoef(3, 1), -0.5, 1e-12);
  // A roll of 90: Y goes to Z.
  HPR(m, 0, 0, 90);
  EXPECT_NEAR(m.GetCoef(3, 2), 1.0, 1e-12);
}

TEST(HeadingPitchRoll, ReadsBackTheAnglesOrTheirCanonicalForm) {
  const struct {
    std::array<double, 3> built, read;
  } cases[] = {
      {{30, 20, 10}, {30, 20, 10}},
      {{-170, -45, 120}, {-170, -45, 120}},
      {{90, 89, -30}, {90, 89, -30}},
      {{180, 0, 0}, {180, 0, 0}},
      {{0, 0, -180}, {0, 0, 180}},
      // At gimbal lock the heading folds into the roll.
      {{30, 90, 10}, {0, 90, -20}},
      {{40, -90, 15}, {0, -90, -25}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.built[0] << " " << c.built[1] << " " << c.built[2]);
    KORMath3x3Matrix m;
    HPR(m, c.built[0], c.built[1], c.built[2]);
    ExpectHPR(m, c.read[0], c.read[1], c.read[2]);
  }
  KORMath3x3Matrix folded, plain;
  HPR(folded, 30, 90, 10);
  HPR(plain, 0, 90, -20);
  EXPECT_TRUE(folded.IsEqual(plain, 1e-12)) << "a folded heading is the same turn";
}

TEST(ComposeNameTest, TakesTheFirstFreeNumber) {
  EXPECT_EQ(ComposeName("View", {"View1", "View2"}, 1), "View3");
  EXPECT_EQ(ComposeName("View", {"View2"}, 1), "View1");
  EXPECT_EQ(ComposeName("View", {}, 5), "View5");
  EXPECT_EQ(ComposeName("View", {"view1"}, 1), "View1") << "comparison is case-sensitive";
}

// DoubleToString prints like %g. Whole numbers take a shorter path than other
// reals: both must print what printf prints, on either side of each path's limit.
TEST(NumberTextTest, WholeNumbersPrintAsPrintfDoes) {
  for (const double magnitude : {0.0, 1.0, 3000.0, 999999.0, 1e6, 123456789.0, 999999999999999.0,
                                 1e15, 1e16, 2.5, 1e-9}) {
    for (const double value : {magnitude, -magnitude}) {
      char expected[400];
      std::snprintf(expected, sizeof expected, "%g", value);
      EXPECT_EQ(DoubleToString(value), expected) << value;
      std::snprintf(expected, sizeof expected, "%.8f", value);
      std::ostringstream text;
      text << KORVrcFixed8{value};
      const std::string_view printed = expected;
      // printf keeps the sign of a negative zero, which the file never shows.
      EXPECT_EQ(text.str(), printed == "-0.00000000" ? printed.substr(1) : printed) << value;
    }
  }
}

TEST(Fixed8Test, PrintsEightDecimalsAndZeroWithoutSign) {
  // A tracker offset round trip turned +1e-16 into -1e-16, printed as -0.00000000.
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0.00000000"},   {-0.0, "0.00000000"},         {-1e-16, "0.00000000"},
      {1e-16, "0.00000000"}, {-0.000000004, "0.00000000"}, {-0.000000006, "-0.00000001"},
      {-1.0, "-1.00000000"}, {-10.5, "-10.50000000"},      {1234.123456789, "1234.12345679"},
  };
  for (const auto& c : cases) {
    std::ostringstream text;
    text << KORVrcFixed8{c.value};
    EXPECT_EQ(text.str(), c.text) << c.value;
  }
}

// An object with a chosen UUID.
class FixedUuid final : public KORImplementationOf<FixedUuid, KORIUuid> {
public:
  explicit FixedUuid(KORUuid iUuid) : KORImplementationOf("FixedUuid"), _uuid(iUuid) {}
  HRESULT GetUuid(KORUuid& oUuid) override {
    oUuid = _uuid;
    return S_OK;
  }

private:
  KORUuid _uuid;
};

TEST(UuidTextTest, PadsEveryGroupToEightDigits) {
  KORSmartPtr<KORIUuid> object(new FixedUuid(KORUuid{{0x1a, 0x2, 0xabcdef12, 0x0}}));
  KORUnicodeString* text = ConvertUuidToUString(object);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(*text, "ID0000001a_00000002_abcdef12_00000000");
  delete text;
  EXPECT_EQ(ConvertUuidToUString(nullptr), nullptr);
}

TEST(MessageBoxTest, ErrorsAndInformationAreShownInTheCurrentFrame) {
  KORFrame frame;
  frame.MessageBoxes().SetEcho(false);
  KORFrameScope scope(frame);
  DisplayErrorMessage("it broke", "Error");
  DisplayInfoMessage("done", "Info");
  const auto& shown = frame.MessageBoxes().Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].identifier, "MPK Export failed");
  EXPECT_EQ(shown[0].style, KORMessageBoxStyle::Error);
  EXPECT_EQ(shown[0].title, "Error");
  EXPECT_EQ(shown[0].text, "it broke");
  EXPECT_EQ(shown[1].style, KORMessageBoxStyle::Information);
  EXPECT_EQ(shown[1].text, "done");
}
} // namespace
