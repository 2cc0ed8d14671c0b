#include "vr/KORVRDeviceEvent.h"

namespace {

void AppendPoint(std::vector<double>& ioValues, const KORMathPoint& iPoint) {
  ioValues.insert(ioValues.end(), {iPoint.GetX(), iPoint.GetY(), iPoint.GetZ()});
}

// The side of the square the viewport layout spans: long enough that the
// directions recovered from point differences keep full precision at
// installation-sized positions.
constexpr double kViewportSide = 1000.0;

} // namespace

std::vector<double> KORVRPositionEventData(const KORMathTransformation& iSensor) {
  std::array<double, 12> coef{};
  iSensor.GetCoef(coef);
  return {coef[0], coef[1], coef[2],  0.0, coef[3],  coef[4],  coef[5],  0.0,
          coef[6], coef[7], coef[8],  0.0, coef[9],  coef[10], coef[11], 1.0};
}

std::vector<double> KORVRViewportEventData(const KORMathTransformation& iSensor) {
  KORMathVector firstColumn, secondColumn, thirdColumn;
  iSensor.GetMatrix().GetColumns(firstColumn, secondColumn, thirdColumn);
  const KORMathPoint a = iSensor * KORMathPoint();
  // B, C and D are three corners of a square: C - B along the first column,
  // C - D along the second.
  const KORMathPoint c = a + kViewportSide * firstColumn;
  const KORMathPoint d = c - kViewportSide * secondColumn;
  std::vector<double> values;
  values.reserve(12);
  AppendPoint(values, a);
  AppendPoint(values, a);
  AppendPoint(values, c);
  AppendPoint(values, d);
  return values;
}
