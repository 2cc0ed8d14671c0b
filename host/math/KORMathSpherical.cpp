#include "math/KORMathSpherical.h"

#include <cmath>

void KORMathVectorToSpherical(const KORMathVector& iVector, double& oAzimuth, double& oElevation,
                              double& oRadius) {
  const double x = iVector.GetX();
  const double y = iVector.GetY();
  const double z = iVector.GetZ();
  // atan2 rather than asin(z / radius): it stays accurate near the poles and
  // needs no special case for the null vector (atan2(0, 0) is 0).
  oAzimuth = std::atan2(y, x);
  oElevation = std::atan2(z, std::hypot(x, y));
  oRadius = iVector.Norm();
}

KORMathVector KORMathSphericalToVector(double iAzimuth, double iElevation, double iRadius) {
  const double horizontal = iRadius * std::cos(iElevation);
  return KORMathVector(horizontal * std::cos(iAzimuth), horizontal * std::sin(iAzimuth),
                       iRadius * std::sin(iElevation));
}
