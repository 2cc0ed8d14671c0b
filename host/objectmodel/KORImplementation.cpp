#include "objectmodel/KORImplementation.h"

#include "objectmodel/KORExtensionDictionary.h"

KORImplementation::KORImplementation(std::string_view iLateType)
    : _lateType(KORLateType::Get(iLateType)) {}

KORImplementation::~KORImplementation() {
  for (auto& [row, extension] : _dataExtensions)
    delete extension;
}

void KORImplementation::ChangeLateType(std::string_view iLateType) {
  _lateType = KORLateType::Get(iLateType);
}

unsigned long KORImplementation::ImplementationRelease() {
  unsigned long count = --_count;
  if (count == 0)
    delete this;
  return count;
}

HRESULT KORImplementation::ImplementationQueryInterface(const KORIID& iIID, void** oObject) {
  if (!oObject)
    return E_INVALIDARG;
  *oObject = nullptr;
  if (iIID == KORBaseUnknown::IID) {
    *oObject = Identity();
  } else if (iIID == ImplementationIID) {
    *oObject = this;
    ImplementationAddRef();
    return S_OK;
  } else if (void* own = CastToOwnInterface(iIID)) {
    *oObject = own;
  } else if (const KORExtensionRow* row = KORExtensionDictionary::Get().Resolve(*_lateType, iIID)) {
    KORExtension* extension = nullptr;
    if (row->kind == KORExtensionKind::Data) {
      extension = DataExtension(*row);
    } else {
      extension = row->create();
      extension->Bind(this, KORExtensionKind::Code);
    }
    *oObject = extension->CastTo(iIID);
    if (!*oObject) {
      if (row->kind == KORExtensionKind::Code)
        delete extension;
      return E_NOINTERFACE;
    }
  } else {
    return E_NOINTERFACE;
  }
  static_cast<KORBaseUnknown*>(*oObject)->AddRef();
  return S_OK;
}

KORExtension* KORImplementation::DataExtension(const KORExtensionRow& iRow) {
  // One data extension per extension class, whichever of its interfaces is asked.
  for (auto& [row, extension] : _dataExtensions)
    if (row == &iRow || std::strcmp(row->extensionName, iRow.extensionName) == 0)
      return extension;
  KORExtension* extension = iRow.create();
  extension->Bind(this, KORExtensionKind::Data);
  _dataExtensions.emplace_back(&iRow, extension);
  return extension;
}

void KORImplementation::DisposeExtensions() {
  // An extension's OnDispose may query the object and make another data
  // extension: iterate by index over a vector that may grow.
  for (std::size_t i = 0; i < _dataExtensions.size(); ++i)
    _dataExtensions[i].second->OnDispose();
}

KORImplementation* KORGetImplementation(KORBaseUnknown* iObject) {
  if (!iObject)
    return nullptr;
  void* result = nullptr;
  if (FAILED(iObject->QueryInterface(KORImplementation::ImplementationIID, &result)) || !result)
    return nullptr;
  auto* implementation = static_cast<KORImplementation*>(result);
  // The caller's own pointer keeps the object alive.
  implementation->ImplementationRelease();
  return implementation;
}
