#pragma once
// Model events of an object. ConnectTo(child) makes this object a receiver of
// what the child dispatches (events climb from child to father); Dispatch
// sends a notification to the object's listeners and receivers; Receive is
// called on a receiver and by default passes the notification on (Dispatch).
#include "featurestore/KORNotification.h"

class KORNotificationDispatcher;

class KORIModelEvents : public KORBaseUnknown {
  KOR_INTERFACE(KORIModelEvents, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT Dispatch(KORNotification& ioNotification) = 0;
  // The object's dispatcher (owned by the object; no reference).
  virtual KORNotificationDispatcher* GetDispatcher() = 0;
  [[nodiscard]] virtual HRESULT ConnectTo(KORBaseUnknown* iChild) = 0;
  [[nodiscard]] virtual HRESULT DeconnectFrom(KORBaseUnknown* iChild) = 0;
  [[nodiscard]] virtual HRESULT Receive(KORNotification& ioNotification) = 0;
};
KOR_DECLARE_VAR(KORIModelEvents)
