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
  virtual HRESULT GetType(KORVrcTrackingStationType& oType) = 0;
  virtual HRESULT SetType(KORVrcTrackingStationType iType) = 0;
  virtual HRESULT GetRef(KORMathTransformation& oRef) = 0;
  virtual HRESULT SetRef(const KORMathTransformation& iRef) = 0;
  virtual HRESULT GetTrackers(KORListValKORBaseUnknown_var** oList) = 0;
  virtual HRESULT AddTracker(KORIVrcTracker* iTracker) = 0;
  virtual HRESULT GetPort(int& oPort) = 0;
  virtual HRESULT SetPort(int iPort) = 0;
  virtual HRESULT GetSpeed(int& oSpeed) = 0;
  virtual HRESULT SetSpeed(int iSpeed) = 0;
  virtual HRESULT GetDaemonName(KORUnicodeString& oName) = 0;
  virtual HRESULT SetDaemonName(const KORUnicodeString& iName) = 0;
  virtual HRESULT RemoveTracker(KORIVrcTracker* iTracker) = 0;
};
KOR_DECLARE_VAR(KORIVrcTrackingStation)
