#pragma once
// Feature catalogs: the feature types a module declares, read from a resource
// file "<name>" (JSON with // comments allowed):
//
//   { "catalog": "Name",
//     "types": [ { "type": "T", "parent": "P", "startup": "S",
//                  "attributes": [ { "key": "K", "value": "integer",
//                                    "default": 0, "aggregating": false } ] } ] }
//
// "parent" is another type of a loaded catalog, or absent for a root type
// (it then derives from "KORFeature"); "startup" is the name of the type's
// prototype, absent for a type without one. Value types: "integer", "double",
// "string", "link", "links", "integers", "doubles". "default" gives the value
// a new feature holds (absent: the attribute has no value until set; links
// never have one). "aggregating" (links only) makes the linked features
// children of the feature. A type holds its parent's attributes first.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

enum class KORAttributeType { Integer, Double, String, Link, Links, Integers, Doubles };

const char* KORAttributeTypeName(KORAttributeType iType);
std::optional<KORAttributeType> KORAttributeTypeFromName(std::string_view iName);
inline bool KORIsLinkType(KORAttributeType iType) {
  return iType == KORAttributeType::Link || iType == KORAttributeType::Links;
}

using KORPlainValue = std::variant<int, double, std::string, std::vector<int>, std::vector<double>>;

struct KORAttributeDef {
  std::string key;
  KORAttributeType type;
  bool aggregating = false;
  std::optional<KORPlainValue> defaultValue;
};

struct KORFeatureType {
  std::string name;
  std::string parent;
  std::string startup;
  std::string catalog;
  std::vector<KORAttributeDef> attributes; // inherited ones first

  // Index of iKey in attributes, or -1.
  int Find(std::string_view iKey) const;
};

class KORFeatureCatalog {
public:
  // Loads catalog iName from the module resources once per process and
  // declares its types. oError names the file and what is wrong.
  static HRESULT Load(const std::string& iName, std::string& oError);
  // Loads a catalog from text (for tests and for documents carrying types).
  static HRESULT LoadText(const std::string& iName, const std::string& iText, std::string& oError);
  static bool IsLoaded(const std::string& iName);
  static const KORFeatureType* FindType(std::string_view iTypeName);
  static const KORFeatureType* FindStartup(const std::string& iCatalog,
                                           std::string_view iStartupName);
};
