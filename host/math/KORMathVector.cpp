#include "math/KORMathVector.h"

#include <Eigen/Geometry>

void KORMathVector::GetCoord(double& oX, double& oY, double& oZ) const {
  oX = _coord.x();
  oY = _coord.y();
  oZ = _coord.z();
}

HRESULT KORMathVector::Normalize() {
  const double norm = Norm();
  if (norm < KOREpsilon)
    return E_FAIL;
  _coord /= norm;
  return S_OK;
}

bool KORMathVector::IsEqual(const KORMathVector& iOther, double iTolerance) const {
  return (_coord - iOther._coord).norm() <= iTolerance;
}

KORMathVector& KORMathVector::operator+=(const KORMathVector& iOther) {
  _coord += iOther._coord;
  return *this;
}

KORMathVector& KORMathVector::operator-=(const KORMathVector& iOther) {
  _coord -= iOther._coord;
  return *this;
}

KORMathVector& KORMathVector::operator*=(double iFactor) {
  _coord *= iFactor;
  return *this;
}

KORMathVector operator+(const KORMathVector& iA, const KORMathVector& iB) {
  return KORMathVector(Eigen::Vector3d(iA.AsEigen() + iB.AsEigen()));
}

KORMathVector operator-(const KORMathVector& iA, const KORMathVector& iB) {
  return KORMathVector(Eigen::Vector3d(iA.AsEigen() - iB.AsEigen()));
}

KORMathVector operator-(const KORMathVector& iVector) {
  return KORMathVector(Eigen::Vector3d(-iVector.AsEigen()));
}

KORMathVector operator*(double iFactor, const KORMathVector& iVector) {
  return KORMathVector(Eigen::Vector3d(iFactor * iVector.AsEigen()));
}

KORMathVector operator*(const KORMathVector& iVector, double iFactor) {
  return iFactor * iVector;
}

double operator*(const KORMathVector& iA, const KORMathVector& iB) {
  return iA.AsEigen().dot(iB.AsEigen());
}

KORMathVector operator^(const KORMathVector& iA, const KORMathVector& iB) {
  return KORMathVector(Eigen::Vector3d(iA.AsEigen().cross(iB.AsEigen())));
}

KORMathDirection::KORMathDirection(double iX, double iY, double iZ)
    : KORMathDirection(KORMathVector(iX, iY, iZ)) {}

KORMathDirection::KORMathDirection(const KORMathVector& iVector) : KORMathDirection() {
  SetVector(iVector);
}

HRESULT KORMathDirection::SetVector(const KORMathVector& iVector) {
  KORMathVector unit = iVector;
  const HRESULT result = unit.Normalize();
  if (SUCCEEDED(result))
    _unit = unit;
  return result;
}
