#include "featurestore/KORFeatureCatalog.h"

#include "objectmodel/KORLateType.h"
#include "system/KORResource.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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

bool IsNumberType(KORAttributeType iType) {
  return iType == KORAttributeType::Integer || iType == KORAttributeType::Double ||
         iType == KORAttributeType::Integers || iType == KORAttributeType::Doubles;
}

bool IsIntegerType(KORAttributeType iType) {
  return iType == KORAttributeType::Integer || iType == KORAttributeType::Integers;
}

bool ReadRange(const nlohmann::json& iRange, KORAttributeType iType, std::array<double, 2>& oRange) {
  if (!iRange.is_array() || iRange.size() != 2)
    return false;
  for (std::size_t i = 0; i < 2; ++i) {
    const auto& bound = iRange[i];
    if (!bound.is_number() || (IsIntegerType(iType) && !bound.is_number_integer()))
      return false;
    oRange[i] = bound.get<double>();
    if (!std::isfinite(oRange[i]))
      return false;
  }
  return oRange[0] <= oRange[1];
}

bool ReadTargets(const nlohmann::json& iTarget, std::vector<std::string>& oTargets) {
  if (iTarget.is_string()) {
    oTargets.push_back(iTarget.get<std::string>());
    return true;
  }
  if (!iTarget.is_array() || iTarget.empty())
    return false;
  for (const auto& target : iTarget) {
    if (!target.is_string())
      return false;
    oTargets.push_back(target.get<std::string>());
  }
  return true;
}

// What "range", "count" and "target" say, each allowed only where it means something.
bool ReadConstraints(const nlohmann::json& iAttribute, KORAttributeDef& ioDef, std::string& oWhat) {
  const char* type = KORAttributeTypeName(ioDef.type);
  if (iAttribute.contains("range")) {
    std::array<double, 2> range{};
    if (!IsNumberType(ioDef.type) || !ReadRange(iAttribute["range"], ioDef.type, range)) {
      oWhat = std::string("\"range\" must be [lowest, highest], numbers of the value type, on a "
                          "number attribute (this one is \"") +
              type + "\")";
      return false;
    }
    ioDef.range = range;
  }
  if (iAttribute.contains("count")) {
    const auto& count = iAttribute["count"];
    const bool list =
        ioDef.type == KORAttributeType::Integers || ioDef.type == KORAttributeType::Doubles;
    if (!list || !count.is_number_unsigned()) {
      oWhat = std::string("\"count\" must be a number of entries, on a number list (this one is "
                          "\"") +
              type + "\")";
      return false;
    }
    ioDef.count = count.get<std::size_t>();
  }
  if (iAttribute.contains("target") &&
      (!KORIsLinkType(ioDef.type) || !ReadTargets(iAttribute["target"], ioDef.targets))) {
    oWhat = std::string("\"target\" must be a type name or a list of them, on a link (this one "
                        "is \"") +
            type + "\")";
    return false;
  }
  return true;
}

bool ReadAttribute(const nlohmann::json& iAttribute, KORAttributeDef& oDef, std::string& oWhat) {
  if (!iAttribute.is_object() || !iAttribute.contains("key") || !iAttribute["key"].is_string() ||
      !iAttribute.contains("value") || !iAttribute["value"].is_string()) {
    oWhat = "an attribute needs a string \"key\" and a string \"value\"";
    return false;
  }
  oDef.key = iAttribute["key"].get<std::string>();
  auto valueType = KORAttributeTypeFromName(iAttribute["value"].get<std::string>());
  if (!valueType) {
    oWhat = "unknown value type \"" + iAttribute["value"].get<std::string>() + "\"";
    return false;
  }
  oDef.type = *valueType;
  const auto aggregating = iAttribute.find("aggregating");
  if (aggregating != iAttribute.end()) {
    if (!aggregating->is_boolean()) {
      oWhat = "\"aggregating\" must be true or false";
      return false;
    }
    oDef.aggregating = aggregating->get<bool>();
  }
  if (oDef.aggregating && !KORIsLinkType(oDef.type)) {
    oWhat = "only link attributes aggregate";
    return false;
  }
  if (!ReadConstraints(iAttribute, oDef, oWhat))
    return false;
  if (iAttribute.contains("default")) {
    KORPlainValue value;
    if (!ReadDefault(iAttribute["default"], oDef.type, value)) {
      oWhat = std::string("default does not fit value type \"") + KORAttributeTypeName(oDef.type) +
              "\"";
      return false;
    }
    if (auto defect = KORFindValueDefect(oDef, value)) {
      oWhat = "default does not fit: " + defect->what;
      return false;
    }
    oDef.defaultValue = std::move(value);
  }
  return true;
}

