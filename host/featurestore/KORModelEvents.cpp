#include "featurestore/KORModelObject.h"
#include "featurestore/KORStandardModelEvents.h"
#include "objectmodel/KORImplementation.h"

KORModelObject* KORModelObject::From(KORBaseUnknown* iObject) {
  return dynamic_cast<KORModelObject*>(KORGetImplementation(iObject));
}

bool KORModelObject::IsDeadObject(KORBaseUnknown* iObject) {
  KORModelObject* object = From(iObject);
  return object && object->IsDead();
}

KORNotificationDispatcher* KORStandardModelEvents::GetDispatcher() {
  KORModelObject* object = KORModelObject::From(GetImpl());
  return object ? &object->Dispatcher() : nullptr;
}

HRESULT KORStandardModelEvents::Dispatch(KORNotification& ioNotification) {
  KORNotificationDispatcher* dispatcher = GetDispatcher();
  if (!dispatcher)
    return E_FAIL;
  dispatcher->Dispatch(ioNotification, GetImpl());
  return S_OK;
}

HRESULT KORStandardModelEvents::ConnectTo(KORBaseUnknown* iChild) {
  KORModelObject* child = KORModelObject::From(iChild);
  if (!child || child->IsDead())
    return E_FAIL;
  child->Dispatcher().AddReceiver(GetImpl());
  return S_OK;
}

HRESULT KORStandardModelEvents::DeconnectFrom(KORBaseUnknown* iChild) {
  KORModelObject* child = KORModelObject::From(iChild);
  if (!child)
    return E_FAIL;
  child->Dispatcher().RemoveReceiver(GetImpl());
  return S_OK;
}

HRESULT KORStandardModelEvents::Receive(KORNotification& ioNotification) {
  return Dispatch(ioNotification);
}
