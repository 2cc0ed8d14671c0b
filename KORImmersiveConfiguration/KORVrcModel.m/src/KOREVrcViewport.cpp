#include "KOREVrcViewport.h"

#include "KORVrcTrace.h"

#include <array>

using namespace KORVrcAccess;

namespace {
constexpr std::array<const char*, 4> kKeys{"Left", "Top", "Width", "Height"};
}

HRESULT KOREVrcViewport::GetViewport(double* oLeft, double* oTop, double* oWidth, double* oHeight) {
  KORVrcTraceScope scope("KOREVrcViewport::GetViewport");
  const std::array<double*, 4> outputs{oLeft, oTop, oWidth, oHeight};
  for (double* output : outputs)
    if (!output)
      return E_FAIL;
  // Every output holds 0 before any is read, so a missing value reads as 0.
  for (double* output : outputs)
    *output = 0.0;
  HRESULT result = S_OK;
  for (std::size_t i = 0; i < kKeys.size(); ++i)
    if (FAILED(GetDouble(GetImpl(), kKeys[i], outputs[i])))
      result = E_FAIL;
  return result;
}

HRESULT KOREVrcViewport::SetViewport(double iLeft, double iTop, double iWidth, double iHeight) {
  KORVrcTraceScope scope("KOREVrcViewport::SetViewport");
  const std::array<double, 4> values{iLeft, iTop, iWidth, iHeight};
  for (std::size_t i = 0; i < kKeys.size(); ++i)
    if (FAILED(SetDouble(GetImpl(), kKeys[i], values[i], Notify::No)))
      return E_FAIL;
  // One notification for the four values.
  NotifyChange(GetImpl());
  return S_OK;
}
