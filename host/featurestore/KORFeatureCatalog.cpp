#include "featurestore/KORFeatureCatalog.h"

#include "objectmodel/KORLateType.h"
#include "system/KORResource.h"

#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

namespace {
struct Registry {
  std::map<std::string, std::unique_ptr<KORFeatureType>, std::less<>> types;
  std::set<std::string> catalogs;
};
Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

constexpr const char* kRootFeatureType = "KORFeature";

const char* const kTypeNames[] = {"integer", "double",   "string", "link",
                                  "links",   "integers", "doubles"};

bool ReadDefault(const nlohmann::json& iValue, KORAttributeType iType, KORPlainValue& oValue) {
  switch (iType) {
  case KORAttributeType::Integer:
    if (!iValue.is_number_integer())
      return false;
    oValue = iValue.get<int>();
    return true;
  case KORAttributeType::Double:
    if (!iValue.is_number())
      return false;
    oValue = iValue.get<double>();
    return true;
  case KORAttributeType::String:
    if (!iValue.is_string())
      return false;
    oValue = iValue.get<std::string>();
    return true;
  case KORAttributeType::Integers:
    if (!iValue.is_array())
      return false;
    for (const auto& v : iValue)
      if (!v.is_number_integer())
        return false;
    oValue = iValue.get<std::vector<int>>();
    return true;
  case KORAttributeType::Doubles:
    if (!iValue.is_array())
      return false;
    for (const auto& v : iValue)
      if (!v.is_number())
        return false;
    oValue = iValue.get<std::vector<double>>();
    return true;
  case KORAttributeType::Link:
  case KORAttributeType::Links:
    return false;
  }
  return false;
}

// Checks one catalog completely and gives its types, parents resolved; the
// registry is untouched on error.
bool ParseCatalog(const std::string& iName, const std::string& iText,
                  std::vector<std::unique_ptr<KORFeatureType>>& oTypes, std::string& oError) {
  nlohmann::json document;
  try {
    document = nlohmann::json::parse(iText, nullptr, true, /*ignore_comments=*/true);
  } catch (const nlohmann::json::parse_error& error) {
    oError = iName + ": not valid JSON: " + error.what();
    return false;
  }
  if (!document.is_object() || !document.contains("types") || !document["types"].is_array()) {
    oError = iName + ": expected an object with an array \"types\"";
    return false;
  }
  std::map<std::string, const KORFeatureType*> declared;
  const auto& types = document["types"];
  for (std::size_t t = 0; t < types.size(); ++t) {
    const auto& entry = types[t];
    const std::string where = iName + ": types[" + std::to_string(t) + "]";
    if (!entry.is_object() || !entry.contains("type") || !entry["type"].is_string()) {
      oError = where + ": a type needs a string \"type\"";
      return false;
    }
    auto type = std::make_unique<KORFeatureType>();
    type->name = entry["type"].get<std::string>();
    type->catalog = iName;
    type->parent = entry.value("parent", std::string(kRootFeatureType));
    type->startup = entry.value("startup", std::string());
    if (declared.count(type->name) || KORFeatureCatalog::FindType(type->name)) {
      oError = where + ": type \"" + type->name + "\" is declared twice";
      return false;
    }
    if (type->parent != kRootFeatureType) {
      const KORFeatureType* parent = declared.count(type->parent)
                                         ? declared[type->parent]
                                         : KORFeatureCatalog::FindType(type->parent);
      if (!parent) {
        oError = where + ": parent type \"" + type->parent + "\" is not declared before";
        return false;
      }
      type->attributes = parent->attributes;
    }
    const auto attributes = entry.value("attributes", nlohmann::json::array());
    for (std::size_t a = 0; a < attributes.size(); ++a) {
      const auto& attribute = attributes[a];
      const std::string at = where + ".attributes[" + std::to_string(a) + "]";
      if (!attribute.is_object() || !attribute.contains("key") || !attribute["key"].is_string() ||
          !attribute.contains("value") || !attribute["value"].is_string()) {
        oError = at + ": an attribute needs a string \"key\" and a string \"value\"";
        return false;
      }
      KORAttributeDef def;
      def.key = attribute["key"].get<std::string>();
      auto valueType = KORAttributeTypeFromName(attribute["value"].get<std::string>());
      if (!valueType) {
        oError = at + ": unknown value type \"" + attribute["value"].get<std::string>() + "\"";
        return false;
      }
      def.type = *valueType;
      def.aggregating = attribute.value("aggregating", false);
      if (def.aggregating && !KORIsLinkType(def.type)) {
        oError = at + ": only link attributes aggregate";
        return false;
      }
      if (attribute.contains("default")) {
        KORPlainValue value;
        if (!ReadDefault(attribute["default"], def.type, value)) {
          oError =
              at + ": default does not fit value type \"" + KORAttributeTypeName(def.type) + "\"";
          return false;
        }
        def.defaultValue = std::move(value);
      }
      if (type->Find(def.key) >= 0) {
        oError = at + ": attribute \"" + def.key + "\" is declared twice on \"" + type->name + "\"";
        return false;
      }
      type->attributes.push_back(std::move(def));
    }
    declared[type->name] = type.get();
    oTypes.push_back(std::move(type));
  }
  return true;
}
} // namespace

