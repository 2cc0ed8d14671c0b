#include "KORVrcViewGeometry.h"

#include "KORVrcTools.h"
#include "math/KORMathPlane.h"
#include "math/KORMathSpherical.h"
#include "math/KORMathTransformation.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kDegreesPerRadian = 180.0 / kPi;
// Dot products below this are taken for orthogonality when a screen is picked.
constexpr double kEnlargeTolerance = 1e-8;
// A roll below this (degrees) keeps the lower edge horizontal.
constexpr double kRollTolerance = 1e-8;

// The eye's frame: the rotation of heading iHead and pitch iPitch (radians),
// no roll, then the translation to iEye.
KORMathTransformation EyeFrame(double iHead, double iPitch, const KORMathPoint& iEye) {
  KORMath3x3Matrix rotation;
  HPR(rotation, iHead * kDegreesPerRadian, iPitch * kDegreesPerRadian, 0.0);
  return KORMathTransformation(rotation, KORMathVector(iEye.AsEigen()));
}

KORMathPoint Midpoint(const KORMathPoint& iA, const KORMathPoint& iB) {
  return iA + 0.5 * (iB - iA);
}

double Along(const KORMathPoint& iPoint, const KORMathVector& iDirection) {
  return KORMathVector(iPoint.AsEigen()) * iDirection;
}
} // namespace

void KORVrcScreenGeometry::CornersToSize(const KORMathPoint& iEye) {
  const KORMathVector heightVector = upperLeft - lowerLeft;
  const KORMathVector widthVector = lowerRight - lowerLeft;
  width = widthVector.Norm();
  height = heightVector.Norm();
  // The normal points from the viewer through the screen.
  double radius = 0, elevation = 0;
  KORMathVectorToSpherical(heightVector ^ widthVector, head, elevation, radius);
  pitch = -elevation;
  centre = Midpoint(upperLeft, lowerRight);
  const KORMathVector inPlaneNormal = widthVector ^ heightVector;
  const bool isPlane = width != 0 && height != 0 && inPlaneNormal.Norm() != 0;
  const KORMathPlane plane = isPlane ? KORMathPlane(centre, KORMathDirection(inPlaneNormal))
                                     : KORMathPlane(centre, KORMathDirection(0, 0, 1));
  distance = plane.DistanceTo(iEye);
}

void KORVrcScreenGeometry::SizeToCorners() {
  // Horizontal, to the viewer's right; and upwards in the screen's plane.
  const KORMathVector widthVector = KORMathSphericalToVector(head - kPi / 2, 0.0, width);
  const KORMathVector heightVector = KORMathSphericalToVector(head, kPi / 2 - pitch, height);
  upperLeft = centre + 0.5 * heightVector - 0.5 * widthVector;
  lowerLeft = centre - 0.5 * heightVector - 0.5 * widthVector;
  lowerRight = centre - 0.5 * heightVector + 0.5 * widthVector;
}

void KORVrcScreenGeometry::FovToCorners(const KORMathPoint& iEye) {
  const KORMathTransformation eyeFrame = EyeFrame(head, pitch, iEye);
  const KORMathVector toCentre(distance, -distance * std::tan(hshift), distance * std::tan(vshift));
  const double halfWidth = distance * std::tan(hfov / 2);
  const double halfHeight = distance * std::tan(vfov / 2);
  const KORMathPoint eye; // the origin of the eye's frame
  upperLeft = eyeFrame * (eye + toCentre + KORMathVector(0, halfWidth, halfHeight));
  lowerLeft = eyeFrame * (eye + toCentre + KORMathVector(0, halfWidth, -halfHeight));
  lowerRight = eyeFrame * (eye + toCentre + KORMathVector(0, -halfWidth, -halfHeight));
}

void KORVrcScreenGeometry::CornersToFov(const KORMathPoint& iEye) {
  CornersToSize(iEye);
  KORMathTransformation toEye;
  if (FAILED(EyeFrame(head, pitch, iEye).Inverse(toEye)))
    return; // a rotation is never singular
  const KORMathPoint upperLeftSeen = toEye * upperLeft;
  const KORMathPoint lowerLeftSeen = toEye * lowerLeft;
  const KORMathPoint lowerRightSeen = toEye * lowerRight;
  const KORMathPoint centreSeen = Midpoint(upperLeftSeen, lowerRightSeen);
  vshift = std::atan2(centreSeen.GetZ(), distance);
  hshift = std::atan2(-centreSeen.GetY(), distance);
  if (distance == 0)
    return;
  hfov = 2 * std::atan2((lowerRightSeen - lowerLeftSeen).Norm() / 2, distance);
  vfov = 2 * std::atan2((upperLeftSeen - lowerLeftSeen).Norm() / 2, distance);
}

