#pragma once
// A hand-held pointer: its type, the tracker giving its picking ray and what
// delivers its buttons (a button device or a tracker). The feature is also a
// tracked element (KORIVrcTrackedElement) and carries its name and Reconnect
// there. SetType notifies a change. Accessors follow the conventions written in
// KORIVrcElement.h.
#include "interfaces/KORVrcEnums.h"
#include "objectmodel/KORSmartPtr.h"

class KORIVrcTracker;
class KORIVrcButtonDevice;
class KORISpecObject;

class KORIVrcHandDevice : public KORBaseUnknown {
  KOR_INTERFACE(KORIVrcHandDevice, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT GetType(KORVrcHandDeviceType* oType) = 0;
  [[nodiscard]] virtual HRESULT SetType(KORVrcHandDeviceType iType) = 0;
  [[nodiscard]] virtual HRESULT GetPickingTracker(KORIVrcTracker** oTracker) = 0;
  // Disconnects the previous tracker; a null tracker clears the link.
  [[nodiscard]] virtual HRESULT SetPickingTracker(KORIVrcTracker* iTracker) = 0;
  // The linked feature, whatever its kind; fails when there is none.
  [[nodiscard]] virtual HRESULT GetButtonManager(KORISpecObject** oManager) = 0;
  [[nodiscard]] virtual HRESULT SetButtonManager(KORISpecObject* iManager) = 0;
  [[nodiscard]] virtual HRESULT SetButtonManager(KORIVrcButtonDevice* iManager) = 0;
  [[nodiscard]] virtual HRESULT SetButtonManager(KORIVrcTracker* iManager) = 0;
  virtual bool IsButtonManager(KORIVrcButtonDevice* iCandidate) = 0;
  virtual bool IsButtonManager(KORIVrcTracker* iCandidate) = 0;
};
KOR_DECLARE_VAR(KORIVrcHandDevice)
