#include "objectmodel/KORLateType.h"

#include "objectmodel/KORExtensionDictionary.h"

#include <map>
#include <memory>

namespace {
// Late types live for the whole process; the map owns them.
std::map<std::string, std::unique_ptr<KORLateType>, std::less<>>& Registry() {
  static std::map<std::string, std::unique_ptr<KORLateType>, std::less<>> registry;
  return registry;
}
} // namespace

bool KORLateType::IsAKindOf(std::string_view iKind) const {
  for (const KORLateType* type = this; type; type = type->_parent)
    if (type->_name == iKind)
      return true;
  return false;
}

KORLateType* KORLateType::Get(std::string_view iName) {
  auto& registry = Registry();
  auto found = registry.find(iName);
  if (found != registry.end())
    return found->second.get();
  auto* type = new KORLateType(std::string(iName));
  registry.emplace(type->_name, std::unique_ptr<KORLateType>(type));
  return type;
}

const KORLateType* KORLateType::Find(std::string_view iName) {
  auto& registry = Registry();
  auto found = registry.find(iName);
  return found == registry.end() ? nullptr : found->second.get();
}

void KORLateType::Forget(std::string_view iName) {
  auto& registry = Registry();
  auto found = registry.find(iName);
  if (found != registry.end())
    registry.erase(found);
}

bool KORLateType::Declare(std::string_view iName, std::string_view iParent) {
  KORLateType* type = Get(iName);
  const KORLateType* parent = iParent.empty() ? nullptr : Get(iParent);
  if (type->_parent == parent)
    return true;
  if (type->_parent)
    return false;
  for (const KORLateType* ancestor = parent; ancestor; ancestor = ancestor->_parent)
    if (ancestor == type)
      return false;
  type->_parent = parent;
  // What was resolved on this type or its descendants no longer holds.
  KORExtensionDictionary::Get().ClearCaches();
  return true;
}
