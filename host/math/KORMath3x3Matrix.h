#pragma once
// 3x3 matrices of doubles: the linear part of a transformation.
//
// The columns of the matrix are the images of the X, Y and Z axes, which is
// how the matrix is built from three vectors and read back with GetColumns.
// Coefficients are addressed by (row, column), both 1-BASED: GetCoef(1, 1) is
// m11, GetCoef(2, 1) is m21 (the Y component of the image of X); indices
// outside 1..3 are a programming error. The default matrix is the identity.
// Inverse fails (E_FAIL) and leaves its output untouched when |determinant|
// is below KOREpsilon.
#include "math/KORMathVector.h"

#include <Eigen/Core>
#include <Eigen/LU>

class KORMath3x3Matrix {
public:
  KORMath3x3Matrix() : _coef(Eigen::Matrix3d::Identity()) {}
  KORMath3x3Matrix(const KORMathVector& iImageOfX, const KORMathVector& iImageOfY,
                   const KORMathVector& iImageOfZ);
  explicit KORMath3x3Matrix(const Eigen::Matrix3d& iCoef) : _coef(iCoef) {}

  // The rotation of iAngle radians about iAxis, counterclockwise when the axis
  // points toward the viewer.
  static KORMath3x3Matrix Rotation(const KORMathDirection& iAxis, double iAngle);

  double GetCoef(int iRow, int iColumn) const { return _coef(iRow - 1, iColumn - 1); }
  void SetCoef(int iRow, int iColumn, double iValue) { _coef(iRow - 1, iColumn - 1) = iValue; }
  void GetColumns(KORMathVector& oImageOfX, KORMathVector& oImageOfY,
                  KORMathVector& oImageOfZ) const;

  double Determinant() const { return _coef.determinant(); }
  KORMath3x3Matrix Transpose() const { return KORMath3x3Matrix(_coef.transpose()); }
  HRESULT Inverse(KORMath3x3Matrix& oInverse) const;
  // True when no coefficient differs by more than iTolerance.
  bool IsEqual(const KORMath3x3Matrix& iOther, double iTolerance = KOREpsilon) const;

  const Eigen::Matrix3d& AsEigen() const { return _coef; }

private:
  Eigen::Matrix3d _coef;
};

KORMath3x3Matrix operator*(const KORMath3x3Matrix& iA, const KORMath3x3Matrix& iB);
KORMathVector operator*(const KORMath3x3Matrix& iMatrix, const KORMathVector& iVector);
