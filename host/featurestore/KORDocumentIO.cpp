#include "featurestore/KORDocumentIO.h"

#include "featurestore/KORJsonTree.h"
#include "system/KORAtomicFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <system_error>
#include <type_traits>
#include <unordered_map>
#include <unistd.h>

namespace {
// Insertion-ordered, so that members come out in the order they are written.
using Json = nlohmann::ordered_json;

std::string ErrorText(int iError) {
  return iError ? std::error_code(iError, std::generic_category()).message() : "unknown failure";
}

std::string Member(const std::string& iWhere, const std::string& iName) {
  return iWhere.empty() ? iName : iWhere + "." + iName;
}

std::string Entry(const std::string& iWhere, std::size_t iIndex) {
  return iWhere + "[" + std::to_string(iIndex) + "]";
}

// ---------------------------------------------------------------- saving

class DocumentWriter {
public:
  bool Write(KORDocument& iDocument, Json& oDocument) {
    oDocument = Json::object();
    oDocument["format"] = KORDocumentFormat;
    Json containers = Json::array();
    const auto& all = iDocument.GetCompoundContainer()->Containers();
    for (std::size_t c = 0; c < all.size(); ++c) {
      Json container;
      if (!WriteContainer(*all[c], Entry("containers", c), container))
        return false;
      containers.push_back(std::move(container));
    }
    oDocument["containers"] = std::move(containers);
    return true;
  }
  const std::string& Error() const { return _error; }

private:
  bool Fail(const std::string& iWhere, const std::string& iWhat) {
    _error = iWhere + ": " + iWhat;
    return false;
  }

  bool WriteContainer(KORFeatureContainer& iContainer, const std::string& iWhere, Json& oJson) {
    KORString userId;
    iContainer.GetUserId(userId);
    oJson["type"] = iContainer.GetLateType()->Name();
    oJson["superType"] = iContainer.SuperType();
    oJson["userId"] = userId;
    oJson["nativeFormat"] = iContainer.GetNativeFormat();
    oJson["catalogs"] = iContainer.Catalogs().Values();
    oJson["flags"] = ProjectFlags(iContainer).Values();
    Json features = Json::array();
    std::size_t index = 0;
    for (const auto& feature : iContainer.Features()) {
      if (!IsWritten(*feature))
        continue;
      Json json;
      if (!WriteFeature(*feature, Entry(Member(iWhere, "features"), index++), json))
        return false;
      features.push_back(std::move(json));
    }
    oJson["features"] = std::move(features);
    return true;
  }

  // Dead features, and those pending removal in an open transaction (taken
  // out of their father), are not part of the document.
  static bool IsWritten(const KORFeature& iFeature) {
    return !iFeature.IsDead() &&
           !iFeature.Container()->GetDocument()->Store().IsPendingRemoval(iFeature);
  }

  // The module owning the container type decides what is stored; without it
  // the flags read with the document are kept.
  static KORListValKORUnicodeString ProjectFlags(KORFeatureContainer& iContainer) {
    KORListValKORUnicodeString flags;
    if (auto projectFlag = KORQuery<KORIProjectFlag>(iContainer.Identity())) {
      std::unique_ptr<KORListValKORUnicodeString> written(projectFlag->GetFlagOnWriteEvent());
      if (written)
        flags = *written;
    } else {
      iContainer.GetStoredFlags(flags);
    }
    return flags;
  }

  bool WriteFeature(const KORFeature& iFeature, const std::string& iWhere, Json& oJson) {
    oJson["uuid"] = iFeature.Uuid().ToText();
    oJson["type"] = iFeature.Type().name;
    oJson["name"] = iFeature.Name();
    Json attributes = Json::object();
    const auto& defs = iFeature.Type().attributes;
    for (std::size_t i = 0; i < defs.size(); ++i) {
      std::optional<Json> value;
      if (!WriteValue(iFeature, i, Member(Member(iWhere, "attributes"), defs[i].key), value))
        return false;
      if (value)
        attributes[defs[i].key] = std::move(*value);
    }
    oJson["attributes"] = std::move(attributes);
    return true;
  }

