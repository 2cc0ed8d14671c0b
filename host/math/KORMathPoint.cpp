#include "math/KORMathPoint.h"

void KORMathPoint::GetCoord(double& oX, double& oY, double& oZ) const {
  oX = _coord.x();
  oY = _coord.y();
  oZ = _coord.z();
}

double KORMathPoint::SquareDistanceTo(const KORMathPoint& iOther) const {
  return (_coord - iOther._coord).squaredNorm();
}

bool KORMathPoint::IsEqual(const KORMathPoint& iOther, double iTolerance) const {
  return DistanceTo(iOther) <= iTolerance;
}

KORMathPoint& KORMathPoint::operator+=(const KORMathVector& iVector) {
  _coord += iVector.AsEigen();
  return *this;
}

KORMathPoint& KORMathPoint::operator-=(const KORMathVector& iVector) {
  _coord -= iVector.AsEigen();
  return *this;
}

KORMathVector operator-(const KORMathPoint& iTo, const KORMathPoint& iFrom) {
  return KORMathVector(Eigen::Vector3d(iTo.AsEigen() - iFrom.AsEigen()));
}

KORMathPoint operator+(const KORMathPoint& iPoint, const KORMathVector& iVector) {
  return KORMathPoint(Eigen::Vector3d(iPoint.AsEigen() + iVector.AsEigen()));
}

KORMathPoint operator-(const KORMathPoint& iPoint, const KORMathVector& iVector) {
  return KORMathPoint(Eigen::Vector3d(iPoint.AsEigen() - iVector.AsEigen()));
}
