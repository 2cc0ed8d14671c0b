#pragma once
// A physical screen by three corners, each stored as three doubles named
// after the axis and the corner ("X_UpperLeft", ...).
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcProjectionArea.h"

class KOREVrcProjectionArea : public KORAdapterVrcName<KORIVrcProjectionArea> {
public:
  HRESULT Reconnect() override;
  HRESULT GetUpperLeft(double* oX, double* oY, double* oZ) override;
  HRESULT GetLowerLeft(double* oX, double* oY, double* oZ) override;
  HRESULT GetLowerRight(double* oX, double* oY, double* oZ) override;
  HRESULT SetUpperLeft(double iX, double iY, double iZ) override;
  HRESULT SetLowerLeft(double iX, double iY, double iZ) override;
  HRESULT SetLowerRight(double iX, double iY, double iZ) override;

private:
  HRESULT GetCorner(const char* iCorner, double* oX, double* oY, double* oZ);
  HRESULT SetCorner(const char* iCorner, double iX, double iY, double iZ);
};
