// The view dialog's conversions between screen forms, over seeded random
// screens built independently of them: what the validations accept comes
// back unchanged through angles and through size, and rolled screens are
// refused. And the growing of a screen by a picked one.
#include "KORVrcViewGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {
constexpr double kTolerance = 1e-6; // mm

// An upright rectangle of the given size and centre, facing iFacing (its
// normal, pointing away from the viewer; not vertical).
KORVrcScreenGeometry Rectangle(const KORMathPoint& iCentre, const KORMathVector& iFacing,
                               double iWidth, double iHeight) {
  KORMathVector normal = iFacing;
  EXPECT_EQ(normal.Normalize(), S_OK);
  KORMathVector right = normal ^ KORMathVector(0, 0, 1); // horizontal
  EXPECT_EQ(right.Normalize(), S_OK);
  const KORMathVector up = right ^ normal;
  KORVrcScreenGeometry screen;
  screen.lowerLeft = iCentre - 0.5 * iWidth * right - 0.5 * iHeight * up;
  screen.lowerRight = screen.lowerLeft + iWidth * right;
  screen.upperLeft = screen.lowerLeft + iHeight * up;
  return screen;
}

void ExpectSameCorners(const KORVrcScreenGeometry& iGot, const KORVrcScreenGeometry& iWanted) {
  EXPECT_LT(iGot.upperLeft.DistanceTo(iWanted.upperLeft), kTolerance);
  EXPECT_LT(iGot.lowerLeft.DistanceTo(iWanted.lowerLeft), kTolerance);
  EXPECT_LT(iGot.lowerRight.DistanceTo(iWanted.lowerRight), kTolerance);
}
} // namespace

TEST(ViewGeometry, RandomScreensComeBackThroughAnglesAndSize) {
  std::mt19937 random(20261206);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_real_distribution<double> size(100, 6000);
  int accepted = 0;
  for (int i = 0; i < 500; ++i) {
    SCOPED_TRACE("screen " + std::to_string(i));
    const KORMathPoint eye(2000 * unit(random), 2000 * unit(random), 2000 * unit(random));
    // Facing away from the eye, neither straight up nor down.
    const KORMathVector facing(unit(random), unit(random), 0.9 * unit(random));
    if (facing.Norm() < 0.1 || std::hypot(facing.GetX(), facing.GetY()) < 0.1)
      continue;
    KORMathVector direction = facing;
    ASSERT_EQ(direction.Normalize(), S_OK);
    // The centre in front of the eye, off the line of sight.
    const KORMathPoint centre = eye + (2000 + 2000 * (unit(random) + 1)) * direction +
                                KORMathVector(800 * unit(random), 800 * unit(random), 0);
    const KORVrcScreenGeometry original = Rectangle(centre, facing, size(random), size(random));
    ASSERT_TRUE(original.TestCorners());

    KORVrcScreenGeometry viaAngles = original;
    viaAngles.CornersToFov(eye);
    if (viaAngles.TestFov()) {
      ++accepted;
      viaAngles.upperLeft = viaAngles.lowerLeft = viaAngles.lowerRight = KORMathPoint();
      viaAngles.FovToCorners(eye);
      ExpectSameCorners(viaAngles, original);
      EXPECT_TRUE(viaAngles.TestCorners());
    }

    KORVrcScreenGeometry viaSize = original;
    viaSize.CornersToSize(eye);
    EXPECT_NEAR(viaSize.distance, (centre - eye) * direction, kTolerance);
    viaSize.upperLeft = viaSize.lowerLeft = viaSize.lowerRight = KORMathPoint();
    viaSize.SizeToCorners();
    ExpectSameCorners(viaSize, original);

    // The same screen turned about its normal is refused.
    KORVrcScreenGeometry rolled = original;
    const KORMathVector up = original.upperLeft - original.lowerLeft;
    rolled.lowerRight = original.lowerRight + 0.01 * up;
    EXPECT_FALSE(rolled.TestCorners());
  }
  EXPECT_GT(accepted, 300) << "most screens in front of the eye have angles";
}

TEST(ViewGeometry, APickedScreenGrowsOnlyAParallelAlignedRectangle) {
  // The edited screen: 2000 wide, 1000 high, at x = 3000, facing +X.
  const KORVrcScreenGeometry edited =
      Rectangle(KORMathPoint(3000, 0, 500), KORMathVector(1, 0, 0), 2000, 1000);
  // clang-format off
  struct Case {
    const char* what;
    KORMathPoint ll, lr, ul;
    bool grows;
    KORMathPoint wantLL = {}, wantLR = {}, wantUL = {};
  };
  const Case cases[] = {
      {"above and to the left, in a plane behind",
       {3100, 1500, 1000}, {3100, 500, 1000}, {3100, 1500, 2000}, true,
       {3100, 1500, 0}, {3100, -1000, 0}, {3100, 1500, 2000}},
      {"turned a quarter turn within the plane",
       {3000, -1000, 0}, {3000, -1000, 3000}, {3000, -2000, 0}, true,
       {3000, 1000, 0}, {3000, -2000, 0}, {3000, 1000, 3000}},
      {"inside: nothing changes",
       {3000, 500, 200}, {3000, -500, 200}, {3000, 500, 800}, true,
       {3000, 1000, 0}, {3000, -1000, 0}, {3000, 1000, 1000}},
      {"at right angles", {0, -1000, 0}, {3000, -1000, 0}, {0, -1000, 1000}, false},
      {"not a rectangle", {3000, 1000, 0}, {3000, -1000, 0}, {3000, 1200, 1000}, false},
      {"turned by 45 degrees in the plane",
       {3000, 0, 0}, {3000, -1000, 1000}, {3000, 1000, 1000}, false},
      {"of no width", {3000, 0, 0}, {3000, 0, 0}, {3000, 0, 1000}, false},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KORVrcScreenGeometry screen = edited;
    EXPECT_EQ(screen.EnlargeWith(c.ll, c.lr, c.ul), c.grows);
    KORVrcScreenGeometry wanted = edited;
    if (c.grows) {
      wanted.lowerLeft = c.wantLL;
      wanted.lowerRight = c.wantLR;
      wanted.upperLeft = c.wantUL;
    }
    ExpectSameCorners(screen, wanted);
  }
}
