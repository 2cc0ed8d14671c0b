#pragma once
// The split of a rendering into regions, with a type and integer options that
// the model stores unchanged. Accessors follow the conventions written in
// KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"
#include "interfaces/KORVrcEnums.h"
#include "system/KORList.h"

class KORIVrcRegion;

class KORIVrcDecomposition : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcDecomposition, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetType(KORVrcDecompositionType* oType) = 0;
  [[nodiscard]] virtual HRESULT SetType(KORVrcDecompositionType iType) = 0;
  // Empties oOptions, then fills it; succeeds even without stored options.
  [[nodiscard]] virtual HRESULT GetOptions(KORRawCollint* oOptions) = 0;
  [[nodiscard]] virtual HRESULT SetOptions(KORRawCollint iOptions) = 0;
  [[nodiscard]] virtual HRESULT AddRegion(KORIVrcRegion* iRegion) = 0;
  [[nodiscard]] virtual HRESULT RemoveRegion(KORIVrcRegion* iRegion) = 0;
  [[nodiscard]] virtual HRESULT ListRegions(KORListValKORBaseUnknown_var** oList) = 0;
};
KOR_DECLARE_VAR(KORIVrcDecomposition)
