#include "objectmodel/KORExtensionDictionary.h"

#include "objectmodel/KORLateType.h"

#include <cstring>
#include <map>
#include <set>
#include <vector>

struct KORExtensionDictionary::State {
  // (late type, interface name) -> row
  std::map<std::pair<std::string, std::string>, const KORExtensionRow*> rows;
  std::map<std::string, const KORComponentRow*> components;
  std::set<std::string> modules;
  std::vector<const KORLateType*> cachedTypes;
};

unsigned KORExtensionDictionary::sGeneration = 1;

KORExtensionDictionary& KORExtensionDictionary::Get() {
  static KORExtensionDictionary dictionary;
  return dictionary;
}

KORExtensionDictionary::State& KORExtensionDictionary::state() {
  static State state;
  return state;
}

bool KORExtensionDictionary::Register(const KORModuleTable& iTable, std::string& oError) {
  State& s = state();
  for (const KORLateTypeRow& row : iTable.lateTypes) {
    const KORLateType* existing = KORLateType::Find(row.type);
    const KORLateType* parent = existing ? existing->Parent() : nullptr;
    if (parent && parent->Name() != row.parent) {
      oError = std::string("late type \"") + row.type + "\" already derives from \"" +
               parent->Name() + "\", not \"" + row.parent + "\"";
      return false;
    }
  }
  std::set<std::pair<std::string, std::string>> seen;
  for (const KORExtensionRow& row : iTable.extensions) {
    std::pair<std::string, std::string> key{row.lateType, row.interfaceId.name};
    if (s.rows.count(key) || !seen.insert(key).second) {
      oError = std::string("interface ") + row.interfaceId.name + " on late type \"" +
               row.lateType + "\" is given twice (extension " + row.extensionName + ")";
      return false;
    }
  }
  for (const KORComponentRow& row : iTable.components)
    if (s.components.count(row.name)) {
      oError = std::string("component \"") + row.name + "\" is registered twice";
      return false;
    }

  if (!DeclareLateTypes(iTable.lateTypes, oError))
    return false;
  for (const KORExtensionRow& row : iTable.extensions)
    s.rows[{row.lateType, row.interfaceId.name}] = &row;
  for (const KORComponentRow& row : iTable.components)
    s.components[row.name] = &row;
  s.modules.insert(iTable.name);
  ClearCaches();
  return true;
}

bool KORExtensionDictionary::DeclareLateTypes(std::span<const KORLateTypeRow> iRows,
                                              std::string& oError) {
  // What this table changed, to be undone when a later row fails: the types
  // it made and the types it gave a parent.
  std::vector<std::string> made;
  std::vector<KORLateType*> parented;
  auto remember = [&](std::string_view iName) {
    if (!iName.empty() && !KORLateType::Find(iName))
      made.emplace_back(iName);
  };
  for (const KORLateTypeRow& row : iRows) {
    remember(row.type);
    remember(row.parent);
    KORLateType* type = KORLateType::Get(row.type);
    const bool hadParent = type->Parent() != nullptr;
    if (!KORLateType::Declare(row.type, row.parent)) {
      oError =
          std::string("late type \"") + row.type + "\" cannot derive from \"" + row.parent + "\"";
      for (KORLateType* changed : parented)
        changed->_parent = nullptr;
      ClearCaches();
      for (const std::string& name : made)
        KORLateType::Forget(name);
      return false;
    }
    if (!hadParent && type->Parent())
      parented.push_back(type);
  }
  return true;
}

void KORExtensionDictionary::ClearCaches() {
  ++sGeneration;
  for (const KORLateType* type : state().cachedTypes)
    type->_resolutions.clear();
  state().cachedTypes.clear();
}

const KORExtensionRow* KORExtensionDictionary::Resolve(const KORLateType& iType,
                                                       const KORIID& iIID) {
  auto& cache = iType._resolutions;
  // Each library has its own copy of an interface's name: the names are
  // compared by pointer first, and a copy found equal by its text is cached
  // too, so that the text is compared once per library, not per query.
  for (const auto& resolution : cache)
    if (resolution.name == iIID.name)
      return static_cast<const KORExtensionRow*>(resolution.row);
  for (const auto& resolution : cache)
    if (resolution.hash == iIID.hash && std::strcmp(resolution.name, iIID.name) == 0) {
      const void* row = resolution.row;
      cache.push_back({iIID.hash, iIID.name, row});
      return static_cast<const KORExtensionRow*>(row);
    }
  if (cache.empty())
    state().cachedTypes.push_back(&iType);
  const KORExtensionRow* found = nullptr;
  const State& s = state();
  for (const KORLateType* type = &iType; type && !found; type = type->Parent()) {
    auto row = s.rows.find({type->Name(), iIID.name});
    if (row != s.rows.end())
      found = row->second;
  }
  cache.push_back({iIID.hash, iIID.name, found});
  return found;
}

HRESULT KORExtensionDictionary::CreateInstance(const char* iName, const KORIID& iIID,
                                               void** oObject) {
  if (!oObject)
    return E_INVALIDARG;
  *oObject = nullptr;
  auto found = state().components.find(iName ? iName : "");
  if (found == state().components.end())
    return E_FAIL;
  KORBaseUnknown* component = found->second->create();
  if (!component)
    return E_FAIL;
  HRESULT result = component->QueryInterface(iIID, oObject);
  component->Release();
  return result;
}

bool KORExtensionDictionary::IsRegistered(const char* iModuleName) const {
  return const_cast<KORExtensionDictionary*>(this)->state().modules.count(iModuleName) > 0;
}
