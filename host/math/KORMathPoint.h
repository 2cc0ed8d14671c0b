#pragma once
// Positions in 3D space.
//
// KORMathPoint is a value type holding three doubles (x, y, z); the default
// point is the origin. Points and vectors are kept apart on purpose: the
// difference of two points is a vector, a point moved by a vector is a point,
// and a transformation translates points but not vectors.
#include "math/KORMathVector.h"

class KORMathPoint {
public:
  KORMathPoint() : _coord(Eigen::Vector3d::Zero()) {}
  KORMathPoint(double iX, double iY, double iZ) : _coord(iX, iY, iZ) {}
  explicit KORMathPoint(const Eigen::Vector3d& iCoord) : _coord(iCoord) {}

  double GetX() const { return _coord.x(); }
  double GetY() const { return _coord.y(); }
  double GetZ() const { return _coord.z(); }
  void GetCoord(double& oX, double& oY, double& oZ) const;
  void SetCoord(double iX, double iY, double iZ) { _coord = Eigen::Vector3d(iX, iY, iZ); }

  double DistanceTo(const KORMathPoint& iOther) const { return (_coord - iOther._coord).norm(); }
  double SquareDistanceTo(const KORMathPoint& iOther) const;
  // True when the two points are closer than iTolerance.
  bool IsEqual(const KORMathPoint& iOther, double iTolerance = KOREpsilon) const;

  KORMathPoint& operator+=(const KORMathVector& iVector);
  KORMathPoint& operator-=(const KORMathVector& iVector);

  const Eigen::Vector3d& AsEigen() const { return _coord; }

private:
  Eigen::Vector3d _coord;
};

// The vector from iFrom to iTo.
KORMathVector operator-(const KORMathPoint& iTo, const KORMathPoint& iFrom);
KORMathPoint operator+(const KORMathPoint& iPoint, const KORMathVector& iVector);
KORMathPoint operator-(const KORMathPoint& iPoint, const KORMathVector& iVector);
