#pragma once
// The one smart pointer of the object model (the `_var` style): it holds one
// reference on an interface and releases it when it lets go.
#include "objectmodel/KORBaseUnknown.h"

#include <cstddef>
#include <utility>

template <class I> class KORSmartPtr {
public:
  KORSmartPtr() = default;
  KORSmartPtr(std::nullptr_t) {}
  // Takes a new reference on iPointer.
  explicit KORSmartPtr(I* iPointer) : _pointer(iPointer) {
    if (_pointer)
      _pointer->AddRef();
  }
  KORSmartPtr(const KORSmartPtr& iOther) : KORSmartPtr(iOther._pointer) {}
  KORSmartPtr(KORSmartPtr&& iOther) noexcept : _pointer(std::exchange(iOther._pointer, nullptr)) {}
  template <class J> KORSmartPtr(const KORSmartPtr<J>& iOther) : KORSmartPtr(iOther.get()) {}
  ~KORSmartPtr() { reset(); }

  KORSmartPtr& operator=(KORSmartPtr iOther) noexcept {
    std::swap(_pointer, iOther._pointer);
    return *this;
  }

  // Takes over the reference that an out-pointer already carries.
  static KORSmartPtr Adopt(I* iPointer) {
    KORSmartPtr result;
    result._pointer = iPointer;
    return result;
  }
  // Gives the held reference to the caller (for out-pointers).
  I* Detach() { return std::exchange(_pointer, nullptr); }
  // Releases what is held and gives the address to fill as an out-pointer.
  I** Out() {
    reset();
    return &_pointer;
  }

  void reset() {
    // Clear first, release second: the release may run code that looks at us.
    if (I* old = std::exchange(_pointer, nullptr))
      old->Release();
  }

  I* get() const { return _pointer; }
  I* operator->() const { return _pointer; }
  I& operator*() const { return *_pointer; }
  // Only a pointer that stays alive hands out its raw pointer: converting a
  // temporary would leave the raw pointer dangling once the temporary dies.
  operator I*() const& { return _pointer; }
  operator I*() && = delete;
  // Testing a temporary is safe; both forms are qualified like the
  // conversion above so that a test never picks the deleted conversion.
  explicit operator bool() const& { return _pointer != nullptr; }
  explicit operator bool() && { return _pointer != nullptr; }

private:
  I* _pointer = nullptr;
};

// Asks iObject for interface I; an empty pointer when it does not answer.
template <class I, class From> KORSmartPtr<I> KORQuery(From* iObject) {
  if (!iObject)
    return {};
  void* result = nullptr;
  if (FAILED(iObject->QueryInterface(I::IID, &result)) || !result)
    return {};
  return KORSmartPtr<I>::Adopt(static_cast<I*>(result));
}
template <class I, class From> KORSmartPtr<I> KORQuery(const KORSmartPtr<From>& iObject) {
  return KORQuery<I>(iObject.get());
}

// Fills an out-pointer with a counted reference; fails on a null out-pointer.
template <class I> [[nodiscard]] HRESULT KORReturn(const KORSmartPtr<I>& iValue, I** oValue) {
  if (!oValue)
    return E_FAIL;
  *oValue = iValue.get();
  if (*oValue)
    (*oValue)->AddRef();
  return *oValue ? S_OK : E_FAIL;
}

#define KOR_DECLARE_VAR(Interface) using Interface##_var = KORSmartPtr<Interface>;
KOR_DECLARE_VAR(KORBaseUnknown)
