#pragma once
// The base of every interface: identity, interface navigation and intrusive
// reference counting.
//
// An interface is an abstract class deriving (directly or through another
// interface) from KORBaseUnknown and declaring its id with KOR_INTERFACE.
// Asking any interface of a component for KORBaseUnknown gives the component's
// identity, the same pointer whatever interface was asked; comparing two
// interface pointers relies on that. An out-pointer returned by
// QueryInterface carries one reference that the caller releases.
#include "objectmodel/KORResult.h"

#include <cstdint>
#include <cstring>
#include <string_view>

// An interface id: the interface's name, with a hash made at compile time so
// that ids of different interfaces compare unequal without reading the names.
struct KORIID {
  constexpr KORIID(const char* iName) : name(iName), hash(Hash(iName)) {}
  const char* name;
  std::uint64_t hash;

  friend bool operator==(const KORIID& iA, const KORIID& iB) {
    return iA.hash == iB.hash && (iA.name == iB.name || std::strcmp(iA.name, iB.name) == 0);
  }
  // FNV-1a.
  static constexpr std::uint64_t Hash(const char* iName) {
    std::uint64_t hash = 14695981039346656037ull;
    for (; *iName; ++iName)
      hash = (hash ^ static_cast<unsigned char>(*iName)) * 1099511628211ull;
    return hash;
  }
};

// Declares an interface's id (its name) and the interface it derives from.
#define KOR_INTERFACE(Name, BaseInterface)                                                         \
public:                                                                                            \
  static constexpr KORIID IID{#Name};                                                              \
  using KORBaseInterface = BaseInterface;

class KORBaseUnknown {
public:
  static constexpr KORIID IID{"KORBaseUnknown"};
  using KORBaseInterface = void;

  [[nodiscard]] virtual HRESULT QueryInterface(const KORIID& iIID, void** oObject) = 0;
  virtual unsigned long AddRef() = 0;
  virtual unsigned long Release() = 0;

protected:
  // Objects are destroyed only by Release.
  ~KORBaseUnknown() = default;
};