  // oValue stays empty for an attribute without value.
  bool WriteValue(const KORFeature& iFeature, std::size_t iIndex, const std::string& iWhere,
                  std::optional<Json>& oValue) {
    const KORFeature::Value& value = iFeature.Values()[iIndex];
    if (const auto* links = std::get_if<KORFeature::Links>(&value))
      return WriteLinks(iFeature, *links, iFeature.Type().attributes[iIndex].type, iWhere, oValue);
    // JSON has no infinity nor NaN: refuse rather than write a file that
    // does not load back.
    if (!AllFinite(value))
      return Fail(iWhere, "holds a number that is not finite, which a document cannot store");
    std::visit(
        [&](const auto& plain) {
          using Plain = std::decay_t<decltype(plain)>;
          if constexpr (!std::is_same_v<Plain, std::monostate> &&
                        !std::is_same_v<Plain, KORFeature::Links>)
            oValue = plain;
        },
        value);
    return true;
  }

  static bool AllFinite(const KORFeature::Value& iValue) {
    if (const auto* number = std::get_if<double>(&iValue))
      return std::isfinite(*number);
    if (const auto* numbers = std::get_if<std::vector<double>>(&iValue))
      return std::all_of(numbers->begin(), numbers->end(),
                         [](double iNumber) { return std::isfinite(iNumber); });
    return true;
  }

  bool WriteLinks(const KORFeature& iFeature, const KORFeature::Links& iLinks,
                  KORAttributeType iType, const std::string& iWhere, std::optional<Json>& oValue) {
    Json entries = Json::array();
    for (std::size_t i = 0; i < iLinks.size(); ++i) {
      const KORFeature* target = iLinks[i].get();
      if (!target || !IsWritten(*target)) {
        entries.push_back(nullptr);
        continue;
      }
      // Links are restored within one container: a link elsewhere cannot be.
      if (target->Container() != iFeature.Container())
        return Fail(iType == KORAttributeType::Links ? Entry(iWhere, i) : iWhere,
                    "links to feature " + target->Uuid().ToText() +
                        " of another container, which a document cannot store");
      entries.push_back(target->Uuid().ToText());
    }
    if (iType == KORAttributeType::Links)
      oValue = std::move(entries);
    else if (!entries.empty() && !entries.front().is_null())
      oValue = std::move(entries.front());
    return true;
  }

