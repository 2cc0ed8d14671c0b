#pragma once
// Infinite planes: an origin on the plane and a unit normal.
//
// The normal orients the plane: SignedDistanceTo is positive on the side the
// normal points to; DistanceTo is its absolute value. CreateThroughPoints
// fails (E_FAIL) and leaves its output untouched when the three points do not
// define a plane: two of them closer than KOREpsilon, or the angle at the
// first point with a sine below KOREpsilon (colinear points). The normal of a
// plane through P1, P2, P3 is (P2 - P1) ^ (P3 - P1), normalised.
#include "math/KORMathPoint.h"

class KORMathPlane {
public:
  // The XY plane, normal +Z.
  KORMathPlane() : _normal(0.0, 0.0, 1.0) {}
  KORMathPlane(const KORMathPoint& iOrigin, const KORMathDirection& iNormal)
      : _origin(iOrigin), _normal(iNormal) {}

  static HRESULT CreateThroughPoints(const KORMathPoint& iFirst, const KORMathPoint& iSecond,
                                     const KORMathPoint& iThird, KORMathPlane& oPlane);

  const KORMathPoint& GetOrigin() const { return _origin; }
  const KORMathDirection& GetNormal() const { return _normal; }

  double SignedDistanceTo(const KORMathPoint& iPoint) const;
  double DistanceTo(const KORMathPoint& iPoint) const;
  // The foot of the perpendicular from iPoint to the plane.
  KORMathPoint Project(const KORMathPoint& iPoint) const;

private:
  KORMathPoint _origin;
  KORMathDirection _normal;
};
