#pragma once
// An element a tracker can follow (heads and hand devices are tracked
// elements): its location, a transformation; SetLocation notifies a change.
// Accessors follow the conventions written in KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"
#include "math/KORMathTransformation.h"

class KORIVrcTrackedElement : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcTrackedElement, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetLocation(KORMathTransformation& oLocation) = 0;
  [[nodiscard]] virtual HRESULT SetLocation(const KORMathTransformation& iLocation) = 0;
};
KOR_DECLARE_VAR(KORIVrcTrackedElement)
