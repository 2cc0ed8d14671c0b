#include "objectmodel/KORImplementation.h"

#include "objectmodel/KORExtensionDictionary.h"

#include <algorithm>
#include <cstring>

KORImplementation::KORImplementation(std::string_view iLateType)
    : _lateType(KORLateType::Get(iLateType)) {}

KORImplementation::~KORImplementation() {
  // Their room is the arena's, freed with it.
  ForEachExtension(
      [](const KORExtensionRow&, KORExtension& ioExtension) { ioExtension.~KORExtension(); });
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
  for (const Made* made = _firstMade; made; made = made->next)
    if (made->row == &iRow)
      return made->extension;
  for (const Made* made = _firstMade; made; made = made->next)
    if (std::strcmp(made->row->extensionName, iRow.extensionName) == 0)
      return made->extension;
  auto* made = new (_arena.Allocate(sizeof(Made), alignof(Made))) Made{&iRow, nullptr, nullptr};
  made->extension = iRow.create(_arena);
  made->extension->Bind(this);
  *_nextMade = made;
  _nextMade = &made->next;
  return made->extension;
}

std::size_t KORImplementation::DataExtensionCount() const {
  std::size_t count = 0;
  ForEachExtension([&](const KORExtensionRow& iRow, const KORExtension&) {
    count += iRow.kind == KORExtensionKind::Data;
  });
  return count;
}

void KORImplementation::DisposeExtensions() {
  _answers.clear();
  // An extension's OnDispose may query the object and make another
  // extension: it joins the end of the list and is disposed in turn.
  ForEachExtension(
      [](const KORExtensionRow&, KORExtension& ioExtension) { ioExtension.OnDispose(); });
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
