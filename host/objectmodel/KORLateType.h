#pragma once
// Late types: named types with single inheritance ("KORScreenView" is a
// "KORView" is a "KORElement"). Behaviour is attached to late types in the
// extension dictionary; an object answers what its type and every ancestor type
// offer, the nearest type first.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class KORLateType {
public:
  const std::string& Name() const { return _name; }
  const KORLateType* Parent() const { return _parent; }
  bool IsAKindOf(std::string_view iKind) const;

  // The type of that name, declared on first use with no parent.
  static KORLateType* Get(std::string_view iName);
  static const KORLateType* Find(std::string_view iName);
  // Declares iName as deriving from iParent (empty: a root type). Fails when
  // the type already has another parent or when the parent chain would loop.
  static bool Declare(std::string_view iName, std::string_view iParent);

private:
  friend class KORExtensionDictionary;
  explicit KORLateType(std::string iName) : _name(std::move(iName)) {}
  // Removes a type that a failed registration made; nothing may point to it.
  static void Forget(std::string_view iName);
  std::string _name;
  const KORLateType* _parent = nullptr;
  // Resolved (interface id -> extension row, null for none) pairs, kept by
  // the extension dictionary and cleared when registrations change.
  struct Resolution {
    std::uint64_t hash;
    const char* name;
    const void* row;
  };
  mutable std::vector<Resolution> _resolutions;
};
