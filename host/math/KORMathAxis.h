#pragma once
// An axis system: an origin and three direction vectors.
//
// The default axis system is the absolute one (origin, X, Y, Z). The vectors
// are kept as given: neither normalised nor checked for orthogonality, so that
// an axis system and the transformation that maps the absolute axis system
// onto it (GetTransformation: the vectors become the matrix columns, the
// origin the translation) convert into each other without loss.
#include "math/KORMathTransformation.h"

class KORMathAxis {
public:
  KORMathAxis() : _first(1.0, 0.0, 0.0), _second(0.0, 1.0, 0.0), _third(0.0, 0.0, 1.0) {}
  KORMathAxis(const KORMathPoint& iOrigin, const KORMathVector& iFirst,
              const KORMathVector& iSecond, const KORMathVector& iThird)
      : _origin(iOrigin), _first(iFirst), _second(iSecond), _third(iThird) {}
  explicit KORMathAxis(const KORMathTransformation& iPlacement)
      : _origin(KORMathPoint() + iPlacement.GetVector()) {
    iPlacement.GetMatrix().GetColumns(_first, _second, _third);
  }

  const KORMathPoint& GetOrigin() const { return _origin; }
  const KORMathVector& GetFirstDirection() const { return _first; }
  const KORMathVector& GetSecondDirection() const { return _second; }
  const KORMathVector& GetThirdDirection() const { return _third; }

  KORMathTransformation GetTransformation() const {
    return KORMathTransformation(KORMath3x3Matrix(_first, _second, _third),
                                 _origin - KORMathPoint());
  }

private:
  KORMathPoint _origin;
  KORMathVector _first;
  KORMathVector _second;
  KORMathVector _third;
};
