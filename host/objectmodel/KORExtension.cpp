#include "objectmodel/KORExtension.h"

#include "objectmodel/KORImplementation.h"

KORBaseUnknown* KORExtension::GetImpl() const {
  return _object ? _object->Identity() : nullptr;
}

void KORExtension::Bind(KORImplementation* iObject, KORExtensionKind iKind) {
  _object = iObject;
  _kind = iKind;
  if (_kind == KORExtensionKind::Code)
    _object->ImplementationAddRef();
}

HRESULT KORExtension::ExtensionQueryInterface(const KORIID& iIID, void** oObject) {
  if (!oObject)
    return E_INVALIDARG;
  // Another interface of this same binding first (a code extension asked for
  // its own second interface stays one binding), then the object.
  if (!(iIID == KORBaseUnknown::IID)) {
    if (void* own = CastTo(iIID)) {
      *oObject = own;
      ExtensionAddRef();
      return S_OK;
    }
  }
  return _object->ImplementationQueryInterface(iIID, oObject);
}

unsigned long KORExtension::ExtensionAddRef() {
  if (_kind == KORExtensionKind::Data)
    return _object->ImplementationAddRef();
  return ++_count;
}

unsigned long KORExtension::ExtensionRelease() {
  if (_kind == KORExtensionKind::Data)
    return _object->ImplementationRelease();
  unsigned long count = --_count;
  if (count == 0) {
    KORImplementation* object = _object;
    delete this;
    object->ImplementationRelease();
  }
  return count;
}