const char* KORAttributeTypeName(KORAttributeType iType) {
  return kTypeNames[static_cast<int>(iType)];
}

std::optional<KORAttributeType> KORAttributeTypeFromName(std::string_view iName) {
  for (int i = 0; i < 7; ++i)
    if (iName == kTypeNames[i])
      return static_cast<KORAttributeType>(i);
  return std::nullopt;
}

int KORFeatureType::Find(std::string_view iKey) const {
  for (std::size_t i = 0; i < attributes.size(); ++i)
    if (attributes[i].key == iKey)
      return static_cast<int>(i);
  return -1;
}

HRESULT KORFeatureCatalog::LoadText(const std::string& iName, const std::string& iText,
                                    std::string& oError) {
  if (IsLoaded(iName))
    return S_OK;
  std::vector<std::unique_ptr<KORFeatureType>> types;
  if (!ParseCatalog(iName, iText, types, oError))
    return E_FAIL;
  for (const auto& type : types)
    if (!KORLateType::Declare(type->name, type->parent)) {
      oError = iName + ": type \"" + type->name + "\" already derives from another late type";
      return E_FAIL;
    }
  Registry& registry = TheRegistry();
  for (auto& type : types)
    registry.types.emplace(type->name, std::move(type));
  registry.catalogs.insert(iName);
  return S_OK;
}

HRESULT KORFeatureCatalog::Load(const std::string& iName, std::string& oError) {
  if (IsLoaded(iName))
    return S_OK;
  KORUnicodeString path;
  if (FAILED(KORGetImagePathName(iName, path))) {
    oError = "feature catalog " + iName + " not found in the resource folders";
    return E_FAIL;
  }
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  if (!file) {
    oError = "cannot read feature catalog " + path;
    return E_FAIL;
  }
  return LoadText(iName, text.str(), oError);
}

bool KORFeatureCatalog::IsLoaded(const std::string& iName) {
  return TheRegistry().catalogs.count(iName) > 0;
}

const KORFeatureType* KORFeatureCatalog::FindType(std::string_view iTypeName) {
  auto& types = TheRegistry().types;
  auto found = types.find(iTypeName);
  return found == types.end() ? nullptr : found->second.get();
}

const KORFeatureType* KORFeatureCatalog::FindStartup(const std::string& iCatalog,
                                                     std::string_view iStartupName) {
  for (const auto& [name, type] : TheRegistry().types)
    if (type->catalog == iCatalog && type->startup == iStartupName)
      return type.get();
  return nullptr;
}