  std::string _error;
};

// ---------------------------------------------------------------- loading

constexpr std::size_t kNoFeature = SIZE_MAX;

// A place in the file, spelled out only for a refusal
// ("containers[0].features[3].attributes.PixelWidth"): a load of thousands
// of values builds no text for any of them. A place refers to its parent,
// which must outlive it.
class Where {
public:
  Where() = default;
  Where Member(std::string_view iName) const { return Where(this, iName, kNoEntry); }
  Where Entry(std::size_t iIndex) const { return Where(this, {}, iIndex); }
  std::string Text() const {
    if (!_parent)
      return std::string(_name);
    std::string text = _parent->Text();
    if (_entry != kNoEntry)
      return text + "[" + std::to_string(_entry) + "]";
    return text.empty() ? std::string(_name) : text + "." + std::string(_name);
  }

private:
  static constexpr std::size_t kNoEntry = SIZE_MAX;
  Where(const Where* iParent, std::string_view iName, std::size_t iEntry)
      : _parent(iParent), _name(iName), _entry(iEntry) {}
  const Where* _parent = nullptr;
  std::string_view _name;
  std::size_t _entry = kNoEntry;
};

// What a file asks to build, checked completely before anything is built.
struct PlannedValue {
  std::size_t attribute = 0;
  KORFeature::Value plain;        // plain attributes
  std::vector<std::size_t> links; // link attributes: feature positions or kNoFeature
};

struct PlannedFeature {
  KORUuid uuid;
  const KORFeatureType* type = nullptr;
  std::string name;
  const KORJsonNode* attributes = nullptr;
  std::vector<PlannedValue> values;
};

struct PlannedContainer {
  std::string type;
  std::string superType;
  std::string userId;
  std::string nativeFormat;
  std::vector<std::string> catalogs;
  std::vector<std::string> flags;
  std::vector<PlannedFeature> features;
};

// Feature positions in their container by UUID.
struct UuidHash {
  std::size_t operator()(const std::array<std::uint32_t, 4>& iWords) const {
    // Generated identifiers are random: their first and last words hash well.
    return (static_cast<std::size_t>(iWords[0]) << 32) ^ iWords[3];
  }
};
using Positions = std::unordered_map<std::array<std::uint32_t, 4>, std::size_t, UuidHash>;

const char* Expected(KORJsonKind iKind) {
  switch (iKind) {
  case KORJsonKind::Object:
    return "an object";
  case KORJsonKind::Array:
    return "an array";
  default:
    return "a string";
  }
}

bool IsInteger(const KORJsonNode& iValue) {
  if (iValue.kind == KORJsonKind::Unsigned)
    return iValue.unsignedNumber <= static_cast<std::uint64_t>(INT_MAX);
  return iValue.kind == KORJsonKind::Signed && iValue.signedNumber >= INT_MIN &&
         iValue.signedNumber <= INT_MAX;
}

int IntegerOf(const KORJsonNode& iValue) {
  return iValue.kind == KORJsonKind::Unsigned ? static_cast<int>(iValue.unsignedNumber)
                                              : static_cast<int>(iValue.signedNumber);
}

bool IsFiniteNumber(const KORJsonNode& iValue) {
  return iValue.IsNumber() && std::isfinite(iValue.Number());
}

// Whether AddContainer will accept this pair of late types, without declaring
// anything yet (a refused file must leave the late types as they were).
bool CanDeriveContainer(const std::string& iType, const std::string& iSuperType) {
  if (iType.empty() || iType == iSuperType)
    return false;
  const KORLateType* type = KORLateType::Find(iType);
  if (!type)
    return true;
  if (type->Parent())
    return type->Parent()->Name() == iSuperType;
  const KORLateType* super = iSuperType.empty() ? nullptr : KORLateType::Find(iSuperType);
  return !super || !super->IsAKindOf(iType);
}

class DocumentReader {
public:
  bool Read(const KORJsonNode& iDocument, std::vector<PlannedContainer>& oPlan) {
    const Where document;
    if (iDocument.kind != KORJsonKind::Object)
      return Fail("(document)", std::string("expected an object, found ") + iDocument.TypeName());
    const KORJsonNode* format = Find(iDocument, "format", KORJsonKind::String, document);
    if (!format)
      return false;
    if (format->text != KORDocumentFormat)
      return Fail("format", "expected \"" + std::string(KORDocumentFormat) + "\", found \"" +
                                std::string(format->text) + "\"");
    const KORJsonNode* containers = Find(iDocument, "containers", KORJsonKind::Array, document);
    if (!containers)
      return false;
    const Where containersWhere = document.Member("containers");
    oPlan.resize(containers->count);
    for (std::size_t c = 0; c < containers->count; ++c)
      if (!ReadContainer((*containers)[c], containersWhere.Entry(c), oPlan[c]))
        return false;
    return true;
  }
  const std::string& Error() const { return _error; }

private:
  bool Fail(const std::string& iWhere, const std::string& iWhat) {
    _error = iWhere + ": " + iWhat;
    return false;
  }
  bool Fail(const Where& iWhere, const std::string& iWhat) { return Fail(iWhere.Text(), iWhat); }

  // Member iName of iObject if it is there with kind iKind (null, and the
  // error set, otherwise).
  const KORJsonNode* Find(const KORJsonNode& iObject, const char* iName, KORJsonKind iKind,
                          const Where& iWhere) {
    const KORJsonNode* found = iObject.Find(iName);
    if (!found) {
      Fail(iWhere.Member(iName), "missing");
      return nullptr;
    }
    if (found->kind != iKind) {
      Fail(iWhere.Member(iName),
           std::string("expected ") + Expected(iKind) + ", found " + found->TypeName());
      return nullptr;
    }
    return found;
  }

