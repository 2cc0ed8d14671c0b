#include "math/KORMathSpherical.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

namespace {

struct Spherical {
  double azimuth = 0.0;
  double elevation = 0.0;
  double radius = 0.0;
};

Spherical ToSpherical(const KORMathVector& iVector) {
  Spherical result;
  KORMathVectorToSpherical(iVector, result.azimuth, result.elevation, result.radius);
  return result;
}

constexpr double kPi = std::numbers::pi;

TEST(MathSpherical, AxesHaveTheExpectedAngles) {
  struct Case {
    KORMathVector vector;
    Spherical expected;
  };
  const Case cases[] = {
      {{2.0, 0.0, 0.0}, {0.0, 0.0, 2.0}},         {{0.0, 3.0, 0.0}, {kPi / 2.0, 0.0, 3.0}},
      {{0.0, 0.0, 4.0}, {0.0, kPi / 2.0, 4.0}},   {{0.0, 0.0, -1.0}, {0.0, -kPi / 2.0, 1.0}},
      {{0.0, -1.0, 0.0}, {-kPi / 2.0, 0.0, 1.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.vector.GetX() << " " << c.vector.GetY() << " " << c.vector.GetZ());
    const Spherical s = ToSpherical(c.vector);
    EXPECT_NEAR(s.azimuth, c.expected.azimuth, 1e-12);
    EXPECT_NEAR(s.elevation, c.expected.elevation, 1e-12);
    EXPECT_NEAR(s.radius, c.expected.radius, 1e-12);
  }
  const Spherical null = ToSpherical(KORMathVector());
  EXPECT_EQ(std::make_tuple(null.azimuth, null.elevation, null.radius),
            std::make_tuple(0.0, 0.0, 0.0));
}

// With the axes pinned above, the round trip pins the way back.
TEST(MathSpherical, RoundTrip) {
  const KORMathVector samples[] = {{1.0, 2.0, 3.0},  {-4.0, 0.5, -2.0},  {-1.0, -1.0, 0.0},
                                   {0.0, 0.0, -7.0}, {1e-3, -2e-3, 5.0}, {0.0, 1.0, 0.0}};
  for (const KORMathVector& v : samples) {
    const Spherical s = ToSpherical(v);
    EXPECT_GE(s.azimuth, -kPi);
    EXPECT_LE(s.azimuth, kPi);
    EXPECT_GE(s.elevation, -kPi / 2.0);
    EXPECT_LE(s.elevation, kPi / 2.0);
    EXPECT_TRUE(KORMathSphericalToVector(s.azimuth, s.elevation, s.radius).IsEqual(v, 1e-12))
        << v.GetX() << " " << v.GetY() << " " << v.GetZ();
  }
}

} // namespace
