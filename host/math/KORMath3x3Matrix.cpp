#include "math/KORMath3x3Matrix.h"

#include <Eigen/Geometry>
#include <Eigen/LU>

#include <cmath>

KORMath3x3Matrix::KORMath3x3Matrix(const KORMathVector& iImageOfX, const KORMathVector& iImageOfY,
                                   const KORMathVector& iImageOfZ) {
  _coef.col(0) = iImageOfX.AsEigen();
  _coef.col(1) = iImageOfY.AsEigen();
  _coef.col(2) = iImageOfZ.AsEigen();
}

KORMath3x3Matrix KORMath3x3Matrix::Rotation(const KORMathDirection& iAxis, double iAngle) {
  return KORMath3x3Matrix(
      Eigen::AngleAxisd(iAngle, iAxis.GetVector().AsEigen()).toRotationMatrix());
}

void KORMath3x3Matrix::GetColumns(KORMathVector& oImageOfX, KORMathVector& oImageOfY,
                                  KORMathVector& oImageOfZ) const {
  oImageOfX = KORMathVector(Eigen::Vector3d(_coef.col(0)));
  oImageOfY = KORMathVector(Eigen::Vector3d(_coef.col(1)));
  oImageOfZ = KORMathVector(Eigen::Vector3d(_coef.col(2)));
}

HRESULT KORMath3x3Matrix::Inverse(KORMath3x3Matrix& oInverse) const {
  if (std::abs(Determinant()) < KOREpsilon)
    return E_FAIL;
  oInverse = KORMath3x3Matrix(_coef.inverse());
  return S_OK;
}

bool KORMath3x3Matrix::IsEqual(const KORMath3x3Matrix& iOther, double iTolerance) const {
  return (_coef - iOther._coef).cwiseAbs().maxCoeff() <= iTolerance;
}

KORMath3x3Matrix operator*(const KORMath3x3Matrix& iA, const KORMath3x3Matrix& iB) {
  return KORMath3x3Matrix(Eigen::Matrix3d(iA.AsEigen() * iB.AsEigen()));
}

KORMathVector operator*(const KORMath3x3Matrix& iMatrix, const KORMathVector& iVector) {
  return KORMathVector(Eigen::Vector3d(iMatrix.AsEigen() * iVector.AsEigen()));
}
