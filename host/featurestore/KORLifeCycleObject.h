#pragma once
// Deletion of an object. The platform's standard behaviour
// (KORStandardLifeCycle) removes the feature with its aggregated children
// and announces its deletion (a KORDelete model event).
#include "objectmodel/KORBaseUnknown.h"
#include "objectmodel/KORExtension.h"

class LifeCycleObject : public KORBaseUnknown {
  KOR_INTERFACE(LifeCycleObject, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT remove(int iForCloseContext = 0) = 0;
};

// Removes the feature behind iFeature with its aggregated children, each
// child by its own LifeCycleObject. With iAnnounce clear the caller announces
// the feature's deletion itself (for instance from a death callback).
HRESULT KORStandardRemove(KORBaseUnknown* iFeature, bool iAnnounce = false);

class KORStandardLifeCycle : public KORExtensionOf<LifeCycleObject> {
public:
  HRESULT remove(int /*iForCloseContext*/ = 0) override {
    return KORStandardRemove(GetImpl(), /*iAnnounce=*/true);
  }
};
