#include "math/KORMathHPR.h"

#include "math/KORMathTolerance.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double kDegree = std::numbers::pi / 180.0;
} // namespace

void KORMathHPR(KORMath3x3Matrix& oMatrix, double iH, double iP, double iR) {
  if (iP == 90.0 || iP == -90.0) {
    iR -= iH;
    iH = 0.0;
  }
  const double cH = std::cos(iH * kDegree), sH = std::sin(iH * kDegree);
  const double cP = std::cos(iP * kDegree), sP = std::sin(iP * kDegree);
  const double cR = std::cos(iR * kDegree), sR = std::sin(iR * kDegree);
  oMatrix =
      KORMath3x3Matrix(KORMathVector(cH * cP, sH * cP, -sP),
                       KORMathVector(-sH * cR + cH * sP * sR, cH * cR + sH * sP * sR, cP * sR),
                       KORMathVector(sH * sR + cH * sP * cR, -cH * sR + sH * sP * cR, cP * cR));
}

void KORMathGetHPR(const KORMath3x3Matrix& iMatrix, double& oH, double& oP, double& oR) {
  auto r = [&](int iRow, int iColumn) { return iMatrix.GetCoef(iRow, iColumn); };
  const double p = std::atan2(-r(3, 1), std::sqrt(r(3, 2) * r(3, 2) + r(3, 3) * r(3, 3)));
  const double cosP = std::cos(p);
  double h = 0.0, roll = 0.0;
  if (std::fabs(cosP) >= KOREpsilon) {
    h = std::atan2(r(2, 1) / cosP, r(1, 1) / cosP);
    roll = std::atan2(r(3, 2) / cosP, r(3, 3) / cosP);
  } else {
    roll = std::atan2(-r(2, 3), r(2, 2));
  }
  oH = h / kDegree;
  oP = p / kDegree;
  oR = roll / kDegree;
  if (oR <= -180.0 + KOREpsilon)
    oR = 180.0;
}