  bool FindString(const KORJsonNode& iObject, const char* iName, const Where& iWhere,
                  std::string& oValue) {
    const KORJsonNode* value = Find(iObject, iName, KORJsonKind::String, iWhere);
    if (value)
      oValue = value->text;
    return value != nullptr;
  }

  bool FindStrings(const KORJsonNode& iObject, const char* iName, const Where& iWhere,
                   std::vector<std::string>& oValues) {
    const KORJsonNode* array = Find(iObject, iName, KORJsonKind::Array, iWhere);
    if (!array)
      return false;
    for (std::size_t i = 0; i < array->count; ++i) {
      if ((*array)[i].kind != KORJsonKind::String)
        return Fail(iWhere.Member(iName).Entry(i),
                    std::string("expected a string, found ") + (*array)[i].TypeName());
      oValues.emplace_back((*array)[i].text);
    }
    return true;
  }

  bool ReadContainer(const KORJsonNode& iJson, const Where& iWhere, PlannedContainer& oContainer) {
    if (iJson.kind != KORJsonKind::Object)
      return Fail(iWhere, std::string("expected an object, found ") + iJson.TypeName());
    if (!FindString(iJson, "type", iWhere, oContainer.type) ||
        !FindString(iJson, "superType", iWhere, oContainer.superType) ||
        !FindString(iJson, "userId", iWhere, oContainer.userId) ||
        !FindString(iJson, "nativeFormat", iWhere, oContainer.nativeFormat) ||
        !FindStrings(iJson, "catalogs", iWhere, oContainer.catalogs) ||
        !FindStrings(iJson, "flags", iWhere, oContainer.flags))
      return false;
    if (!CanDeriveContainer(oContainer.type, oContainer.superType))
      return Fail(iWhere.Member("superType"), "container type \"" + oContainer.type +
                                                  "\" cannot derive from \"" +
                                                  oContainer.superType + "\"");
    for (std::size_t i = 0; i < oContainer.catalogs.size(); ++i) {
      std::string error;
      if (FAILED(KORFeatureCatalog::Load(oContainer.catalogs[i], error)))
        return Fail(iWhere.Member("catalogs").Entry(i),
                    "cannot open catalog \"" + oContainer.catalogs[i] + "\": " + error);
    }
    const KORJsonNode* features = Find(iJson, "features", KORJsonKind::Array, iWhere);
    if (!features)
      return false;
    // Heads first: links may point to features further down.
    const Where featuresWhere = iWhere.Member("features");
    oContainer.features.resize(features->count);
    Positions positions;
    positions.reserve(features->count);
    for (std::size_t f = 0; f < features->count; ++f)
      if (!ReadFeatureHead((*features)[f], featuresWhere.Entry(f), f, oContainer, positions))
        return false;
    _fathers.assign(features->count, {});
    _features = &featuresWhere;
    for (std::size_t f = 0; f < features->count; ++f)
      if (!ReadAttributes(featuresWhere.Entry(f), f, oContainer, positions))
        return false;
    return CheckNoAggregationCycle(oContainer, featuresWhere);
  }

