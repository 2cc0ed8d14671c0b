#pragma once
// The graphic resources branch's behaviour: main window and image generators.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcGraphicResources.h"

class KOREVrcGraphicResources : public KORAdapterVrcName<KORIVrcGraphicResources> {
public:
  HRESULT Reconnect() override;

  HRESULT GetMainWindow(KORIVrcWindow** oWindow) override;
  HRESULT SetMainWindow(KORIVrcWindow* iWindow) override;
  HRESULT GetIGs(KORListValKORBaseUnknown_var** oList) override;
  HRESULT AddIG(KORIVrcIG* iIG) override;
  HRESULT RemoveIG(KORIVrcIG* iIG, unsigned char iPlainRemove) override;
};
