#pragma once
// The implementation object of a component (a feature, a container, a
// document). It carries the late type, the reference count and the
// extensions made for it; QueryInterface answers first the interfaces the
// class implements itself, then the extensions that the extension dictionary
// attaches to its late type and to the types that type derives from.
//
// A concrete class derives from KORImplementationOf<Its, Interfaces...>.
#include "objectmodel/KORExtension.h"
#include "objectmodel/KORLateType.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

struct KORExtensionRow;

class KORImplementation {
public:
  // The id under which QueryInterface hands out the implementation object
  // itself (host internals only; see KORGetImplementation).
  static constexpr KORIID ImplementationIID{"KORImplementation"};

  KORImplementation(const KORImplementation&) = delete;
  KORImplementation& operator=(const KORImplementation&) = delete;

  const KORLateType* GetLateType() const { return _lateType; }
  bool IsAKindOf(std::string_view iKind) const { return _lateType->IsAKindOf(iKind); }
  // The identity interface: the same pointer for every interface asked.
  virtual KORBaseUnknown* Identity() = 0;

  [[nodiscard]] HRESULT ImplementationQueryInterface(const KORIID& iIID, void** oObject);
  unsigned long ImplementationAddRef() { return ++_count; }
  unsigned long ImplementationRelease();
  unsigned long ReferenceCount() const { return _count; }

  // Lets the data extensions drop their references to other objects (the
  // object leaves its document), and forgets the answers kept for queries;
  // idempotent.
  void DisposeExtensions();
  // Number of interface answers kept for later queries (for tests).
  std::size_t KeptAnswerCount() const;
  // Number of data extensions made so far (for tests of the object model).
  std::size_t DataExtensionCount() const;

protected:
  explicit KORImplementation(std::string_view iLateType);
  virtual ~KORImplementation();
  // The interfaces implemented by the class itself.
  virtual void* CastToOwnInterface(const KORIID& iIID) = 0;

private:
  // What a query answered, kept for the next query of the same id: an event
  // crossing hundreds of objects asks each the same few interfaces. Own
  // interfaces and extensions do not change while the extension dictionary
  // keeps its generation.
  struct Answer {
    const char* name = nullptr; // of the id asked; null: no answer kept here
    std::uint64_t hash = 0;
    void* pointer = nullptr;             // null: no such interface
    KORExtension* extension = nullptr;   // the extension answering, or null for the object
    // Whether this answers iIID: the name's pointer first; another library's
    // copy of the name has the same hash, and only then are the texts read.
    bool Answers(const KORIID& iIID) const;
  };
  // The first answer is kept in the object itself: most objects an export
  // or a load touches are asked one interface. Further answers go to a small
  // table made on the second id asked, one place per id found from its hash;
  // an id whose place is taken replaces the answer there.
  static constexpr std::size_t kAnswerPlaces = 8;
  [[nodiscard]] HRESULT AnswerQuery(const KORIID& iIID, void** oObject);
  // The answer kept for iIID, found the long way when there is none yet.
  const Answer& KeptAnswer(const KORIID& iIID);
  Answer FindAnswer(const KORIID& iIID);
  void ForgetAnswers();
  // The object's extension of iRow's class, made on first demand.
  KORExtension* Extension(const KORExtensionRow& iRow);
  const KORLateType* _lateType;
  unsigned long _count = 0;
  // The extensions made, in the order they were made; the records live in
  // the arena beside the extensions.
  struct Made {
    const KORExtensionRow* row;
    KORExtension* extension;
    Made* next;
  };
  template <class F> void ForEachExtension(F iDo) const {
    for (const Made* made = _firstMade; made; made = made->next)
      iDo(*made->row, *made->extension);
  }
  Made* _firstMade = nullptr;
  Made** _nextMade = &_firstMade;
  KORExtensionArena _arena;
  Answer _firstAnswer;
  std::unique_ptr<Answer[]> _answers; // kAnswerPlaces, or null
  unsigned _answersGeneration = 0;
};

template <class Self, class... Interfaces>
class KORImplementationOf : public KORImplementation, public Interfaces... {
public:
  [[nodiscard]] HRESULT QueryInterface(const KORIID& iIID, void** oObject) final {
    return ImplementationQueryInterface(iIID, oObject);
  }
  unsigned long AddRef() final { return ImplementationAddRef(); }
  unsigned long Release() final { return ImplementationRelease(); }

  KORBaseUnknown* Identity() final {
    using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    return static_cast<First*>(this);
  }

protected:
  using KORImplementation::KORImplementation;
  void* CastToOwnInterface(const KORIID& iIID) override {
    void* result = nullptr;
    ((result =
          result ? result : kor_detail::CastChain<KORImplementationOf, Interfaces>(this, iIID)),
     ...);
    return result;
  }
};

// The implementation object behind any interface pointer of a host component,
// or null (an extension-only or foreign object). No reference is added.
KORImplementation* KORGetImplementation(KORBaseUnknown* iObject);
template <class T> T* KORGetImplementationAs(KORBaseUnknown* iObject) {
  return dynamic_cast<T*>(KORGetImplementation(iObject));
}
