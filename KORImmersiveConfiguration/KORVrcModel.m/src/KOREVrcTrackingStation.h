#pragma once
// A tracking station (feature type "KORVrcTrackingStation"): its type,
// reference frame, serial link and trackers.
#include "KORVrcDeviceAccess.h"
#include "interfaces/KORIVrcTrackingStation.h"

class KOREVrcTrackingStation : public KORAdapterVrcSerialDevice<KORIVrcTrackingStation> {
public:
  KOREVrcTrackingStation() = default;

  // Nothing to reconnect: the trackers are reached through the devices.
  HRESULT Reconnect() override;

  HRESULT GetType(KORVrcTrackingStationType& oType) override;
  HRESULT SetType(KORVrcTrackingStationType iType) override;
  HRESULT GetRef(KORMathTransformation& oRef) override;
  HRESULT SetRef(const KORMathTransformation& iRef) override;
  HRESULT GetTrackers(KORListValKORBaseUnknown_var** oList) override;
  // Appends and connects the tracker to the station; no creation notice.
  HRESULT AddTracker(KORIVrcTracker* iTracker) override;
  HRESULT RemoveTracker(KORIVrcTracker* iTracker) override;
};
