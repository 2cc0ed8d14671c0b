#include "math/KORMathPoint.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectVector(const KORMathVector& iVector, double iX, double iY, double iZ) {
  EXPECT_NEAR(iVector.GetX(), iX, 1e-12);
  EXPECT_NEAR(iVector.GetY(), iY, 1e-12);
  EXPECT_NEAR(iVector.GetZ(), iZ, 1e-12);
}

TEST(MathPointVector, PointsAndVectorsCombineByTheirOwnRules) {
  const KORMathPoint a(1.0, 2.0, 3.0);
  const KORMathPoint b(4.0, 6.0, 3.0);
  const KORMathVector ab = b - a;
  ExpectVector(ab, 3.0, 4.0, 0.0);
  EXPECT_TRUE((a + ab).IsEqual(b));
  EXPECT_TRUE((b - ab).IsEqual(a));
  EXPECT_DOUBLE_EQ(a.DistanceTo(b), 5.0);
  EXPECT_DOUBLE_EQ(a.SquareDistanceTo(b), 25.0);
}

TEST(MathPointVector, CrossProductFollowsTheRightHandRule) {
  const KORMathVector x(1.0, 0.0, 0.0);
  const KORMathVector y(0.0, 1.0, 0.0);
  ExpectVector(x ^ y, 0.0, 0.0, 1.0);
  ExpectVector(y ^ x, 0.0, 0.0, -1.0);
  const KORMathVector u(1.0, 2.0, 3.0);
  const KORMathVector v(4.0, 5.0, 6.0);
  const KORMathVector n = u ^ v;
  ExpectVector(n, -3.0, 6.0, -3.0);
  EXPECT_NEAR(n * u, 0.0, 1e-12);
  EXPECT_NEAR(n * v, 0.0, 1e-12);
}

TEST(MathPointVector, NormalizeFailsOnANullVectorAndKeepsIt) {
  KORMathVector v(0.0, 3.0, 4.0);
  EXPECT_EQ(v.Normalize(), S_OK);
  ExpectVector(v, 0.0, 0.6, 0.8);

  KORMathVector tiny(KOREpsilon / 10.0, 0.0, 0.0);
  EXPECT_EQ(tiny.Normalize(), E_FAIL);
  ExpectVector(tiny, KOREpsilon / 10.0, 0.0, 0.0);
}

TEST(MathPointVector, DirectionIsAlwaysUnit) {
  const KORMathDirection d(0.0, 0.0, -5.0);
  ExpectVector(d, 0.0, 0.0, -1.0);

  // A null vector gives +X rather than an invalid direction...
  ExpectVector(KORMathDirection(KORMathVector()), 1.0, 0.0, 0.0);
  // ...while SetVector reports it and keeps the previous direction.
  KORMathDirection kept(0.0, 2.0, 0.0);
  EXPECT_EQ(kept.SetVector(KORMathVector()), E_FAIL);
  ExpectVector(kept, 0.0, 1.0, 0.0);
  EXPECT_EQ(kept.SetVector(KORMathVector(3.0, 0.0, 4.0)), S_OK);
  ExpectVector(kept, 0.6, 0.0, 0.8);

  // Directions take part in vector expressions.
  EXPECT_DOUBLE_EQ(d * KORMathVector(1.0, 2.0, 3.0), -3.0);
  ExpectVector(2.0 * d, 0.0, 0.0, -2.0);
}

} // namespace
