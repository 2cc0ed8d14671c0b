#pragma once
// What heads and hand devices share as tracked elements (feature type
// "KORVrcTrackedElement", their common parent type): name, Reconnect and
// location.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcTrackedElement.h"

class KOREVrcTrackedElement : public KORAdapterVrcName<KORIVrcTrackedElement> {
public:
  KOREVrcTrackedElement() = default;

  // Nothing to reconnect: a tracker connects its element to itself.
  HRESULT Reconnect() override;

  HRESULT GetLocation(KORMathTransformation& oLocation) override;
  HRESULT SetLocation(const KORMathTransformation& iLocation) override;
};
