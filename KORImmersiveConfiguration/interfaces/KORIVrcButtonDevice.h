#pragma once
// A device delivering buttons: its type, serial port, speed and daemon name.
// Only SetType notifies a change. Accessors follow the conventions written in
// KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"
#include "interfaces/KORVrcEnums.h"

class KORIVrcButtonDevice : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcButtonDevice, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetType(KORVrcButtonDeviceType& oType) = 0;
  [[nodiscard]] virtual HRESULT SetType(KORVrcButtonDeviceType iType) = 0;
  [[nodiscard]] virtual HRESULT GetPort(int& oPort) = 0;
  [[nodiscard]] virtual HRESULT SetPort(int iPort) = 0;
  [[nodiscard]] virtual HRESULT GetSpeed(int& oSpeed) = 0;
  [[nodiscard]] virtual HRESULT SetSpeed(int iSpeed) = 0;
  [[nodiscard]] virtual HRESULT GetDaemonName(KORUnicodeString& oName) = 0;
  [[nodiscard]] virtual HRESULT SetDaemonName(const KORUnicodeString& iName) = 0;
};
KOR_DECLARE_VAR(KORIVrcButtonDevice)
