#pragma once
// The extension dictionary: which extension implements which interface on
// which late type. A module hands the host one declarative table (its
// component map) when it is loaded; the dictionary answers queries by walking
// an object's late type and its ancestors, nearest first, and caches what it
// found per type.
#include "objectmodel/KORBaseUnknown.h"
#include "objectmodel/KORExtension.h"

#include <cstddef>
#include <span>
#include <string>

class KORLateType;

struct KORExtensionRow {
  const char* lateType;
  const char* extensionName; // also the key of a data extension on its object
  const KORIID& interfaceId;
  KORExtensionKind kind;
  KORExtension* (*create)();
};

struct KORLateTypeRow {
  const char* type;
  const char* parent; // "" for a root type
};

// A component created by name (not attached to an object).
struct KORComponentRow {
  const char* name;
  KORBaseUnknown* (*create)(); // returns the component with one reference
};

struct KORModuleTable {
  const char* name;
  std::span<const KORLateTypeRow> lateTypes;
  std::span<const KORExtensionRow> extensions;
  std::span<const KORComponentRow> components;
};

class KORExtensionDictionary {
public:
  static KORExtensionDictionary& Get();

  // Registers a module's table. Fails (with oError) on a late type declared
  // with two parents, a (late type, interface) pair given twice, or a second
  // component of one name; nothing of the table is registered then.
  bool Register(const KORModuleTable& iTable, std::string& oError);
  // The row implementing iIID on iType or on its nearest ancestor, or null.
  const KORExtensionRow* Resolve(const KORLateType& iType, const KORIID& iIID);

  // Creates the component registered under iName and asks it for iIID.
  HRESULT CreateInstance(const char* iName, const KORIID& iIID, void** oObject);

  bool IsRegistered(const char* iModuleName) const;
  // Forgets what was resolved (a late type changed its parent).
  void ClearCaches();

private:
  KORExtensionDictionary() = default;
  struct State;
  State& state();
};

// Creates a component by name (KORExtensionDictionary::CreateInstance).
template <class I> KORSmartPtr<I> KORCreateInstance(const char* iName) {
  void* result = nullptr;
  if (FAILED(KORExtensionDictionary::Get().CreateInstance(iName, I::IID, &result)))
    return {};
  return KORSmartPtr<I>::Adopt(static_cast<I*>(result));
}
