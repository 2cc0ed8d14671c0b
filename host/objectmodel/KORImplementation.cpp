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

bool KORImplementation::Answer::Answers(const KORIID& iIID) const {
  return name == iIID.name || (hash == iIID.hash && name && std::strcmp(name, iIID.name) == 0);
}

const KORImplementation::Answer& KORImplementation::KeptAnswer(const KORIID& iIID) {
  const unsigned generation = KORExtensionDictionary::Generation();
  if (_answersGeneration != generation) {
    ForgetAnswers();
    _answersGeneration = generation;
  }
  if (_firstAnswer.Answers(iIID))
    return _firstAnswer;
  // The hash's high bits: its low bits are the last characters' mix.
  Answer* place = _answers ? &_answers[iIID.hash >> 61] : nullptr;
  static_assert(kAnswerPlaces == 8, "the place is the hash's three high bits");
  if (place && place->Answers(iIID))
    return *place;
  const Answer answer = FindAnswer(iIID);
  if (!_firstAnswer.name)
    return _firstAnswer = answer;
  if (!place) {
    _answers = std::make_unique<Answer[]>(kAnswerPlaces);
    place = &_answers[iIID.hash >> 61];
  }
  return *place = answer;
}

KORImplementation::Answer KORImplementation::FindAnswer(const KORIID& iIID) {
  Answer answer{iIID.name, iIID.hash, CastToOwnInterface(iIID), nullptr};
  if (!answer.pointer)
    if (const KORExtensionRow* row = KORExtensionDictionary::Get().Resolve(*_lateType, iIID)) {
      answer.extension = Extension(*row);
      answer.pointer = answer.extension->CastTo(iIID);
    }
  return answer;
}

void KORImplementation::ForgetAnswers() {
  _firstAnswer = {};
  _answers.reset();
}

std::size_t KORImplementation::KeptAnswerCount() const {
  std::size_t count = _firstAnswer.name ? 1 : 0;
  for (std::size_t i = 0; _answers && i < kAnswerPlaces; ++i)
    count += _answers[i].name ? 1 : 0;
  return count;
}

KORExtension* KORImplementation::Extension(const KORExtensionRow& iRow) {
  // One extension per extension class, whichever of its interfaces is asked:
  // rows of one class share its creation function.
  for (const Made* made = _firstMade; made; made = made->next)
    if (made->row == &iRow || made->row->create == iRow.create)
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
  ForgetAnswers();
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
