#pragma once
// A rendering specification's behaviour: rendering mode and mirroring.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcRenderingSpec.h"

class KOREVrcRenderingSpec : public KORAdapterVrcName<KORIVrcRenderingSpec> {
public:
  // A rendering specification has nothing below it to reconnect.
  HRESULT Reconnect() override { return S_OK; }

  HRESULT GetRenderingMode(KORVrcRenderingMode* oMode) override;
  HRESULT SetRenderingMode(KORVrcRenderingMode iMode) override;
  HRESULT GetMirrorMode(KORVrcMirrorMode* oMode) override;
  HRESULT SetMirrorMode(KORVrcMirrorMode iMode) override;
};
