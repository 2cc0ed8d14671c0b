#pragma once
// The refresh behaviour of every element: it raises the element's model
// events and wires the element into its father's event chain, so that the
// views listening at the document's root container follow the model. Traces
// go to the module "KORVrcView".
#include "interfaces/KORIVrcVisuRefreshOnElement.h"
#include "objectmodel/KORExtension.h"

class KOREVrcVisuRefreshOnElement : public KORExtensionOf<KORIVrcVisuRefreshOnElement> {
public:
  HRESULT NotifyChange() override;
  HRESULT NotifyCreate(KORBaseUnknown* iFather) override;
  HRESULT NotifyDelete() override;
  HRESULT ConnectWithFather() override;
  HRESULT ConnectWithRootFather() override;
  HRESULT Connect(KORBaseUnknown* iFather) override;
  HRESULT DeconnectFromFather() override;
  HRESULT DeconnectFromRootFather() override;
  HRESULT Deconnect(KORBaseUnknown* iFather) override;
};
