#pragma once
// The platform's model-event behaviour, as an extension over the object's
// own dispatcher. A module that reacts to events derives from it and
// overrides Receive, calling KORStandardModelEvents::Receive to pass the
// event on.
#include "featurestore/KORIModelEvents.h"
#include "objectmodel/KORExtension.h"

class KORModelObject;

class KORStandardModelEvents : public KORExtensionOf<KORIModelEvents> {
public:
  HRESULT Dispatch(KORNotification& ioNotification) override;
  KORNotificationDispatcher* GetDispatcher() override;
  HRESULT ConnectTo(KORBaseUnknown* iChild) override;
  HRESULT DeconnectFrom(KORBaseUnknown* iChild) override;
  HRESULT Receive(KORNotification& ioNotification) override;

private:
  // The model object this extension is attached to, found once: an
  // extension lives as long as its object.
  KORModelObject* Object();
  KORModelObject* _object = nullptr;
};
