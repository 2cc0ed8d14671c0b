#pragma once
// Free vectors and unit directions in 3D space.
//
// KORMathVector is a value type holding three doubles (x, y, z); the default
// vector is null. Dot product is `a * b`, cross product is `a ^ b`: `^` binds
// more loosely than `+` and `*`, so always parenthesise it inside expressions.
// Normalize fails (E_FAIL) and leaves the vector untouched when its norm is
// below KOREpsilon.
//
// KORMathDirection always holds a unit vector: it is normalised on
// construction, and a null vector gives +X so that a direction is never
// invalid. Use SetVector when a null input must be reported instead.
// A direction converts implicitly to a read-only KORMathVector, so it can be
// used wherever a vector is read.
#include "math/KORMathTolerance.h"
#include "objectmodel/KORResult.h"

#include <Eigen/Core>

class KORMathVector {
public:
  KORMathVector() : _coord(Eigen::Vector3d::Zero()) {}
  KORMathVector(double iX, double iY, double iZ) : _coord(iX, iY, iZ) {}
  explicit KORMathVector(const Eigen::Vector3d& iCoord) : _coord(iCoord) {}

  double GetX() const { return _coord.x(); }
  double GetY() const { return _coord.y(); }
  double GetZ() const { return _coord.z(); }
  void GetCoord(double& oX, double& oY, double& oZ) const;
  void SetCoord(double iX, double iY, double iZ) { _coord = Eigen::Vector3d(iX, iY, iZ); }

  double Norm() const { return _coord.norm(); }
  double SquareNorm() const { return _coord.squaredNorm(); }
  HRESULT Normalize();
  // True when the two vectors differ by less than iTolerance in length.
  bool IsEqual(const KORMathVector& iOther, double iTolerance = KOREpsilon) const;

  KORMathVector& operator+=(const KORMathVector& iOther);
  KORMathVector& operator-=(const KORMathVector& iOther);
  KORMathVector& operator*=(double iFactor);

  const Eigen::Vector3d& AsEigen() const { return _coord; }

private:
  Eigen::Vector3d _coord;
};

KORMathVector operator+(const KORMathVector& iA, const KORMathVector& iB);
KORMathVector operator-(const KORMathVector& iA, const KORMathVector& iB);
KORMathVector operator-(const KORMathVector& iVector);
KORMathVector operator*(double iFactor, const KORMathVector& iVector);
KORMathVector operator*(const KORMathVector& iVector, double iFactor);
// Dot product.
double operator*(const KORMathVector& iA, const KORMathVector& iB);
// Cross product.
KORMathVector operator^(const KORMathVector& iA, const KORMathVector& iB);

class KORMathDirection {
public:
  // +X.
  KORMathDirection() : _unit(1.0, 0.0, 0.0) {}
  KORMathDirection(double iX, double iY, double iZ);
  explicit KORMathDirection(const KORMathVector& iVector);

  // Fails (E_FAIL) on a null vector and keeps the current direction.
  HRESULT SetVector(const KORMathVector& iVector);
  const KORMathVector& GetVector() const { return _unit; }
  operator const KORMathVector&() const { return _unit; }

  double GetX() const { return _unit.GetX(); }
  double GetY() const { return _unit.GetY(); }
  double GetZ() const { return _unit.GetZ(); }
  void GetCoord(double& oX, double& oY, double& oZ) const { _unit.GetCoord(oX, oY, oZ); }

private:
  KORMathVector _unit;
};
