#include "math/KORMathPlane.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(MathPlane, DistanceIsMeasuredAlongTheNormal) {
  const KORMathPlane plane(KORMathPoint(0.0, 0.0, 2.0), KORMathDirection(0.0, 0.0, 3.0));
  EXPECT_DOUBLE_EQ(plane.SignedDistanceTo(KORMathPoint(5.0, -7.0, 5.0)), 3.0);
  EXPECT_DOUBLE_EQ(plane.SignedDistanceTo(KORMathPoint(1.0, 1.0, -1.0)), -3.0);
  EXPECT_DOUBLE_EQ(plane.DistanceTo(KORMathPoint(1.0, 1.0, -1.0)), 3.0);
  EXPECT_DOUBLE_EQ(plane.DistanceTo(KORMathPoint(9.0, 9.0, 2.0)), 0.0);
  EXPECT_TRUE(plane.Project(KORMathPoint(4.0, 5.0, 6.0)).IsEqual(KORMathPoint(4.0, 5.0, 2.0)));
}

TEST(MathPlane, ThroughThreePoints) {
  // The plane x + y + z = 1, oriented by (P2 - P1) ^ (P3 - P1).
  KORMathPlane plane;
  ASSERT_EQ(
      KORMathPlane::CreateThroughPoints({1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}, plane),
      S_OK);
  const double third = 1.0 / std::sqrt(3.0);
  EXPECT_TRUE(plane.GetNormal().GetVector().IsEqual(KORMathVector(third, third, third)));
  EXPECT_NEAR(plane.SignedDistanceTo(KORMathPoint()), -third, 1e-12);
  EXPECT_NEAR(plane.SignedDistanceTo(KORMathPoint(1.0, 1.0, 1.0)), 2.0 * third, 1e-12);
}

TEST(MathPlane, DegenerateTrianglesDoNotMakeAPlane) {
  const KORMathPlane untouched(KORMathPoint(0.0, 0.0, 7.0), KORMathDirection(0.0, 1.0, 0.0));
  KORMathPlane plane = untouched;

  const struct {
    const char* what;
    KORMathPoint first, second, third;
  } degenerate[] = {
      {"colinear", {0.0, 0.0, 0.0}, {1.0, 1.0, 1.0}, {-3.0, -3.0, -3.0}},
      {"colinear, far apart", {0.0, 0.0, 0.0}, {1000.0, 0.0, 0.0}, {2000.0, 1e-7, 0.0}},
      {"two coincident points", {1.0, 2.0, 3.0}, {1.0, 2.0, 3.0}, {0.0, 0.0, 0.0}},
  };
  for (const auto& points : degenerate)
    EXPECT_EQ(KORMathPlane::CreateThroughPoints(points.first, points.second, points.third, plane),
              E_FAIL)
        << points.what;
  EXPECT_TRUE(plane.GetOrigin().IsEqual(untouched.GetOrigin()));
  EXPECT_TRUE(plane.GetNormal().GetVector().IsEqual(untouched.GetNormal()));

  // A small but well-shaped triangle is still a plane.
  EXPECT_EQ(
      KORMathPlane::CreateThroughPoints({0.0, 0.0, 0.0}, {1e-3, 0.0, 0.0}, {0.0, 1e-3, 0.0}, plane),
      S_OK);
  EXPECT_TRUE(plane.GetNormal().GetVector().IsEqual(KORMathVector(0.0, 0.0, 1.0)));
}

} // namespace
