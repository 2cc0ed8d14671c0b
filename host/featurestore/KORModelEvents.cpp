#include "featurestore/KORContainer.h"
#include "featurestore/KORDocument.h"
#include "featurestore/KORFeature.h"
#include "featurestore/KORModelObject.h"
#include "featurestore/KORStandardModelEvents.h"
#include "objectmodel/KORImplementation.h"

#include <typeinfo>

namespace {
// iImplementation as a T when that is its class, else null.
template <class T> KORModelObject* IfExactly(KORImplementation& iImplementation) {
  return typeid(iImplementation) == typeid(T) ? static_cast<T*>(&iImplementation) : nullptr;
}
} // namespace

// Connections and event dispatch ask this of every element: the store's own
// classes (final) are recognised by their type, which spares the walk of
// their many bases that a cross cast makes; any other class is cast.
KORModelObject* KORModelObject::From(KORBaseUnknown* iObject) {
  KORImplementation* implementation = KORGetImplementation(iObject);
  return implementation ? From(*implementation) : nullptr;
}

KORModelObject* KORModelObject::From(KORImplementation& iImplementation) {
  KORModelObject* object = IfExactly<KORFeature>(iImplementation);
  if (!object)
    object = IfExactly<KORFeatureContainer>(iImplementation);
  if (!object)
    object = IfExactly<KORRootContainer>(iImplementation);
  if (!object)
    object = IfExactly<KORDocument>(iImplementation);
  return object ? object : dynamic_cast<KORModelObject*>(&iImplementation);
}

bool KORModelObject::IsDeadObject(KORBaseUnknown* iObject) {
  KORModelObject* object = From(iObject);
  return object && object->IsDead();
}

KORModelObject* KORStandardModelEvents::Object() {
  if (!_object)
    _object = KORModelObject::From(GetImpl());
  return _object;
}

KORNotificationDispatcher* KORStandardModelEvents::GetDispatcher() {
  KORModelObject* object = Object();
  return object ? &object->Dispatcher() : nullptr;
}

namespace {
// Connections of objects of a document are changes of the document, made and
// recorded by its store; others are made directly. The sender is asked
// through its implementation, which each connection of a loaded document
// looks up once.
void Connect(KORImplementation& iSender, KORModelObject& ioSender, KORBaseUnknown* iReceiver,
             bool iConnect) {
  KORBaseUnknown* identity = iSender.Identity();
  auto linkable = KORQuery<KORILinkableObject>(identity);
  if (KORDocument* document = linkable ? linkable->GetDocument() : nullptr)
    document->Store().Connect(ioSender, identity, iReceiver, iConnect);
  else if (iConnect)
    ioSender.Dispatcher().AddReceiver(iReceiver);
  else
    ioSender.Dispatcher().RemoveReceiver(iReceiver);
}

// The model object of iObject, with its implementation, or null.
KORModelObject* ModelOf(KORBaseUnknown* iObject, KORImplementation*& oImplementation) {
  oImplementation = KORGetImplementation(iObject);
  return oImplementation ? KORModelObject::From(*oImplementation) : nullptr;
}
} // namespace

HRESULT KORStandardModelEvents::Dispatch(KORNotification& ioNotification) {
  KORModelObject* object = Object();
  // A dead object's events go nowhere: it has left the chain.
  if (!object || object->IsDead())
    return E_FAIL;
  object->Dispatcher().Dispatch(ioNotification);
  return S_OK;
}

HRESULT KORStandardModelEvents::ConnectTo(KORBaseUnknown* iChild) {
  KORImplementation* implementation = nullptr;
  KORModelObject* child = ModelOf(iChild, implementation);
  if (!child || child->IsDead())
    return E_FAIL;
  if (!child->Dispatcher().HasReceiver(GetImpl()))
    Connect(*implementation, *child, GetImpl(), /*iConnect=*/true);
  return S_OK;
}

HRESULT KORStandardModelEvents::DeconnectFrom(KORBaseUnknown* iChild) {
  KORImplementation* implementation = nullptr;
  KORModelObject* child = ModelOf(iChild, implementation);
  if (!child)
    return E_FAIL;
  if (child->Dispatcher().HasReceiver(GetImpl()))
    Connect(*implementation, *child, GetImpl(), /*iConnect=*/false);
  return S_OK;
}

HRESULT KORStandardModelEvents::Receive(KORNotification& ioNotification) {
  return Dispatch(ioNotification);
}
