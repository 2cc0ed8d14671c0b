#pragma once
// Change notifications of an element and its place in the model-event chain.
// NotifyChange tells every listener that the element changed; NotifyCreate
// tells the father's listeners that the element now exists under it;
// NotifyDelete that it is gone. Connect(f) makes the element's events flow to
// f; ConnectWithFather and ConnectWithRootFather do so with the element's
// feature father and root father; the Deconnect operations undo them.
#include "objectmodel/KORSmartPtr.h"

class KORIVrcVisuRefreshOnElement : public KORBaseUnknown {
  KOR_INTERFACE(KORIVrcVisuRefreshOnElement, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT NotifyChange() = 0;
  [[nodiscard]] virtual HRESULT NotifyCreate(KORBaseUnknown* iFather) = 0;
  [[nodiscard]] virtual HRESULT NotifyDelete() = 0;
  [[nodiscard]] virtual HRESULT ConnectWithFather() = 0;
  [[nodiscard]] virtual HRESULT ConnectWithRootFather() = 0;
  [[nodiscard]] virtual HRESULT Connect(KORBaseUnknown* iFather) = 0;
  [[nodiscard]] virtual HRESULT DeconnectFromFather() = 0;
  [[nodiscard]] virtual HRESULT DeconnectFromRootFather() = 0;
  [[nodiscard]] virtual HRESULT Deconnect(KORBaseUnknown* iFather) = 0;
};
KOR_DECLARE_VAR(KORIVrcVisuRefreshOnElement)