// Checks one catalog completely and gives its types, parents resolved; the
// registry is untouched on error.
bool ParseCatalog(const std::string& iName, const std::string& iText,
                  std::vector<std::unique_ptr<KORFeatureType>>& oTypes, std::string& oError) {
  nlohmann::json document;
  try {
    document = nlohmann::json::parse(iText, nullptr, true, /*ignore_comments=*/true);
  } catch (const nlohmann::json::exception& error) {
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
      const std::string at = where + ".attributes[" + std::to_string(a) + "]";
      KORAttributeDef def;
      std::string what;
      if (!ReadAttribute(attributes[a], def, what)) {
        oError = at + ": " + what;
        return false;
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
  // Links may name types declared further down the same catalog.
  for (std::size_t t = 0; t < oTypes.size(); ++t)
    for (const KORAttributeDef& def : oTypes[t]->attributes)
      for (const std::string& target : def.targets)
        if (!declared.count(target) && !KORFeatureCatalog::FindType(target)) {
          oError = iName + ": types[" + std::to_string(t) + "]: attribute \"" + def.key +
                   "\" links to undeclared type \"" + target + "\"";
          return false;
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

namespace {
std::string NumberText(double iNumber) {
  char text[32];
  auto end = std::to_chars(text, text + sizeof text, iNumber).ptr;
  return std::string(text, end);
}

std::optional<std::string> OutOfRange(const KORAttributeDef& iDef, double iNumber) {
  if (!iDef.range || (iNumber >= (*iDef.range)[0] && iNumber <= (*iDef.range)[1]))
    return std::nullopt;
  return NumberText(iNumber) + " is outside " + NumberText((*iDef.range)[0]) + " to " +
         NumberText((*iDef.range)[1]);
}

template <class Number>
std::optional<KORValueDefect> FindListDefect(const KORAttributeDef& iDef,
                                             const std::vector<Number>& iNumbers) {
  if (iDef.count && iNumbers.size() != *iDef.count)
    return KORValueDefect{std::nullopt, "holds " + std::to_string(iNumbers.size()) +
                                            " entries, expected " + std::to_string(*iDef.count)};
  for (std::size_t i = 0; i < iNumbers.size(); ++i)
    if (auto what = OutOfRange(iDef, static_cast<double>(iNumbers[i])))
      return KORValueDefect{i, *what};
  return std::nullopt;
}
} // namespace

std::optional<KORValueDefect> KORFindNumberDefect(const KORAttributeDef& iDef, double iNumber) {
  if (auto what = OutOfRange(iDef, iNumber))
    return KORValueDefect{std::nullopt, *what};
  return std::nullopt;
}

std::optional<KORValueDefect> KORFindListDefect(const KORAttributeDef& iDef,
                                                const std::vector<int>& iNumbers) {
  return FindListDefect(iDef, iNumbers);
}

std::optional<KORValueDefect> KORFindListDefect(const KORAttributeDef& iDef,
                                                const std::vector<double>& iNumbers) {
  return FindListDefect(iDef, iNumbers);
}

int KORFeatureType::Find(std::string_view iKey, std::size_t iFrom) const {
  // Every attribute read by name comes here: the length and the first
  // character set most keys apart before a comparison of the texts.
  const auto matches = [&](const std::string& iDeclared) {
    return iDeclared.size() == iKey.size() &&
           (iDeclared.empty() || (iDeclared.front() == iKey.front() && iDeclared == iKey));
  };
  const std::size_t from = std::min(iFrom, attributes.size());
  for (std::size_t i = from; i < attributes.size(); ++i)
    if (matches(attributes[i].key))
      return static_cast<int>(i);
  for (std::size_t i = 0; i < from; ++i)
    if (matches(attributes[i].key))
      return static_cast<int>(i);
  return -1;
}

bool KORFeatureType::IsAKindOf(std::string_view iType) const {
  for (const KORFeatureType* type = this; type; type = KORFeatureCatalog::FindType(type->parent))
    if (type->name == iType)
      return true;
  return false;
}

HRESULT KORFeatureCatalog::LoadText(const std::string& iName, const std::string& iText,
                                    std::string& oError) {
  if (IsLoaded(iName))
    return S_OK;
  std::vector<std::unique_ptr<KORFeatureType>> types;
  // A value of an unexpected JSON type in a member read with a fallback throws.
  try {
    if (!ParseCatalog(iName, iText, types, oError))
      return E_FAIL;
  } catch (const nlohmann::json::exception& error) {
    oError = iName + ": " + error.what();
    return E_FAIL;
  }
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
