#pragma once
// The devices branch (feature type "KORVrcDevices"): its lists of tracking
// stations, hand devices and button devices.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcDevices.h"

class KOREVrcDevices : public KORAdapterVrcName<KORIVrcDevices> {
public:
  KOREVrcDevices() = default;

  // Reconnect of every tracking station, then of every hand device.
  HRESULT Reconnect() override;

  // Also redraws the branch's node.
  HRESULT GetTrackingStations(KORListValKORBaseUnknown_var** oList) override;
  HRESULT AddTrackingStation(KORIVrcTrackingStation* iStation) override;
  HRESULT RemoveTrackingStation(KORIVrcTrackingStation* iStation) override;
  HRESULT GetHandDevices(KORListValKORBaseUnknown_var** oList) override;
  HRESULT AddHandDevice(KORIVrcHandDevice* iHandDevice) override;
  HRESULT RemoveHandDevice(KORIVrcHandDevice* iHandDevice) override;
  HRESULT GetButtonDevices(KORListValKORBaseUnknown_var** oList) override;
  HRESULT AddButtonDevice(KORIVrcButtonDevice* iButtonDevice) override;
  HRESULT RemoveButtonDevice(KORIVrcButtonDevice* iButtonDevice) override;
};
