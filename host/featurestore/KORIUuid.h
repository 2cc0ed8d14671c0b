#pragma once
// The universal identifier of a feature, fixed at creation and kept by save
// and load.
#include "featurestore/KORUuid.h"
#include "objectmodel/KORBaseUnknown.h"

class KORIUuid : public KORBaseUnknown {
  KOR_INTERFACE(KORIUuid, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT GetUuid(KORUuid& oUuid) = 0;
};
