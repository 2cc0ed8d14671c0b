#pragma once
// The devices branch: tracking stations, hand devices and button devices.
// Adders notify the new device's creation; GetTrackingStations also redraws the
// branch's node. Accessors follow the conventions written in KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"
#include "system/KORList.h"

class KORIVrcTrackingStation;
class KORIVrcHandDevice;
class KORIVrcButtonDevice;

class KORIVrcDevices : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcDevices, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetTrackingStations(KORListValKORBaseUnknown_var** oList) = 0;
  [[nodiscard]] virtual HRESULT AddTrackingStation(KORIVrcTrackingStation* iStation) = 0;
  [[nodiscard]] virtual HRESULT RemoveTrackingStation(KORIVrcTrackingStation* iStation) = 0;
  [[nodiscard]] virtual HRESULT GetHandDevices(KORListValKORBaseUnknown_var** oList) = 0;
  [[nodiscard]] virtual HRESULT AddHandDevice(KORIVrcHandDevice* iHandDevice) = 0;
  [[nodiscard]] virtual HRESULT RemoveHandDevice(KORIVrcHandDevice* iHandDevice) = 0;
  [[nodiscard]] virtual HRESULT GetButtonDevices(KORListValKORBaseUnknown_var** oList) = 0;
  [[nodiscard]] virtual HRESULT AddButtonDevice(KORIVrcButtonDevice* iButtonDevice) = 0;
  [[nodiscard]] virtual HRESULT RemoveButtonDevice(KORIVrcButtonDevice* iButtonDevice) = 0;
};
KOR_DECLARE_VAR(KORIVrcDevices)
