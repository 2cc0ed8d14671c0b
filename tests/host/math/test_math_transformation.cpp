#include "math/KORMath.h"

#include <gtest/gtest.h>

#include <array>
#include <numbers>

namespace {

const KORMathDirection kZ(0.0, 0.0, 1.0);
const KORMathDirection kX(1.0, 0.0, 0.0);

KORMathTransformation Rotation(const KORMathDirection& iAxis, double iAngle) {
  return KORMathTransformation(KORMath3x3Matrix::Rotation(iAxis, iAngle), KORMathVector());
}

KORMathTransformation Translation(double iX, double iY, double iZ) {
  return KORMathTransformation(KORMath3x3Matrix(), KORMathVector(iX, iY, iZ));
}

// A transformation with rotation, shear, scaling and translation, so that
// the order of operations matters everywhere.
KORMathTransformation General() {
  return KORMathTransformation(KORMath3x3Matrix({2.0, 0.5, 0.0}, {0.0, 1.0, -1.0}, {0.3, 0.0, 3.0}),
                               KORMathVector(10.0, -20.0, 5.0));
}

TEST(MathTransformation, CompositionAppliesTheRightOperandFirst) {
  const KORMathTransformation rotate = Rotation(kZ, std::numbers::pi / 2.0);
  const KORMathTransformation shift = Translation(1.0, 0.0, 0.0);
  const KORMathPoint p(1.0, 0.0, 0.0);

  // Shift first to (2,0,0), then rotate to (0,2,0).
  EXPECT_TRUE(((rotate * shift) * p).IsEqual(KORMathPoint(0.0, 2.0, 0.0)));
  // Rotate first to (0,1,0), then shift to (1,1,0).
  EXPECT_TRUE(((shift * rotate) * p).IsEqual(KORMathPoint(1.0, 1.0, 0.0)));

  const KORMathTransformation a = General();
  const KORMathTransformation b = Rotation(kX, 0.7) * Translation(0.0, 3.0, -1.0);
  const KORMathPoint q(0.4, -1.5, 2.5);
  EXPECT_TRUE(((a * b) * q).IsEqual(a * (b * q), 1e-9));
}

TEST(MathTransformation, InverseGivesIdentityFromBothSides) {
  const KORMathTransformation t = General();
  KORMathTransformation inverse;
  ASSERT_EQ(t.Inverse(inverse), S_OK);
  EXPECT_TRUE((t * inverse).IsIdentity(1e-9));
  EXPECT_TRUE((inverse * t).IsIdentity(1e-9));
  EXPECT_FALSE(t.IsIdentity());
  EXPECT_TRUE(KORMathTransformation().IsIdentity());

  const KORMathPoint p(3.0, 1.0, -2.0);
  EXPECT_TRUE((inverse * (t * p)).IsEqual(p, 1e-9));
}

TEST(MathTransformation, SingularInverseFails) {
  const KORMathTransformation flatten(
      KORMath3x3Matrix({1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 0.0}),
      KORMathVector(1.0, 2.0, 3.0));
  KORMathTransformation inverse = Translation(7.0, 7.0, 7.0);
  EXPECT_EQ(flatten.Inverse(inverse), E_FAIL);
  EXPECT_TRUE(inverse.IsEqual(Translation(7.0, 7.0, 7.0)));
}

TEST(MathTransformation, PointsAreTranslatedVectorsAreNot) {
  const KORMathTransformation t = General();
  const KORMathVector v(1.0, 2.0, 3.0);
  const KORMathPoint p = KORMathPoint() + v;

  const KORMathPoint movedPoint = t * p;
  const KORMathVector movedVector = t * v;
  EXPECT_TRUE((movedPoint - KORMathPoint()).IsEqual(movedVector + t.GetVector()));
  // M * (1,2,3) = (2+0+0.9, 0.5+2+0, 0-2+9).
  EXPECT_TRUE(movedVector.IsEqual(KORMathVector(2.9, 2.5, 7.0), 1e-12));

  // A direction is rotated but never translated.
  const KORMathTransformation turnAndShift =
      Rotation(kZ, std::numbers::pi / 2.0) * Translation(5.0, 5.0, 5.0);
  EXPECT_TRUE(
      (turnAndShift * KORMathDirection(1.0, 0.0, 0.0)).IsEqual(KORMathVector(0.0, 1.0, 0.0)));
}

TEST(MathTransformation, CoefficientsAreColumnsThenTranslation) {
  // Rotation of 90 degrees about Z: X goes to Y, Y goes to -X, Z stays.
  const KORMathTransformation t(KORMath3x3Matrix::Rotation(kZ, std::numbers::pi / 2.0),
                                KORMathVector(4.0, 5.0, 6.0));
  std::array<double, 12> coef{};
  t.GetCoef(coef);
  const std::array<double, 12> expected{0.0, 1.0, 0.0, -1.0, 0.0, 0.0,
                                        0.0, 0.0, 1.0, 4.0,  5.0, 6.0};
  for (std::size_t i = 0; i < coef.size(); ++i)
    EXPECT_NEAR(coef[i], expected[i], 1e-12) << "coefficient " << i;

  // Written by hand in the same order, the coefficients act as documented.
  KORMathTransformation fromCoef;
  fromCoef.SetCoef(expected);
  EXPECT_TRUE((fromCoef * KORMathPoint(1.0, 0.0, 0.0)).IsEqual(KORMathPoint(4.0, 6.0, 6.0)));
}

TEST(MathAxis, AxisAndTransformationConvertWithoutLoss) {
  const KORMathAxis absolute;
  EXPECT_TRUE(absolute.GetTransformation().IsIdentity());

  const KORMathAxis axis(KORMathPoint(1.0, 2.0, 3.0), KORMathVector(0.0, 1.0, 0.0),
                         KORMathVector(-1.0, 0.0, 0.0), KORMathVector(0.0, 0.0, 2.0));
  const KORMathTransformation placement = axis.GetTransformation();
  // The axis's origin and first direction are the images of the absolute ones.
  EXPECT_TRUE((placement * KORMathPoint()).IsEqual(axis.GetOrigin()));
  EXPECT_TRUE((placement * KORMathVector(1.0, 0.0, 0.0)).IsEqual(axis.GetFirstDirection()));

  const KORMathAxis back(placement);
  EXPECT_TRUE(back.GetOrigin().IsEqual(axis.GetOrigin()));
  EXPECT_TRUE(back.GetSecondDirection().IsEqual(axis.GetSecondDirection()));
  EXPECT_TRUE(back.GetThirdDirection().IsEqual(axis.GetThirdDirection()));
}

} // namespace
