#include "objectmodel/KORExtension.h"

#include "objectmodel/KORImplementation.h"

KORBaseUnknown* KORExtension::GetImpl() const {
  return _object ? _object->Identity() : nullptr;
}

HRESULT KORExtension::ExtensionQueryInterface(const KORIID& iIID, void** oObject) {
  if (!oObject)
    return E_INVALIDARG;
  // Another interface of this same extension first, then the object.
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
  return _object->ImplementationAddRef();
}

unsigned long KORExtension::ExtensionRelease() {
  return _object->ImplementationRelease();
}
