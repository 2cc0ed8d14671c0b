#pragma once
// Affine transformations of 3D space: a 3x3 matrix followed by a translation.
//
// Applied to a point P the transformation gives M * P + T; applied to a vector
// (or a direction) it gives M * V, without the translation. `A * B` is the
// transformation that applies B first, then A. The default transformation is
// the identity. Inverse fails (E_FAIL) and leaves its output untouched when
// the matrix is singular (|determinant| below KOREpsilon).
//
// Coefficient order: the 12 coefficients read and written by GetCoef/SetCoef
// are the nine matrix coefficients column by column, then the translation:
//   [0..2]  m11 m21 m31   (the image of X)
//   [3..5]  m12 m22 m32   (the image of Y)
//   [6..8]  m13 m23 m33   (the image of Z)
//   [9..11] tx  ty  tz    (the translation)
// Every place that stores or exchanges a transformation as 12 numbers uses
// this order.
#include "math/KORMath3x3Matrix.h"
#include "math/KORMathPoint.h"

#include <array>

class KORMathTransformation {
public:
  KORMathTransformation() = default;
  KORMathTransformation(const KORMath3x3Matrix& iMatrix, const KORMathVector& iTranslation)
      : _matrix(iMatrix), _translation(iTranslation) {}

  const KORMath3x3Matrix& GetMatrix() const { return _matrix; }
  const KORMathVector& GetVector() const { return _translation; }
  void SetMatrix(const KORMath3x3Matrix& iMatrix) { _matrix = iMatrix; }
  void SetVector(const KORMathVector& iTranslation) { _translation = iTranslation; }

  void GetCoef(std::array<double, 12>& oCoef) const;
  void SetCoef(const std::array<double, 12>& iCoef);

  HRESULT Inverse(KORMathTransformation& oInverse) const;
  // True when every matrix and translation coefficient is within iTolerance
  // of the identity's.
  bool IsIdentity(double iTolerance = KOREpsilon) const;
  bool IsEqual(const KORMathTransformation& iOther, double iTolerance = KOREpsilon) const;

private:
  KORMath3x3Matrix _matrix;
  KORMathVector _translation;
};

// Applies iInner first, then iOuter.
KORMathTransformation operator*(const KORMathTransformation& iOuter,
                                const KORMathTransformation& iInner);
KORMathPoint operator*(const KORMathTransformation& iTransformation, const KORMathPoint& iPoint);
KORMathVector operator*(const KORMathTransformation& iTransformation, const KORMathVector& iVector);
