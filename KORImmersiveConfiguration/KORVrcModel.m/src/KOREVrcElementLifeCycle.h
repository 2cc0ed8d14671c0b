#pragma once
// Deletion of an element: a window shown by a rendering takes that rendering
// out of the configuration root's list first; the element announces its own
// deletion to the views when its feature dies.
#include "featurestore/KORLifeCycleObject.h"

class KOREVrcElementLifeCycle : public KORExtensionOf<LifeCycleObject> {
public:
  HRESULT remove(int iForCloseContext = 0) override;

private:
  void OnDeath();
  int _deathSubscription = 0; // 0: not subscribed
};
