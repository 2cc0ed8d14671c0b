#pragma once
// The graphic resources branch: the image generators and the main window.
// RemoveIG with iPlainRemove clear empties the generator's position and
// disconnects it from its father instead of removing the entry. Accessors
// follow the conventions written in KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"
#include "system/KORList.h"

class KORIVrcWindow;
class KORIVrcIG;

class KORIVrcGraphicResources : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcGraphicResources, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetMainWindow(KORIVrcWindow** oWindow) = 0;
  // A null window clears the main window.
  [[nodiscard]] virtual HRESULT SetMainWindow(KORIVrcWindow* iWindow) = 0;
  [[nodiscard]] virtual HRESULT GetIGs(KORListValKORBaseUnknown_var** oList) = 0;
  [[nodiscard]] virtual HRESULT AddIG(KORIVrcIG* iIG) = 0;
  [[nodiscard]] virtual HRESULT RemoveIG(KORIVrcIG* iIG, unsigned char iPlainRemove) = 0;
};
KOR_DECLARE_VAR(KORIVrcGraphicResources)