  bool ReadFeatureHead(const KORJsonNode& iJson, const Where& iWhere, std::size_t iPosition,
                       PlannedContainer& ioContainer, Positions& ioPositions) {
    PlannedFeature& feature = ioContainer.features[iPosition];
    if (iJson.kind != KORJsonKind::Object)
      return Fail(iWhere, std::string("expected an object, found ") + iJson.TypeName());
    // The identifier and the type are only looked at: read in place.
    const KORJsonNode* uuidJson = Find(iJson, "uuid", KORJsonKind::String, iWhere);
    if (!uuidJson)
      return false;
    const KORJsonNode* typeJson = Find(iJson, "type", KORJsonKind::String, iWhere);
    if (!typeJson || !FindString(iJson, "name", iWhere, feature.name))
      return false;
    const std::string_view uuid = uuidJson->text, type = typeJson->text;
    feature.attributes = Find(iJson, "attributes", KORJsonKind::Object, iWhere);
    if (!feature.attributes)
      return false;
    if (!KORUuid::FromText(uuid, feature.uuid))
      return Fail(iWhere.Member("uuid"), "malformed UUID \"" + std::string(uuid) + "\"");
    if (!ioPositions.emplace(feature.uuid.words, iPosition).second)
      return Fail(iWhere.Member("uuid"),
                  "UUID " + std::string(uuid) + " is used twice in this container");
    feature.type = KORFeatureCatalog::FindType(type);
    if (!feature.type)
      return Fail(iWhere.Member("type"), "unknown feature type \"" + std::string(type) +
                                             "\" (not in the container's catalogs)");
    const auto& catalogs = ioContainer.catalogs;
    if (std::find(catalogs.begin(), catalogs.end(), feature.type->catalog) == catalogs.end())
      return Fail(iWhere.Member("type"), "feature type \"" + std::string(type) +
                                             "\" belongs to catalog \"" +
                                             feature.type->catalog +
                                             "\", which the container does not open");
    return true;
  }

  bool ReadAttributes(const Where& iFeatureWhere, std::size_t iFeature,
                      PlannedContainer& ioContainer, const Positions& iPositions) {
    PlannedFeature& feature = ioContainer.features[iFeature];
    const Where where = iFeatureWhere.Member("attributes");
    feature.values.reserve(feature.attributes->count);
    // A saved document lists the attributes in their declared order.
    std::size_t next = 0;
    for (const KORJsonNode& json : *feature.attributes) {
      const std::string_view key = json.key;
      const Where at = where.Member(key);
      int index = feature.type->Find(key, next);
      if (index < 0)
        return Fail(at, "feature type \"" + feature.type->name + "\" has no attribute \"" +
                            std::string(key) + "\"");
      PlannedValue value;
      value.attribute = static_cast<std::size_t>(index);
      next = value.attribute + 1;
      const KORAttributeDef& def = feature.type->attributes[value.attribute];
      if (!ReadValue(json, def, at, iPositions, value) ||
          !CheckValue(def, at, ioContainer, value)) {
        _error += " (attribute \"" + std::string(key) + "\" of " + Describe(feature) + ")";
        return false;
      }
      if (def.aggregating && !RecordAggregation(ioContainer, iFeature, value, at))
        return false;
      feature.values.push_back(std::move(value));
    }
    return true;
  }

  // "Camera \"Front\" 1_0_0_5": the feature's type, its name (the module's
  // "Name" attribute when the store's own name is empty) and its UUID.
  static std::string Describe(const PlannedFeature& iFeature) {
    std::string name = iFeature.name;
    const KORJsonNode* named = iFeature.attributes->Find("Name");
    if (name.empty() && named && named->kind == KORJsonKind::String)
      name = named->text;
    return iFeature.type->name + " \"" + name + "\" " + iFeature.uuid.ToText();
  }

  // What the catalog allows beyond the value type: ranges and counts of
  // numbers, the types that links reach.
  bool CheckValue(const KORAttributeDef& iDef, const Where& iWhere,
                  const PlannedContainer& iContainer, const PlannedValue& iValue) {
    if (!KORIsLinkType(iDef.type)) {
      auto defect = KORFindValueDefect(iDef, iValue.plain);
      return !defect || Fail(defect->entry ? iWhere.Entry(*defect->entry) : iWhere, defect->what);
    }
    if (iDef.targets.empty())
      return true;
    for (std::size_t i = 0; i < iValue.links.size(); ++i) {
      if (iValue.links[i] == kNoFeature)
        continue;
      const PlannedFeature& target = iContainer.features[iValue.links[i]];
      const auto fits = [&](const std::string& iType) { return target.type->IsAKindOf(iType); };
      if (std::none_of(iDef.targets.begin(), iDef.targets.end(), fits))
        return Fail(iDef.type == KORAttributeType::Links ? iWhere.Entry(i) : iWhere,
                    "links to " + Describe(target) + ", which is not a kind of " +
                        TypeList(iDef.targets));
    }
    return true;
  }

