#pragma once
// The viewer: eye distance, head type and the tracker that follows the head.
// The head's feature is also a tracked element (KORIVrcTrackedElement) and
// carries its name and Reconnect there. SetIPD notifies a change; SetType and
// SetViewPointTracker do not. Accessors follow the conventions written in
// KORIVrcElement.h.
#include "interfaces/KORVrcEnums.h"
#include "objectmodel/KORSmartPtr.h"

class KORIVrcTracker;

class KORIVrcHead : public KORBaseUnknown {
  KOR_INTERFACE(KORIVrcHead, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT GetIPD(double* oIPD) = 0;
  [[nodiscard]] virtual HRESULT SetIPD(double iIPD) = 0;
  [[nodiscard]] virtual HRESULT GetType(KORVrcHeadType* oType) = 0;
  [[nodiscard]] virtual HRESULT SetType(KORVrcHeadType iType) = 0;
  [[nodiscard]] virtual HRESULT GetViewPointTracker(KORIVrcTracker** oTracker) = 0;
  // Disconnects the previous tracker from the head; a null tracker clears the link.
  [[nodiscard]] virtual HRESULT SetViewPointTracker(KORIVrcTracker* iTracker) = 0;
};
KOR_DECLARE_VAR(KORIVrcHead)
