#pragma once
// Accessors shared by the device kinds: enumerations stored as integers, and
// the serial link (port, speed, daemon name) that tracking stations and button
// devices both carry under the same keys.
#include "KORAdapterVrcName.h"
#include "KORVrcTrace.h"

// Reads the integer attribute iKey as the enumeration E; oValue is left as it
// was when the attribute cannot be read.
template <class E> HRESULT KORVrcGetEnum(KORBaseUnknown* iElement, const char* iKey, E& oValue) {
  int stored = 0;
  HRESULT result = KORVrcAccess::GetInteger(iElement, iKey, &stored);
  if (SUCCEEDED(result))
    oValue = static_cast<E>(stored);
  return result;
}

// The serial link through which a daemon serves the device; none of these
// setters notifies a change.
template <class Interface> class KORAdapterVrcSerialDevice : public KORAdapterVrcName<Interface> {
public:
  HRESULT GetPort(int& oPort) override {
    KORVrcTraceScope scope("KORAdapterVrcSerialDevice::GetPort");
    return KORVrcAccess::GetInteger(this->GetImpl(), "Port", &oPort);
  }
  HRESULT SetPort(int iPort) override {
    KORVrcTraceScope scope("KORAdapterVrcSerialDevice::SetPort");
    return KORVrcAccess::SetInteger(this->GetImpl(), "Port", iPort, KORVrcAccess::Notify::No);
  }
  HRESULT GetSpeed(int& oSpeed) override {
    KORVrcTraceScope scope("KORAdapterVrcSerialDevice::GetSpeed");
    return KORVrcAccess::GetInteger(this->GetImpl(), "Speed", &oSpeed);
  }
  HRESULT SetSpeed(int iSpeed) override {
    KORVrcTraceScope scope("KORAdapterVrcSerialDevice::SetSpeed");
    return KORVrcAccess::SetInteger(this->GetImpl(), "Speed", iSpeed, KORVrcAccess::Notify::No);
  }
  HRESULT GetDaemonName(KORUnicodeString& oName) override {
    KORVrcTraceScope scope("KORAdapterVrcSerialDevice::GetDaemonName");
    return KORVrcAccess::GetString(this->GetImpl(), "Daemon", oName);
  }
  HRESULT SetDaemonName(const KORUnicodeString& iName) override {
    KORVrcTraceScope scope("KORAdapterVrcSerialDevice::SetDaemonName");
    return KORVrcAccess::SetString(this->GetImpl(), "Daemon", iName, KORVrcAccess::Notify::No);
  }
};