  static std::string TypeList(const std::vector<std::string>& iTypes) {
    std::string text;
    for (std::size_t i = 0; i < iTypes.size(); ++i)
      text += (i == 0 ? "" : i + 1 == iTypes.size() ? " or " : ", ") + iTypes[i];
    return text;
  }

  bool ReadValue(const KORJsonNode& iJson, const KORAttributeDef& iDef, const Where& iWhere,
                 const Positions& iPositions, PlannedValue& oValue) {
    auto wrongType = [&](const Where& iWhereExactly, const KORJsonNode& iFound,
                         const char* iExpected) {
      return Fail(iWhereExactly, std::string("expected ") + iExpected + " (attribute type \"" +
                                     KORAttributeTypeName(iDef.type) + "\"), found " +
                                     iFound.TypeName());
    };
    // Entry i of an array must pass iCheck.
    auto checkEntries = [&](auto iCheck, const char* iExpected) {
      if (iJson.kind != KORJsonKind::Array)
        return wrongType(iWhere, iJson, "an array");
      for (std::size_t i = 0; i < iJson.count; ++i)
        if (!iCheck(iJson[i]))
          return wrongType(iWhere.Entry(i), iJson[i], iExpected);
      return true;
    };
    switch (iDef.type) {
    case KORAttributeType::Integer:
      if (!IsInteger(iJson))
        return wrongType(iWhere, iJson, "a 32-bit integer");
      oValue.plain = IntegerOf(iJson);
      return true;
    case KORAttributeType::Double:
      if (!IsFiniteNumber(iJson))
        return wrongType(iWhere, iJson, "a finite number");
      oValue.plain = iJson.Number();
      return true;
    case KORAttributeType::String:
      if (iJson.kind != KORJsonKind::String)
        return wrongType(iWhere, iJson, "a string");
      oValue.plain = std::string(iJson.text);
      return true;
    case KORAttributeType::Integers: {
      if (!checkEntries(IsInteger, "a 32-bit integer"))
        return false;
      std::vector<int> numbers;
      numbers.reserve(iJson.count);
      for (const KORJsonNode& entry : iJson)
        numbers.push_back(IntegerOf(entry));
      oValue.plain = std::move(numbers);
      return true;
    }
    case KORAttributeType::Doubles: {
      if (!checkEntries(IsFiniteNumber, "a finite number"))
        return false;
      std::vector<double> numbers;
      numbers.reserve(iJson.count);
      for (const KORJsonNode& entry : iJson)
        numbers.push_back(entry.Number());
      oValue.plain = std::move(numbers);
      return true;
    }
    case KORAttributeType::Link:
      if (iJson.kind != KORJsonKind::String)
        return wrongType(iWhere, iJson, "a UUID string");
      oValue.links.push_back(kNoFeature);
      return ReadLink(iJson, iWhere, iPositions, oValue.links.back());
    case KORAttributeType::Links:
      if (!checkEntries(
              [](const KORJsonNode& iEntry) {
                return iEntry.kind == KORJsonKind::String || iEntry.kind == KORJsonKind::Null;
              },
              "a UUID string or null"))
        return false;
      oValue.links.assign(iJson.count, kNoFeature);
      for (std::size_t i = 0; i < iJson.count; ++i)
        if (iJson[i].kind == KORJsonKind::String &&
            !ReadLink(iJson[i], iWhere.Entry(i), iPositions, oValue.links[i]))
          return false;
      return true;
    }
    return Fail(iWhere, "unknown attribute type");
  }

  bool ReadLink(const KORJsonNode& iJson, const Where& iWhere, const Positions& iPositions,
                std::size_t& oFeature) {
    KORUuid uuid;
    if (!KORUuid::FromText(iJson.text, uuid))
      return Fail(iWhere, "malformed UUID \"" + std::string(iJson.text) + "\"");
    auto found = iPositions.find(uuid.words);
    if (found == iPositions.end())
      return Fail(iWhere, "links to feature " + std::string(iJson.text) +
                              ", which is not in this container");
    oFeature = found->second;
    return true;
  }

