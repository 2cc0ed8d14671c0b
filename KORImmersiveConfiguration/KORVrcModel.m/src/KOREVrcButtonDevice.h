#pragma once
// A button device (feature type "KORVrcButtonDevice"): its type and the serial
// link of its daemon.
#include "KORVrcDeviceAccess.h"
#include "interfaces/KORIVrcButtonDevice.h"

class KOREVrcButtonDevice : public KORAdapterVrcSerialDevice<KORIVrcButtonDevice> {
public:
  KOREVrcButtonDevice() = default;

  HRESULT Reconnect() override;

  HRESULT GetType(KORVrcButtonDeviceType& oType) override;
  HRESULT SetType(KORVrcButtonDeviceType iType) override;
};
