#include "objectmodel/KORImplementation.h"

#include "objectmodel/KORExtensionDictionary.h"

#include <algorithm>
#include <cstring>

KORImplementation::KORImplementation(std::string_view iLateType)
    : _lateType(KORLateType::Get(iLateType)) {}

KORImplementation::~KORImplementation() {
  for (auto& [row, extension] : _extensions)
    delete extension;
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
  // The reference is added on the object or extension that answers, never
  // through the untyped result: an interface need not start with its
  // KORBaseUnknown part.
  if (iIID == KORBaseUnknown::IID) {
    *oObject = Identity();
  } else if (iIID == ImplementationIID) {
    *oObject = this;
  } else {
    return AnswerQuery(iIID, oObject);
  }
  ImplementationAddRef();
  return S_OK;
}

HRESULT KORImplementation::AnswerQuery(const KORIID& iIID, void** oObject) {
  const Answer& answer = KeptAnswer(iIID);
  if (!answer.pointer)
    return E_NOINTERFACE;
  *oObject = answer.pointer;
  if (answer.extension)
    answer.extension->ExtensionAddRef();
  else
    ImplementationAddRef();
  return S_OK;
}

const KORImplementation::Answer& KORImplementation::KeptAnswer(const KORIID& iIID) {
  const unsigned generation = KORExtensionDictionary::Get().Generation();
  if (_answersGeneration != generation) {
    _answers.clear();
    _answersGeneration = generation;
  }
  // Compared as ids (hash first), not by the name's pointer: the host and a
  // module each have their own copy of an id's name, and both ask the same
  // objects (an export's first queries, an event's receivers).
  for (const Answer& answer : _answers)
    if (answer.id == iIID)
      return answer;
  Answer answer{iIID, CastToOwnInterface(iIID), nullptr};
  if (!answer.pointer)
    if (const KORExtensionRow* row = KORExtensionDictionary::Get().Resolve(*_lateType, iIID)) {
      answer.extension = Extension(*row);
      answer.pointer = answer.extension->CastTo(iIID);
    }
  // Most objects are asked a handful of interfaces: room for them at once
  // spares the regrowth steps on every object a load or an export touches.
  if (_answers.empty())
    _answers.reserve(8);
  return _answers.emplace_back(answer);
}

KORExtension* KORImplementation::Extension(const KORExtensionRow& iRow) {
  // One extension per extension class, whichever of its interfaces is asked:
  // the row itself is looked for first, the class's name only then.
  for (auto& [row, extension] : _extensions)
    if (row == &iRow)
      return extension;
  for (auto& [row, extension] : _extensions)
    if (std::strcmp(row->extensionName, iRow.extensionName) == 0)
      return extension;
  KORExtension* extension = iRow.create();
  extension->Bind(this);
  _extensions.emplace_back(&iRow, extension);
  return extension;
}

std::size_t KORImplementation::DataExtensionCount() const {
  return static_cast<std::size_t>(
      std::count_if(_extensions.begin(), _extensions.end(),
                    [](const auto& iMade) { return iMade.first->kind == KORExtensionKind::Data; }));
}

void KORImplementation::DisposeExtensions() {
  _answers.clear();
  // An extension's OnDispose may query the object and make another
  // extension: iterate by index over a vector that may grow.
  for (std::size_t i = 0; i < _extensions.size(); ++i)
    _extensions[i].second->OnDispose();
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
