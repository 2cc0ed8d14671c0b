#pragma once
// Reference counting and interface navigation shared by the objects of the
// host's DOM implementation (internal to host/xml).
//
// Each object implements one interface chain, ending at KORBaseUnknown, so
// the interfaces it answers are Interface and its bases, and asking any of
// them for KORBaseUnknown gives the same pointer.
#include "objectmodel/KORBaseUnknown.h"

#include <type_traits>

template <class Interface> void* KORDOMFindInterface(Interface* iObject, const KORIID& iIID) {
  if (iIID == Interface::IID)
    return iObject;
  if constexpr (std::is_void_v<typename Interface::KORBaseInterface>)
    return nullptr;
  else
    return KORDOMFindInterface<typename Interface::KORBaseInterface>(iObject, iIID);
}

// Starts with no reference: the first smart pointer to take it owns it.
template <class Interface> class KORDOMObject : public Interface {
public:
  HRESULT QueryInterface(const KORIID& iIID, void** oObject) override {
    if (!oObject)
      return E_INVALIDARG;
    *oObject = KORDOMFindInterface<Interface>(this, iIID);
    if (!*oObject)
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  unsigned long AddRef() override { return ++_references; }
  unsigned long Release() override {
    const unsigned long remaining = --_references;
    if (remaining == 0)
      delete this;
    return remaining;
  }

protected:
  KORDOMObject() = default;
  KORDOMObject(const KORDOMObject&) = delete;
  KORDOMObject& operator=(const KORDOMObject&) = delete;
  virtual ~KORDOMObject() = default;

private:
  unsigned long _references = 0;
};
