#pragma once
// A feature as a node of its document: its type, its own name, its father
// (the feature whose aggregating attribute holds it), its root father (the
// top of that chain), its directly aggregated features and its container.
// Direct children come in the order of the type's aggregating attributes as
// the catalog declares them, each list in list order.
#include "system/KORList.h"

class KORIContainer;

class KORISpecObject : public KORBaseUnknown {
  KOR_INTERFACE(KORISpecObject, KORBaseUnknown)
public:
  virtual const char* GetTypeName() = 0;
  // The name given when the feature was made ("" for an empty name).
  [[nodiscard]] virtual HRESULT GetFeatureName(KORUnicodeString& oName) = 0;
  // Fails when the feature has no father.
  [[nodiscard]] virtual HRESULT GetFather(KORISpecObject** oFather) = 0;
  // The topmost father; fails when the feature has no father.
  [[nodiscard]] virtual HRESULT GetRootFather(KORISpecObject** oRoot) = 0;
  // A new list of the directly aggregated features (their KORISpecObject).
  [[nodiscard]] virtual HRESULT ListChildren(KORListValKORBaseUnknown_var** oChildren) = 0;
  [[nodiscard]] virtual HRESULT GetContainer(KORIContainer** oContainer) = 0;
  // True once the feature was removed or its document closed.
  virtual bool IsDeleted() = 0;
  // A new list of the live features whose link attribute iKey holds this
  // feature and that answer iIID, each once, in their container's order; each
  // entry holds that interface. The store keeps these back references, so the
  // answer costs the number of referrers, not the size of the document.
  [[nodiscard]] virtual HRESULT ListReferrers(const char* iKey, const KORIID& iIID,
                                              KORListValKORBaseUnknown_var** oList) = 0;
};
KOR_DECLARE_VAR(KORISpecObject)
