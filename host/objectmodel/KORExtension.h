#pragma once
// Extensions: the behaviours attached to a late type.
//
// Every extension is made once per object, on the first query that needs it,
// and lives as long as the object; its reference counting is the object's. A
// data extension may keep state. A code extension keeps none of its own
// (a value it derives once from its object, which cannot change, is allowed):
// it is made once only so that following an event through hundreds of objects
// allocates nothing per query.
//
// An extension class derives from KORExtensionOf<Interfaces...>, which answers
// QueryInterface for its interfaces and their base interfaces and forwards
// every other query to the object.
#include "objectmodel/KORSmartPtr.h"

#include <cstddef>
#include <new>
#include <type_traits>

class KORImplementation;
enum class KORExtensionKind { Data, Code };

class KORExtension {
public:
  KORExtension() = default;
  KORExtension(const KORExtension&) = delete;
  KORExtension& operator=(const KORExtension&) = delete;
  virtual ~KORExtension() = default;

  // The identity of the object this extension is attached to.
  KORBaseUnknown* GetImpl() const;
  KORImplementation* GetImplementation() const { return _object; }
  // The object's interface I (null when it does not answer it).
  template <class I> KORSmartPtr<I> QueryImpl() const { return KORQuery<I>(GetImpl()); }

  // Called when the object leaves its document: drop references to other
  // objects so that no reference cycle outlives the document.
  virtual void OnDispose() {}
  // The pointer to interface iIID if this extension implements it.
  virtual void* CastTo(const KORIID& iIID) = 0;

protected:
  [[nodiscard]] HRESULT ExtensionQueryInterface(const KORIID& iIID, void** oObject);
  unsigned long ExtensionAddRef();
  unsigned long ExtensionRelease();

private:
  friend class KORImplementation;
  void Bind(KORImplementation* iObject) { _object = iObject; }
  KORImplementation* _object = nullptr;
};

namespace kor_detail {
template <class Self, class I> void* CastChain(Self* iSelf, const KORIID& iIID) {
  if constexpr (std::is_void_v<I> || std::is_same_v<I, KORBaseUnknown>) {
    return nullptr;
  } else {
    if (iIID == I::IID)
      return static_cast<I*>(iSelf);
    return CastChain<Self, typename I::KORBaseInterface>(iSelf, iIID);
  }
}
} // namespace kor_detail

template <class... Interfaces> class KORExtensionOf : public KORExtension, public Interfaces... {
public:
  [[nodiscard]] HRESULT QueryInterface(const KORIID& iIID, void** oObject) final {
    return ExtensionQueryInterface(iIID, oObject);
  }
  unsigned long AddRef() final { return ExtensionAddRef(); }
  unsigned long Release() final { return ExtensionRelease(); }
  void* CastTo(const KORIID& iIID) override {
    void* result = nullptr;
    ((result = result ? result : kor_detail::CastChain<KORExtensionOf, Interfaces>(this, iIID)),
     ...);
    return result;
  }
};

// The room where the extensions of one object are made. They live exactly as
// long as their object, so they are placed one after another, the first ones
// inside the object itself and any more in blocks freed all together, instead
// of one allocation and one free each. The owner destroys the extensions before
// the arena goes.
class KORExtensionArena {
public:
  KORExtensionArena() = default;
  KORExtensionArena(const KORExtensionArena&) = delete;
  KORExtensionArena& operator=(const KORExtensionArena&) = delete;
  ~KORExtensionArena();

  // Uninitialised room for an object of iSize bytes aligned on iAlignment
  // (at most the alignment of std::max_align_t).
  void* Allocate(std::size_t iSize, std::size_t iAlignment);

private:
  struct Block;
  // Room for the three small extensions, with their records, that most
  // objects of a loaded document are asked for.
  static constexpr std::size_t kInlineBytes = 176;
  alignas(std::max_align_t) std::byte _inline[kInlineBytes];
  std::byte* _free = _inline;
  std::size_t _left = kInlineBytes;
  Block* _blocks = nullptr; // the newest first
};

// Creates an extension of class E in its object's arena (for the tables of the
// extension dictionary).
template <class E> KORExtension* KORMakeExtension(KORExtensionArena& ioArena) {
  static_assert(alignof(E) <= alignof(std::max_align_t));
  return new (ioArena.Allocate(sizeof(E), alignof(E))) E();
}
