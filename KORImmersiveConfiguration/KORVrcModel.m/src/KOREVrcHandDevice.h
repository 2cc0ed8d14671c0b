#pragma once
// A hand device (feature type "KORVrcHandDevice", a tracked element): its
// type, picking tracker and button manager. Name, Reconnect and location are
// the tracked element's (KOREVrcTrackedElement).
#include "interfaces/KORIVrcHandDevice.h"
#include "objectmodel/KORExtension.h"

class KOREVrcHandDevice : public KORExtensionOf<KORIVrcHandDevice> {
public:
  KOREVrcHandDevice() = default;

  HRESULT GetType(KORVrcHandDeviceType* oType) override;
  HRESULT SetType(KORVrcHandDeviceType iType) override;
  HRESULT GetPickingTracker(KORIVrcTracker** oTracker) override;
  // No notification: the picking ray is not drawn from the model.
  HRESULT SetPickingTracker(KORIVrcTracker* iTracker) override;
  HRESULT GetButtonManager(KORISpecObject** oManager) override;
  // Each setter stores the argument's feature; null removes the manager.
  HRESULT SetButtonManager(KORISpecObject* iManager) override;
  HRESULT SetButtonManager(KORIVrcButtonDevice* iManager) override;
  HRESULT SetButtonManager(KORIVrcTracker* iManager) override;
  // False also when the hand device has no button manager.
  bool IsButtonManager(KORIVrcButtonDevice* iCandidate) override;
  bool IsButtonManager(KORIVrcTracker* iCandidate) override;

private:
  HRESULT StoreButtonManager(KORBaseUnknown* iManager);
  bool HasButtonManager(KORBaseUnknown* iCandidate);
};
