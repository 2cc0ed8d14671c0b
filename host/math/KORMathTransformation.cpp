#include "math/KORMathTransformation.h"

#include <cmath>

void KORMathTransformation::GetCoef(std::array<double, 12>& oCoef) const {
  // Index i walks down a column (the image of one axis) before moving on to
  // the next, which is the documented order.
  const Eigen::Matrix3d& matrix = _matrix.AsEigen();
  for (int i = 0; i < 9; ++i)
    oCoef[i] = matrix(i % 3, i / 3);
  _translation.GetCoord(oCoef[9], oCoef[10], oCoef[11]);
}

void KORMathTransformation::SetCoef(const std::array<double, 12>& iCoef) {
  Eigen::Matrix3d matrix;
  for (int i = 0; i < 9; ++i)
    matrix(i % 3, i / 3) = iCoef[i];
  _matrix = KORMath3x3Matrix(matrix);
  _translation.SetCoord(iCoef[9], iCoef[10], iCoef[11]);
}

HRESULT KORMathTransformation::Inverse(KORMathTransformation& oInverse) const {
  KORMath3x3Matrix inverseMatrix;
  const HRESULT result = _matrix.Inverse(inverseMatrix);
  if (FAILED(result))
    return result;
  // P = M^-1 * (Q - T) = M^-1 * Q - M^-1 * T.
  oInverse = KORMathTransformation(inverseMatrix, -(inverseMatrix * _translation));
  return S_OK;
}

bool KORMathTransformation::IsIdentity(double iTolerance) const {
  return IsEqual(KORMathTransformation(), iTolerance);
}

bool KORMathTransformation::IsEqual(const KORMathTransformation& iOther, double iTolerance) const {
  std::array<double, 12> mine;
  std::array<double, 12> theirs;
  GetCoef(mine);
  iOther.GetCoef(theirs);
  for (std::size_t i = 0; i < mine.size(); ++i) {
    if (std::abs(mine[i] - theirs[i]) > iTolerance)
      return false;
  }
  return true;
}

KORMathTransformation operator*(const KORMathTransformation& iOuter,
                                const KORMathTransformation& iInner) {
  // A(B(P)) = Ma * (Mb * P + Tb) + Ta.
  return KORMathTransformation(iOuter.GetMatrix() * iInner.GetMatrix(),
                               iOuter.GetMatrix() * iInner.GetVector() + iOuter.GetVector());
}

KORMathPoint operator*(const KORMathTransformation& iTransformation, const KORMathPoint& iPoint) {
  const KORMathVector fromOrigin = iPoint - KORMathPoint();
  return KORMathPoint() + iTransformation.GetMatrix() * fromOrigin + iTransformation.GetVector();
}

KORMathVector operator*(const KORMathTransformation& iTransformation,
                        const KORMathVector& iVector) {
  return iTransformation.GetMatrix() * iVector;
}