bool KORVrcScreenGeometry::TestCorners() const {
  const KORMathVector widthVector = lowerRight - lowerLeft;
  const KORMathVector heightVector = upperLeft - lowerLeft;
  if (widthVector.Norm() == 0 || heightVector.Norm() == 0)
    return false;
  const KORMath3x3Matrix frame((-widthVector) ^ heightVector, -widthVector, heightVector);
  double h = 0, p = 0, roll = 0;
  GetHPR(frame, h, p, roll);
  return std::fabs(roll) < kRollTolerance;
}

bool KORVrcScreenGeometry::TestFov() const {
  return hfov > 0 && vfov > 0 && hfov < kPi && vfov < kPi && distance > 0;
}

bool KORVrcScreenGeometry::EnlargeWith(const KORMathPoint& iLL, const KORMathPoint& iLR,
                                       const KORMathPoint& iUL) {
  const KORMathVector pickedWidth = iLR - iLL;
  const KORMathVector pickedHeight = iUL - iLL;
  const KORMathVector widthVector = lowerRight - lowerLeft;
  const KORMathVector heightVector = upperLeft - lowerLeft;
  const KORMathDirection normal(widthVector ^ heightVector);
  const KORMathDirection right(widthVector);
  const KORMathDirection up(heightVector);
  const auto nearZero = [](double iDot) { return std::fabs(iDot) < kEnlargeTolerance; };
  const bool rectangle =
      nearZero(pickedWidth * pickedHeight) && pickedWidth.Norm() != 0 && pickedHeight.Norm() != 0;
  const bool parallel = nearZero(pickedWidth * normal) && nearZero(pickedHeight * normal);
  const bool aligned = nearZero(pickedWidth * right) || nearZero(pickedWidth * up);
  if (!rectangle || !parallel || !aligned)
    return false;

  // Each side goes out to the farthest of its own corner and the picked ones.
  const auto farthest = [&](const KORMathPoint& iOwnCorner, const KORMathVector& iOutwards) {
    double best = Along(iOwnCorner, iOutwards);
    for (const KORMathPoint* picked : {&iLL, &iLR, &iUL})
      best = std::max(best, Along(*picked, iOutwards));
    return best;
  };
  const double leftSide = -farthest(lowerLeft, -right.GetVector());
  const double rightSide = farthest(lowerRight, right);
  const double bottomSide = -farthest(lowerLeft, -up.GetVector());
  const double topSide = farthest(upperLeft, up);

  const auto at = [&](double iAlongRight, double iAlongUp) {
    return iLL + (iAlongRight - Along(iLL, right)) * right.GetVector() +
           (iAlongUp - Along(iLL, up)) * up.GetVector();
  };
  lowerLeft = at(leftSide, bottomSide);
  lowerRight = at(rightSide, bottomSide);
  upperLeft = at(leftSide, topSide);
  return true;
}

void KORVrcCameraGeometry::FovToFrustum() {
  left = std::tan(hshift) - std::tan(hfov / 2);
  right = std::tan(hshift) + std::tan(hfov / 2);
  top = std::tan(vshift) + std::tan(vfov / 2);
  bottom = std::tan(vshift) - std::tan(vfov / 2);
}

void KORVrcCameraGeometry::FrustumToFov() {
  hshift = std::atan((right + left) / 2);
  vshift = std::atan((top + bottom) / 2);
  hfov = 2 * std::atan((right - left) / 2);
  vfov = 2 * std::atan((top - bottom) / 2);
}

bool KORVrcCameraGeometry::TestCam() const {
  return hfov > 0 && hfov < kPi && vfov > 0 && vfov < kPi && hshift > -kPi / 2 &&
         hshift < kPi / 2 && vshift > -kPi / 2 && vshift < kPi / 2;
}
