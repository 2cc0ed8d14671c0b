#pragma once
// Where a window lies: four doubles stored as given (left, top, width, height;
// read default 0 each). SetViewport notifies a change. Accessors follow the
// conventions written in KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"

class KORIVrcViewport : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcViewport, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetViewport(double* oLeft, double* oTop, double* oWidth,
                                            double* oHeight) = 0;
  [[nodiscard]] virtual HRESULT SetViewport(double iLeft, double iTop, double iWidth,
                                            double iHeight) = 0;
};
KOR_DECLARE_VAR(KORIVrcViewport)
