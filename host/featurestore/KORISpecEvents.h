#pragma once
// Life events of a feature: callbacks run when it dies (is removed with its
// father or on its own). A callback may remove itself while it runs.
#include "objectmodel/KORBaseUnknown.h"

#include <functional>

class KORISpecEvents : public KORBaseUnknown {
  KOR_INTERFACE(KORISpecEvents, KORBaseUnknown)
public:
  using DeathCallback = std::function<void(KORBaseUnknown* iDying)>;
  // Returns an id for RemoveDeathCallback.
  virtual int AddDeathCallback(DeathCallback iCallback) = 0;
  [[nodiscard]] virtual HRESULT RemoveDeathCallback(int iCallbackId) = 0;
};
