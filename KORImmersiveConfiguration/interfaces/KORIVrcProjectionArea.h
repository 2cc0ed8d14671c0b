#pragma once
// A physical screen by three corners in millimetres. Getters preset their
// outputs to 0 and fail on a null output or a missing coordinate; setters
// notify a change. Accessors follow the conventions written in
// KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"

class KORIVrcProjectionArea : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcProjectionArea, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetUpperLeft(double* oX, double* oY, double* oZ) = 0;
  [[nodiscard]] virtual HRESULT GetLowerLeft(double* oX, double* oY, double* oZ) = 0;
  [[nodiscard]] virtual HRESULT GetLowerRight(double* oX, double* oY, double* oZ) = 0;
  [[nodiscard]] virtual HRESULT SetUpperLeft(double iX, double iY, double iZ) = 0;
  [[nodiscard]] virtual HRESULT SetLowerLeft(double iX, double iY, double iZ) = 0;
  [[nodiscard]] virtual HRESULT SetLowerRight(double iX, double iY, double iZ) = 0;
};
KOR_DECLARE_VAR(KORIVrcProjectionArea)
