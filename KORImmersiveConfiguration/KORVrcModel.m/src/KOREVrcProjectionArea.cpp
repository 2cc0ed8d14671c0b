#include "KOREVrcProjectionArea.h"

#include "KORVrcTrace.h"

#include <array>
#include <string>

namespace {
// "X_UpperLeft", made in place: the writers read the corners many times.
class CoordinateKey {
public:
  CoordinateKey(std::size_t iAxis, const char* iCorner) {
    _text[0] = "XYZ"[iAxis];
    _text[1] = '_';
    for (std::size_t i = 2; *iCorner && i + 1 < _text.size(); ++i)
      _text[i] = *iCorner++;
  }
  const char* c_str() const { return _text.data(); }

private:
  std::array<char, 16> _text{};
};
} // namespace

HRESULT KOREVrcProjectionArea::Reconnect() {
  KORVrcTraceScope scope("KOREVrcProjectionArea::Reconnect");
  return S_OK;
}

HRESULT KOREVrcProjectionArea::GetCorner(const char* iCorner, double* oX, double* oY, double* oZ) {
  const std::array<double*, 3> outputs{oX, oY, oZ};
  for (double* output : outputs)
    if (!output)
      return E_FAIL;
  for (double* output : outputs)
    *output = 0;
  // The writers read every corner several times: one look-up of the
  // attributes for the three coordinates.
  auto attributes = KORVrcAccess::Attributes(GetImpl());
  if (!attributes)
    return E_FAIL;
  for (std::size_t axis = 0; axis < outputs.size(); ++axis)
    if (FAILED(attributes->GetDouble(CoordinateKey(axis, iCorner).c_str(), *outputs[axis])))
      return E_FAIL;
  return S_OK;
}

HRESULT KOREVrcProjectionArea::SetCorner(const char* iCorner, double iX, double iY, double iZ) {
  const std::array<double, 3> coordinates{iX, iY, iZ};
  for (std::size_t axis = 0; axis < coordinates.size(); ++axis)
    if (FAILED(KORVrcAccess::SetDouble(GetImpl(), CoordinateKey(axis, iCorner).c_str(),
                                       coordinates[axis], KORVrcAccess::Notify::No)))
      return E_FAIL;
  // One notification for the whole corner.
  KORVrcAccess::NotifyChange(GetImpl());
  return S_OK;
}

HRESULT KOREVrcProjectionArea::GetUpperLeft(double* oX, double* oY, double* oZ) {
  KORVrcTraceScope scope("KOREVrcProjectionArea::GetUpperLeft");
  return GetCorner("UpperLeft", oX, oY, oZ);
}

HRESULT KOREVrcProjectionArea::GetLowerLeft(double* oX, double* oY, double* oZ) {
  KORVrcTraceScope scope("KOREVrcProjectionArea::GetLowerLeft");
  return GetCorner("LowerLeft", oX, oY, oZ);
}

HRESULT KOREVrcProjectionArea::GetLowerRight(double* oX, double* oY, double* oZ) {
  KORVrcTraceScope scope("KOREVrcProjectionArea::GetLowerRight");
  return GetCorner("LowerRight", oX, oY, oZ);
}

HRESULT KOREVrcProjectionArea::SetUpperLeft(double iX, double iY, double iZ) {
  KORVrcTraceScope scope("KOREVrcProjectionArea::SetUpperLeft");
  return SetCorner("UpperLeft", iX, iY, iZ);
}

HRESULT KOREVrcProjectionArea::SetLowerLeft(double iX, double iY, double iZ) {
  KORVrcTraceScope scope("KOREVrcProjectionArea::SetLowerLeft");
  return SetCorner("LowerLeft", iX, iY, iZ);
}

HRESULT KOREVrcProjectionArea::SetLowerRight(double iX, double iY, double iZ) {
  KORVrcTraceScope scope("KOREVrcProjectionArea::SetLowerRight");
  return SetCorner("LowerRight", iX, iY, iZ);
}
