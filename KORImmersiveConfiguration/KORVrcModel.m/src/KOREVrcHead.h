#pragma once
// The head's own operations. Its name, location and Reconnect come from the
// tracked-element behaviour of the same feature.
#include "interfaces/KORIVrcHead.h"
#include "objectmodel/KORExtension.h"

class KOREVrcHead : public KORExtensionOf<KORIVrcHead> {
public:
  HRESULT GetIPD(double* oIPD) override;
  HRESULT SetIPD(double iIPD) override;
  HRESULT GetType(KORVrcHeadType* oType) override;
  HRESULT SetType(KORVrcHeadType iType) override;
  HRESULT GetViewPointTracker(KORIVrcTracker** oTracker) override;
  HRESULT SetViewPointTracker(KORIVrcTracker* iTracker) override;
};
