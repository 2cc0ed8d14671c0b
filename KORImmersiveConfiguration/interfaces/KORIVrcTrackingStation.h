#pragma once
// A tracking system: its type, reference frame in the installation frame,
// serial port, speed, daemon name and its trackers. SetType and SetRef notify a
// change; the port, speed and daemon setters do not. Accessors follow the
// conventions written in KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"
#include "interfaces/KORVrcEnums.h"
#include "math/KORMathTransformation.h"
#include "system/KORList.h"

class KORIVrcTracker;

class KORIVrcTrackingStation : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcTrackingStation, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetType(KORVrcTrackingStationType& oType) = 0;
  [[nodiscard]] virtual HRESULT SetType(KORVrcTrackingStationType iType) = 0;
  [[nodiscard]] virtual HRESULT GetRef(KORMathTransformation& oRef) = 0;
  [[nodiscard]] virtual HRESULT SetRef(const KORMathTransformation& iRef) = 0;
  [[nodiscard]] virtual HRESULT GetTrackers(KORListValKORBaseUnknown_var** oList) = 0;
  [[nodiscard]] virtual HRESULT AddTracker(KORIVrcTracker* iTracker) = 0;
  [[nodiscard]] virtual HRESULT GetPort(int& oPort) = 0;
  [[nodiscard]] virtual HRESULT SetPort(int iPort) = 0;
  [[nodiscard]] virtual HRESULT GetSpeed(int& oSpeed) = 0;
  [[nodiscard]] virtual HRESULT SetSpeed(int iSpeed) = 0;
  [[nodiscard]] virtual HRESULT GetDaemonName(KORUnicodeString& oName) = 0;
  [[nodiscard]] virtual HRESULT SetDaemonName(const KORUnicodeString& iName) = 0;
  [[nodiscard]] virtual HRESULT RemoveTracker(KORIVrcTracker* iTracker) = 0;
};
KOR_DECLARE_VAR(KORIVrcTrackingStation)
