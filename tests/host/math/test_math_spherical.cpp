#include "math/KORMathSpherical.h"

#include <gtest/gtest.h>

#include <cmath>

#include <numbers>

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
  const Spherical x = ToSpherical(KORMathVector(2.0, 0.0, 0.0));
  EXPECT_NEAR(x.azimuth, 0.0, 1e-12);
  EXPECT_NEAR(x.elevation, 0.0, 1e-12);
  EXPECT_NEAR(x.radius, 2.0, 1e-12);

  const Spherical y = ToSpherical(KORMathVector(0.0, 3.0, 0.0));
  EXPECT_NEAR(y.azimuth, kPi / 2.0, 1e-12);
  EXPECT_NEAR(y.elevation, 0.0, 1e-12);
  EXPECT_NEAR(y.radius, 3.0, 1e-12);

  const Spherical z = ToSpherical(KORMathVector(0.0, 0.0, 4.0));
  EXPECT_NEAR(z.elevation, kPi / 2.0, 1e-12);
  EXPECT_NEAR(z.radius, 4.0, 1e-12);

  const Spherical down = ToSpherical(KORMathVector(0.0, 0.0, -1.0));
  EXPECT_NEAR(down.elevation, -kPi / 2.0, 1e-12);

  const Spherical minusY = ToSpherical(KORMathVector(0.0, -1.0, 0.0));
  EXPECT_NEAR(minusY.azimuth, -kPi / 2.0, 1e-12);

  const Spherical null = ToSpherical(KORMathVector());
  EXPECT_EQ(null.azimuth, 0.0);
  EXPECT_EQ(null.elevation, 0.0);
  EXPECT_EQ(null.radius, 0.0);
}

TEST(MathSpherical, FromSphericalPlacesTheVector) {
  // 45 degrees up from the diagonal between +X and +Y.
  const KORMathVector v = KORMathSphericalToVector(kPi / 4.0, kPi / 4.0, 2.0);
  EXPECT_TRUE(v.IsEqual(KORMathVector(1.0, 1.0, std::sqrt(2.0)), 1e-12));
  EXPECT_TRUE(
      KORMathSphericalToVector(kPi / 2.0, 0.0, 1.0).IsEqual(KORMathVector(0.0, 1.0, 0.0), 1e-12));
  EXPECT_TRUE(
      KORMathSphericalToVector(0.3, kPi / 2.0, 5.0).IsEqual(KORMathVector(0.0, 0.0, 5.0), 1e-12));
}

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
