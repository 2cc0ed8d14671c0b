#pragma once
// A viewport's behaviour: four doubles stored as given.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcViewport.h"

class KOREVrcViewport : public KORAdapterVrcName<KORIVrcViewport> {
public:
  // A viewport has nothing below it to reconnect.
  HRESULT Reconnect() override { return S_OK; }

  HRESULT GetViewport(double* oLeft, double* oTop, double* oWidth, double* oHeight) override;
  HRESULT SetViewport(double iLeft, double iTop, double iWidth, double iHeight) override;
};
