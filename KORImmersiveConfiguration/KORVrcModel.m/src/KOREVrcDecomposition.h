#pragma once
// The split of a rendering into regions. The type and the options are stored
// unchanged; the regions are referenced, not owned.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcDecomposition.h"

class KOREVrcDecomposition : public KORAdapterVrcName<KORIVrcDecomposition> {
public:
  HRESULT Reconnect() override;
  HRESULT GetType(KORVrcDecompositionType* oType) override;
  HRESULT SetType(KORVrcDecompositionType iType) override;
  HRESULT GetOptions(KORRawCollint* oOptions) override;
  HRESULT SetOptions(KORRawCollint iOptions) override;
  HRESULT AddRegion(KORIVrcRegion* iRegion) override;
  HRESULT RemoveRegion(KORIVrcRegion* iRegion) override;
  HRESULT ListRegions(KORListValKORBaseUnknown_var** oList) override;
};
