#pragma once
// Deletion of an object. The platform's standard behaviour
// (KORStandardLifeCycle) removes the feature with its aggregated children.
#include "objectmodel/KORBaseUnknown.h"
#include "objectmodel/KORExtension.h"

class LifeCycleObject : public KORBaseUnknown {
  KOR_INTERFACE(LifeCycleObject, KORBaseUnknown)
public:
  virtual HRESULT remove(int iForCloseContext = 0) = 0;
};

// Removes the feature behind iFeature with its aggregated children.
HRESULT KORStandardRemove(KORBaseUnknown* iFeature);

class KORStandardLifeCycle : public KORExtensionOf<LifeCycleObject> {
public:
  HRESULT remove(int /*iForCloseContext*/ = 0) override { return KORStandardRemove(GetImpl()); }
};
