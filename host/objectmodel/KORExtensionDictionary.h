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
  const char* extensionName;
  const KORIID& interfaceId;
  KORExtensionKind kind;
  // Also the key of the extension on its object: the rows of one class share
  // it, and the object makes one extension for all of them.
  KORExtension* (*create)(KORExtensionArena& ioArena);
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

// A trace module of a module, as the trace registry lists it.
struct KORTraceModuleRow {
  const char* name;
  const char* description;
  const char* output;
};

// An exported function of the module that decides whether the 3D
// manipulator may drag an object of a late type (and of the types deriving
// from it): KORDragCondition, system/KORModule.h.
struct KORDragConditionRow {
  const char* lateType;
  const char* function;
};

struct KORModuleTable {
  const char* name;
  std::span<const KORLateTypeRow> lateTypes;
  std::span<const KORExtensionRow> extensions;
  std::span<const KORComponentRow> components;
  // Registered by the loader (KORLoadModule) once the rest is registered.
  std::span<const KORTraceModuleRow> traceModules = {};
  // The folder of the module's resources; a relative path is taken from the
  // folder of the module's library file. Null: the module has none.
  const char* resourceFolder = nullptr;
  // Looked up when the module loads: a function that is not exported fails
  // the load.
  std::span<const KORDragConditionRow> dragConditions = {};
};

class KORExtensionDictionary {
public:
  static KORExtensionDictionary& Get();

  // Registers a module's table. Fails (with oError) on a late type declared
  // with two parents, a (late type, interface) pair given twice, or a second
  // component of one name; nothing of the table is registered then, not even
  // the late types declared before the failing row.
  [[nodiscard]] bool Register(const KORModuleTable& iTable, std::string& oError);
  // The row implementing iIID on iType or on its nearest ancestor, or null.
  const KORExtensionRow* Resolve(const KORLateType& iType, const KORIID& iIID);

  // Creates the component registered under iName and asks it for iIID.
  [[nodiscard]] HRESULT CreateInstance(const char* iName, const KORIID& iIID, void** oObject);

  bool IsRegistered(const char* iModuleName) const;
  // Forgets what was resolved (a late type changed its parent).
  void ClearCaches();
  // Changes whenever what a query resolves to may have changed: an interface
  // pointer kept from a query stays what the query would answer as long as
  // the generation it was asked in is the current one.
  // A plain variable, read inline: every delivery of an event checks it.
  static unsigned Generation() { return sGeneration; }

private:
  KORExtensionDictionary() = default;
  // Declares the table's late types, or none of them (oError says which failed).
  bool DeclareLateTypes(std::span<const KORLateTypeRow> iRows, std::string& oError);
  struct State;
  State& state();
  static unsigned sGeneration;
};

// Creates a component by name (KORExtensionDictionary::CreateInstance).
template <class I> KORSmartPtr<I> KORCreateInstance(const char* iName) {
  void* result = nullptr;
  if (FAILED(KORExtensionDictionary::Get().CreateInstance(iName, I::IID, &result)))
    return {};
  return KORSmartPtr<I>::Adopt(static_cast<I*>(result));
}
