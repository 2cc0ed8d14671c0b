#include "math/KORMathPlane.h"

#include <cmath>

HRESULT KORMathPlane::CreateThroughPoints(const KORMathPoint& iFirst, const KORMathPoint& iSecond,
                                          const KORMathPoint& iThird, KORMathPlane& oPlane) {
  const KORMathVector toSecond = iSecond - iFirst;
  const KORMathVector toThird = iThird - iFirst;
  const KORMathVector normal = toSecond ^ toThird;
  // |u ^ v| = |u| |v| sin(angle): comparing against the product of the lengths
  // judges colinearity by the angle alone, whatever the size of the triangle.
  const double lengths = toSecond.Norm() * toThird.Norm();
  if (toSecond.Norm() < KOREpsilon || toThird.Norm() < KOREpsilon ||
      normal.Norm() < KOREpsilon * lengths)
    return E_FAIL;
  oPlane = KORMathPlane(iFirst, KORMathDirection(normal));
  return S_OK;
}

double KORMathPlane::SignedDistanceTo(const KORMathPoint& iPoint) const {
  return (iPoint - _origin) * _normal;
}

double KORMathPlane::DistanceTo(const KORMathPoint& iPoint) const {
  return std::abs(SignedDistanceTo(iPoint));
}

KORMathPoint KORMathPlane::Project(const KORMathPoint& iPoint) const {
  return iPoint - SignedDistanceTo(iPoint) * _normal;
}