  // A feature has at most one father, and aggregates at most once.
  bool RecordAggregation(const PlannedContainer& iContainer, std::size_t iFather,
                         const PlannedValue& iValue, const Where& iWhere) {
    const KORAttributeDef& def = iContainer.features[iFather].type->attributes[iValue.attribute];
    const bool list = def.type == KORAttributeType::Links;
    for (std::size_t i = 0; i < iValue.links.size(); ++i) {
      std::size_t child = iValue.links[i];
      if (child == kNoFeature)
        continue;
      Aggregation& aggregation = _fathers[child];
      if (aggregation.father != kNoFeature)
        return Fail(list ? iWhere.Entry(i) : iWhere,
                    "feature " + iContainer.features[child].uuid.ToText() +
                        " is aggregated twice (already at " + aggregation.Text(*_features) + ")");
      aggregation = {iFather, def.key, list ? i : kNoFeature};
    }
    return true;
  }

  // Each feature has one father at most, so walking up from every feature
  // once, remembering where each walk started, finds any loop in linear time.
  bool CheckNoAggregationCycle(const PlannedContainer& iContainer, const Where& iFeatures) {
    std::vector<std::size_t> walkOf(_fathers.size(), kNoFeature);
    for (std::size_t start = 0; start < _fathers.size(); ++start) {
      std::size_t feature = start;
      while (feature != kNoFeature && walkOf[feature] == kNoFeature) {
        walkOf[feature] = start;
        feature = _fathers[feature].father;
      }
      if (feature != kNoFeature && walkOf[feature] == start)
        return Fail(_fathers[feature].Text(iFeatures),
                    "aggregation cycle: feature " + iContainer.features[feature].uuid.ToText() +
                        " would be its own ancestor");
    }
    return true;
  }

