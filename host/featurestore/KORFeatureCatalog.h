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
//
// What a value may be is data too, checked when a document is loaded:
// "range": [lowest, highest] (numbers and number lists, both bounds
// included; an enumeration is the range of its values), "count": N (number
// lists: exactly N entries), "target": "T" or ["T", "U"] (links: a linked
// feature's type is a kind of one of these declared types). A default must
// itself fit.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
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
  std::optional<std::array<double, 2>> range; // inclusive
  std::optional<std::size_t> count;
  std::vector<std::string> targets;
};

struct KORFeatureType {
  std::string name;
  std::string parent;
  std::string startup;
  std::string catalog;
  std::vector<KORAttributeDef> attributes; // inherited ones first

  // Index of iKey in attributes, or -1.
  int Find(std::string_view iKey) const { return Find(iKey, 0); }
  // The same, looking from index iFrom on first: a reader going through the
  // attributes in their declared order finds each at once.
  int Find(std::string_view iKey, std::size_t iFrom) const;
  // Whether this type is iType or derives from it through declared parents.
  bool IsAKindOf(std::string_view iType) const;
};

// What is wrong with a plain value against its attribute's range and count:
// the entry at fault for a list (none for the list as a whole or a single
// value) and a readable reason ("99 is outside 0 to 3").
struct KORValueDefect {
  std::optional<std::size_t> entry;
  std::string what;
};
std::optional<KORValueDefect> KORFindNumberDefect(const KORAttributeDef& iDef, double iNumber);
std::optional<KORValueDefect> KORFindListDefect(const KORAttributeDef& iDef,
                                                const std::vector<int>& iNumbers);
std::optional<KORValueDefect> KORFindListDefect(const KORAttributeDef& iDef,
                                                const std::vector<double>& iNumbers);
// The same over any variant of plain values (a catalog default, a stored
// value); strings, links and empty values have no defect here.
template <class Value>
std::optional<KORValueDefect> KORFindValueDefect(const KORAttributeDef& iDef, const Value& iValue) {
  return std::visit(
      [&](const auto& iHeld) -> std::optional<KORValueDefect> {
        using Held = std::decay_t<decltype(iHeld)>;
        if constexpr (std::is_same_v<Held, int> || std::is_same_v<Held, double>)
          return KORFindNumberDefect(iDef, iHeld);
        else if constexpr (std::is_same_v<Held, std::vector<int>> ||
                           std::is_same_v<Held, std::vector<double>>)
          return KORFindListDefect(iDef, iHeld);
        else
          return std::nullopt;
      },
      iValue);
}

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
