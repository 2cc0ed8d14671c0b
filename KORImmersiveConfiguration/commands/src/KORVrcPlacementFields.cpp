#include "KORVrcPlacementFields.h"

#include "KORVrcDlgTools.h"
#include "KORVrcTools.h"

#include <numbers>

namespace {
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
}

void KORVrcPlacementFields::Build(KORCommand* iFather) {
  const char* positionNames[] = {"XSpinEdit", "YSpinEdit", "ZSpinEdit"};
  const char* angleNames[] = {"HSpinEdit", "PSpinEdit", "RSpinEdit"};
  for (std::size_t i = 0; i < 3; ++i) {
    _position[i] = new KORDlgSpinner(iFather, positionNames[i]);
    KORVrcMakeLengthField(*_position[i]);
  }
  for (std::size_t i = 0; i < 3; ++i) {
    _angles[i] = new KORDlgSpinner(iFather, angleNames[i]);
    _angles[i]->BindParameter(KORParameterKind::Angle);
  }
}

void KORVrcPlacementFields::Set(const KORMathTransformation& iPlacement) {
  double hpr[3] = {};
  GetHPR(iPlacement.GetMatrix(), hpr[0], hpr[1], hpr[2]);
  double position[3] = {};
  iPlacement.GetVector().GetCoord(position[0], position[1], position[2]);
  for (std::size_t i = 0; i < 3; ++i) {
    // + 0.0 shows a zero angle as 0 rather than -0.
    _angles[i]->GetParameter()->SetValue(hpr[i] * kRadiansPerDegree + 0.0);
    _position[i]->GetParameter()->SetValue(position[i]);
  }
}

KORMathTransformation KORVrcPlacementFields::Get() const {
  // The spinners show degrees, which HPR takes.
  KORMath3x3Matrix rotation;
  HPR(rotation, _angles[0]->GetValue(), _angles[1]->GetValue(), _angles[2]->GetValue());
  const KORMathVector translation(_position[0]->GetValue(), _position[1]->GetValue(),
                                  _position[2]->GetValue());
  return KORMathTransformation(rotation, translation);
}