  // Where a feature's father aggregates it: the father's attribute, and the
  // entry when the attribute is a list.
  struct Aggregation {
    std::size_t father = kNoFeature;
    std::string_view key;
    std::size_t entry = kNoFeature;
    std::string Text(const Where& iFeatures) const {
      const Where feature = iFeatures.Entry(father);
      const Where attributes = feature.Member("attributes");
      const Where attribute = attributes.Member(key);
      return entry == kNoFeature ? attribute.Text() : attribute.Entry(entry).Text();
    }
  };
  std::vector<Aggregation> _fathers; // of the container being read
  const Where* _features = nullptr;  // its features' place
  std::string _error;
};

bool ReadWholeFile(const std::string& iPath, std::string& oText, std::string& oReason) {
  int descriptor = ::open(iPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    oReason = ErrorText(errno);
    return false;
  }
  char buffer[1 << 16];
  for (;;) {
    ssize_t count = ::read(descriptor, buffer, sizeof buffer);
    if (count == 0)
      break;
    if (count < 0) {
      if (errno == EINTR)
        continue;
      oReason = ErrorText(errno);
      ::close(descriptor);
      return false;
    }
    oText.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(descriptor);
  return true;
}

// nlohmann's message without its "[json.exception...] " tag.
std::string JsonErrorText(const nlohmann::json::exception& iError) {
  std::string text = iError.what();
  auto tagEnd = text.find("] ");
  return tagEnd == std::string::npos ? text : text.substr(tagEnd + 2);
}

// The plan's plain values move into the features.
bool Build(std::vector<PlannedContainer>& ioPlan, KORDocument& ioDocument, std::string& oError) {
  KORRootContainer* root = ioDocument.GetCompoundContainer();
  for (std::size_t c = 0; c < ioPlan.size(); ++c) {
    PlannedContainer& planned = ioPlan[c];
    const std::string where = Entry("containers", c);
    KORFeatureContainer* container = root->AddContainer(planned.type, planned.superType);
    if (!container) {
      oError = where + ": cannot create a container of type \"" + planned.type + "\"";
      return false;
    }
    container->SetUserId(planned.userId);
    container->SpecBindNativeFormat(planned.nativeFormat.c_str());
    for (const std::string& catalog : planned.catalogs)
      if (FAILED(container->OpenCatalog(catalog.c_str()))) {
        oError = where + ": cannot open catalog \"" + catalog + "\"";
        return false;
      }
    KORListValKORUnicodeString flags;
    flags.Values() = planned.flags;
    container->SetStoredFlags(std::move(flags));

    std::vector<KORFeature*> features;
    features.reserve(planned.features.size());
    for (const PlannedFeature& feature : planned.features) {
      features.push_back(container->NewFeature(*feature.type, feature.name, &feature.uuid));
      if (!features.back()) {
        oError = where + ": cannot create feature " + feature.uuid.ToText();
        return false;
      }
    }
    for (std::size_t f = 0; f < features.size(); ++f)
      for (PlannedValue& value : planned.features[f].values) {
        KORFeature::Value stored = std::move(value.plain);
        if (KORIsLinkType(features[f]->Type().attributes[value.attribute].type)) {
          KORFeature::Links links;
          links.reserve(value.links.size());
          for (std::size_t target : value.links)
            links.emplace_back(target == kNoFeature ? nullptr : features[target]);
          stored = std::move(links);
        }
        if (FAILED(features[f]->LoadValue(value.attribute, std::move(stored)))) {
          oError =
              where + ": cannot store the attributes of feature " + features[f]->Uuid().ToText();
          return false;
        }
      }
  }
  return true;
}
} // namespace

HRESULT KORSaveDocument(KORDocument& iDocument, const std::string& iPath, std::string& oError) {
  if (iPath.empty()) {
    oError = "cannot save a document: no file path given";
    return E_INVALIDARG;
  }
  Json document;
  DocumentWriter writer;
  if (!writer.Write(iDocument, document)) {
    oError = "cannot save " + iPath + ": " + writer.Error();
    return E_FAIL;
  }
  std::string text;
  try {
    text = document.dump(2) + "\n";
  } catch (const nlohmann::json::exception& error) {
    oError = "cannot save " + iPath + ": " + JsonErrorText(error);
    return E_FAIL;
  }
  int writeError = 0;
  HRESULT result = KORWriteFileAtomically(iPath, 0644, [&](int iDescriptor) {
    if (KORWriteAll(iDescriptor, text))
      return true;
    writeError = errno;
    return false;
  });
  // Anything else failed in the system call just before: errno says which.
  int error = writeError ? writeError : errno;
  if (FAILED(result))
    oError = "cannot save " + iPath + ": " + ErrorText(error);
  return result;
}

HRESULT KORLoadDocument(const std::string& iPath, KORSmartPtr<KORDocument>& oDocument,
                        std::string& oError) {
  oDocument = nullptr;
  std::string text;
  std::string reason;
  if (!ReadWholeFile(iPath, text, reason)) {
    oError = "cannot read " + iPath + ": " + reason;
    return E_FAIL;
  }
  return KORLoadDocumentText(text, iPath, oDocument, oError);
}

HRESULT KORLoadDocumentText(std::string_view iText, const std::string& iOrigin,
                            KORSmartPtr<KORDocument>& oDocument, std::string& oError) {
  oDocument = nullptr;
  std::string error;
  KORJsonTree json;
  if (!json.Parse(iText, error)) {
    oError = iOrigin + ": " + error;
    return E_FAIL;
  }
  std::vector<PlannedContainer> plan;
  DocumentReader reader;
  if (!reader.Read(json.Root(), plan)) {
    oError = iOrigin + ": " + reader.Error();
    return E_FAIL;
  }
  KORSmartPtr<KORDocument> document = KORDocument::Create();
  if (!Build(plan, *document, error)) {
    oError = iOrigin + ": " + error;
    return E_FAIL;
  }
  // Containers initialise once all of them hold their features.
  for (const auto& container : document->GetCompoundContainer()->Containers())
    if (auto init = KORQuery<KORInit>(container->Identity()))
      init->Init(false);
  oDocument = std::move(document);
  return S_OK;
}
