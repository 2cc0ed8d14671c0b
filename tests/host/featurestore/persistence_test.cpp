// Saving documents to JSON files and loading them back.
#include "../system/KORSystemTestSupport.h"
#include "featurestore/KORDocumentIO.h"
#include "featurestore/KORISpecObject.h"
#include "featurestore/KORITransactions.h"
#include "objectmodel/KORExtensionDictionary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using testing::ElementsAre;
using testing::HasSubstr;
namespace fs = std::filesystem;

const char* kCatalog = R"({
  "catalog": "KORPersistenceTest",
  "types": [
    {"type": "PTScreen", "attributes": [
      {"key": "PixelWidth", "value": "integer"},
      {"key": "Gamma", "value": "double"},
      {"key": "Label", "value": "string"},
      {"key": "Corners", "value": "doubles"},
      {"key": "Channels", "value": "integers"},
      {"key": "Rank", "value": "integer", "default": 3},
      {"key": "Mode", "value": "integer", "range": [0, 3]},
      {"key": "Pose", "value": "doubles", "count": 3, "range": [-10, 10]},
      {"key": "Contrast", "value": "double", "range": [0, 10]}]},
    {"type": "PTWideScreen", "parent": "PTScreen"},
    {"type": "PTGroup", "attributes": [
      {"key": "Members", "value": "links", "aggregating": true},
      {"key": "Main", "value": "link", "aggregating": true},
      {"key": "Reference", "value": "link", "target": "PTScreen"},
      {"key": "Neighbours", "value": "links"},
      {"key": "Screens", "value": "links", "target": ["PTWideScreen", "PTScreen"]}]}
  ]})";
// A second catalog, for a type whose catalog a container does not open.
const char* kOtherCatalog = R"({"types": [{"type": "PTOther"}]})";

// What the test module's containers saw when they were initialised:
// "<user id>:<feature count>:<destroy flag>".
std::vector<std::string>& InitCalls() {
  static std::vector<std::string> calls;
  return calls;
}

class PTContainerInit : public KORExtensionOf<KORInit> {
public:
  void Init(bool iDestroyExistingData) override {
    KORString userId;
    if (FAILED(QueryImpl<KORIUserId>()->GetUserId(userId)))
      userId = "?";
    KORListValKORBaseUnknown_var* members = nullptr;
    KORIgnoreResult(QueryImpl<KORIContainer>()->ListMembers(KORISpecObject::IID, &members),
                    "a list that cannot be made is recorded as -1 members");
    std::unique_ptr<KORListValKORBaseUnknown_var> owned(members);
    InitCalls().push_back(userId + ":" + std::to_string(owned ? owned->Size() : -1) + ":" +
                          (iDestroyExistingData ? "true" : "false"));
  }
  KORBaseUnknown* GetRootContainer(const char*) override { return nullptr; }
};

class PTProjectFlag : public KORExtensionOf<KORIProjectFlag> {
public:
  KORListValKORUnicodeString* GetFlagOnWriteEvent() override {
    return new KORListValKORUnicodeString{"written-by-module", "v2"};
  }
  KORListValKORUnicodeString* GetFlagOnReadEvent() override {
    return new KORListValKORUnicodeString();
  }
};

// "PTModuleCont" plays a module's container type: it initialises itself and
// chooses its project flags. "PTCont" has no module behind it.
void RegisterTestModule() {
  static const KORLateTypeRow lateTypes[] = {{"PTModuleCont", "KORFeatCont"}};
  static const KORExtensionRow extensions[] = {
      {"PTModuleCont", "PTContainerInit", KORInit::IID, KORExtensionKind::Code,
       &KORMakeExtension<PTContainerInit>},
      {"PTModuleCont", "PTProjectFlag", KORIProjectFlag::IID, KORExtensionKind::Code,
       &KORMakeExtension<PTProjectFlag>},
  };
  static const KORModuleTable table{"KORPersistenceTestModule", lateTypes, extensions, {}};
  static const bool registered = [] {
    std::string error;
    bool done = KORExtensionDictionary::Get().Register(table, error);
    EXPECT_TRUE(done) << error;
    return done;
  }();
  ASSERT_TRUE(registered);
}

std::string DocumentsDataPath(const std::string& iName) {
  const char* data = std::getenv("KOR_TEST_DATA");
  fs::path root = data ? fs::path(data) : fs::path(__FILE__).parent_path() / "../../data";
  return (root / "documents" / iName).string();
}

KORFeature* FeatureNamed(KORFeatureContainer& iContainer, const std::string& iName) {
  for (const auto& feature : iContainer.Features())
    if (feature->Name() == iName)
      return feature.get();
  return nullptr;
}

// The feature that position iPosition of link list iKey resolves to, or null.
KORFeature* LinkAt(KORFeature& iFeature, const char* iKey, int iPosition) {
  KORISpecObject_var target;
  if (FAILED(iFeature.GetLinkAt(iKey, iPosition, target.Out())))
    return nullptr;
  return KORFeature::From(target);
}

class PersistenceTest : public testing::Test {
protected:
  void SetUp() override {
    std::string error;
    ASSERT_EQ(KORFeatureCatalog::LoadText("KORPersistenceTest", kCatalog, error), S_OK) << error;
    ASSERT_EQ(KORFeatureCatalog::LoadText("KORPersistenceTestOther", kOtherCatalog, error), S_OK)
        << error;
    RegisterTestModule();
    InitCalls().clear();
  }

  std::string PathOf(const std::string& iName) const { return _directory + "/" + iName; }

  KORFeatureContainer* AddContainer(KORDocument& iDocument, const char* iType,
                                    const char* iUserId) {
    KORFeatureContainer* container =
        iDocument.GetCompoundContainer()->AddContainer(iType, "KORFeatCont");
    EXPECT_NE(container, nullptr);
    if (!container)
      return nullptr;
    container->SetUserId(iUserId);
    container->SpecBindNativeFormat("KORPt");
    EXPECT_EQ(container->OpenCatalog("KORPersistenceTest"), S_OK);
    return container;
  }

  static KORFeature* New(KORFeatureContainer& iContainer, const char* iType, const char* iName) {
    KORFeature* feature = iContainer.NewFeature(*KORFeatureCatalog::FindType(iType), iName);
    EXPECT_NE(feature, nullptr);
    return feature;
  }

  // One container holding every kind of value. The group comes first so that
  // its links point further down the file.
  KORSmartPtr<KORDocument> SampleDocument() {
    KORSmartPtr<KORDocument> document = KORDocument::Create();
    KORFeatureContainer* container = AddContainer(*document, "PTCont", "Main");
    container->SetStoredFlags({"calibrated", "reviewed"});
    KORFeature* wall = New(*container, "PTGroup", "Wall");
    KORFeature* left = New(*container, "PTScreen", "Left");
    New(*container, "PTScreen", "Spare");
    KORFeature* taken = New(*container, "PTScreen", "Taken");
    KORFeature* right = New(*container, "PTScreen", "Right");
    KORFeature* center = New(*container, "PTScreen", "Center");
    EXPECT_EQ(left->SetInteger("PixelWidth", 1920), S_OK);
    EXPECT_EQ(left->SetDouble("Gamma", 0.1 + 0.2), S_OK);
    EXPECT_EQ(left->SetString("Label", "Écran \"gauche\"\n\ttab"), S_OK);
    EXPECT_EQ(left->SetDoubles("Corners", {-1.5, 1e-300, 12345.678901234567, 5e20}), S_OK);
    EXPECT_EQ(left->SetIntegers("Channels", KORRawCollint{1, -2, INT_MAX, INT_MIN}), S_OK);
    EXPECT_EQ(left->SetInteger("Rank", 7), S_OK);
    EXPECT_EQ(right->SetInteger("PixelWidth", INT_MIN), S_OK);
    EXPECT_EQ(wall->AppendLink("Members", left), S_OK);
    EXPECT_EQ(wall->AppendLink("Members", taken), S_OK);
    EXPECT_EQ(wall->AppendLink("Members", right), S_OK);
    EXPECT_EQ(wall->EmptyPosition("Members", 2), S_OK);
    EXPECT_EQ(wall->SetLink("Main", center), S_OK);
    EXPECT_EQ(wall->SetLink("Reference", right), S_OK);
    EXPECT_EQ(wall->AppendLink("Neighbours", right), S_OK);
    EXPECT_EQ(wall->AppendLink("Neighbours", wall), S_OK);
    return document;
  }

  void Save(KORDocument& iDocument, const std::string& iPath) {
    std::string error;
    ASSERT_EQ(KORSaveDocument(iDocument, iPath, error), S_OK) << error;
  }

  // iDocument saved to "reloaded.json" and loaded back.
  KORSmartPtr<KORDocument> Reloaded(KORDocument& iDocument) {
    Save(iDocument, PathOf("reloaded.json"));
    EXPECT_TRUE(InitCalls().empty()) << "saving initialised a container";
    return Load(PathOf("reloaded.json"));
  }

  KORSmartPtr<KORDocument> Load(const std::string& iPath) {
    std::string error;
    KORSmartPtr<KORDocument> document;
    EXPECT_EQ(KORLoadDocument(iPath, document, error), S_OK) << error;
    return document;
  }

  // The error of loading iPath, which must be refused.
  static std::string Refusal(const std::string& iPath) {
    KORSmartPtr<KORDocument> document;
    std::string error;
    EXPECT_EQ(KORLoadDocument(iPath, document, error), E_FAIL);
    EXPECT_FALSE(document);
    return error;
  }

  static KORFeatureContainer& OnlyContainer(KORDocument& iDocument) {
    const auto& containers = iDocument.GetCompoundContainer()->Containers();
    EXPECT_EQ(containers.size(), 1u);
    return *containers.front();
  }

  KORTemporaryDirectory _folder;
  const std::string& _directory = _folder.Path();
};

// ------------------------------------------------------------------ round trip

TEST_F(PersistenceTest, ALoadedDocumentHoldsWhatWasSavedAndSavesToTheSameBytes) {
  auto original = SampleDocument();
  auto loaded = Reloaded(*original);
  ASSERT_TRUE(loaded);
  Save(*loaded, PathOf("second.json"));
  EXPECT_EQ(KORReadWholeFile(PathOf("second.json")), KORReadWholeFile(PathOf("reloaded.json")));
  Save(*original, PathOf("third.json"));
  EXPECT_EQ(KORReadWholeFile(PathOf("third.json")), KORReadWholeFile(PathOf("reloaded.json")))
      << "saving the same document twice gave different bytes";
  EXPECT_EQ(_folder.List(), (std::set<std::string>{"reloaded.json", "second.json", "third.json"}))
      << "a temporary file was left behind";

  // The equal bytes pin the values; what the file cannot show is how the
  // loaded features hang together.
  KORFeatureContainer& after = OnlyContainer(*loaded);
  KORFeature* wall = FeatureNamed(after, "Wall");
  ASSERT_NE(wall, nullptr);
  EXPECT_EQ(LinkAt(*wall, "Members", 3), FeatureNamed(after, "Right"))
      << "links resolve to the loaded features";
  EXPECT_EQ(FeatureNamed(after, "Right")->Father(), wall);
  EXPECT_EQ(FeatureNamed(after, "Center")->Father(), wall);
  EXPECT_EQ(FeatureNamed(after, "Taken"), nullptr)
      << "a feature whose position was emptied is removed";
  EXPECT_EQ(FeatureNamed(after, "Spare")->Father(), nullptr);
  EXPECT_EQ(wall->Father(), nullptr) << "a plain link must not aggregate";
}

// A load puts its values in place without recording them: the history starts
// at the loaded state, and links keep their back references all the same.
TEST_F(PersistenceTest, ALoadedDocumentsHistoryStartsAtTheLoadedState) {
  auto loaded = Reloaded(*SampleDocument());
  ASSERT_TRUE(loaded);
  KORFeatureContainer& container = OnlyContainer(*loaded);
  KORFeature* wall = FeatureNamed(container, "Wall");
  KORFeature* right = FeatureNamed(container, "Right");
  ASSERT_TRUE(wall && right);
  auto transactions = KORQuery<KORITransactions>(loaded->Identity());
  ASSERT_TRUE(transactions);
  EXPECT_EQ(transactions->Undo(), E_FAIL) << "the load itself was recorded";

  KORListValKORBaseUnknown_var* raw = nullptr;
  ASSERT_EQ(right->ListReferrers("Reference", KORISpecObject::IID, &raw), S_OK);
  std::unique_ptr<KORListValKORBaseUnknown_var> referrers(raw);
  ASSERT_EQ(referrers->Size(), 1);
  EXPECT_EQ(KORFeature::From((*referrers)[1]), wall);

  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(right->SetInteger("Rank", 11), S_OK);
  ASSERT_EQ(wall->RemoveLink("Members", right), S_OK);
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  ASSERT_TRUE(right->IsDead()) << "a released child stayed";
  ASSERT_EQ(transactions->Undo(), S_OK);
  Save(*loaded, PathOf("undone.json"));
  EXPECT_EQ(KORReadWholeFile(PathOf("undone.json")), KORReadWholeFile(PathOf("reloaded.json")));
}

TEST_F(PersistenceTest, AHandWrittenFileLoadsAndSavesBackUnchanged) {
  const std::string golden = DocumentsDataPath("small-wall.json");
  auto loaded = Load(golden);
  ASSERT_TRUE(loaded);
  Save(*loaded, PathOf("resaved.json"));
  EXPECT_EQ(KORReadWholeFile(PathOf("resaved.json")), KORReadWholeFile(golden));
}

// A module's container chooses its flags when saved and is initialised once
// loaded with its features; a container without module keeps its own flags.
TEST_F(PersistenceTest, ModuleContainersChooseTheirFlagsAndInitialiseOnceLoaded) {
  auto document = KORDocument::Create();
  AddContainer(*document, "PTCont", "Plain")->SetStoredFlags({"kept"});
  KORFeatureContainer* module = AddContainer(*document, "PTModuleCont", "Module");
  module->SetStoredFlags({"stale"});
  New(*module, "PTScreen", "A");
  New(*module, "PTScreen", "B");
  auto loaded = Reloaded(*document);
  ASSERT_TRUE(loaded);
  EXPECT_THAT(InitCalls(), ElementsAre("Module:2:false")) << "only loading initialises";

  const auto& containers = loaded->GetCompoundContainer()->Containers();
  ASSERT_EQ(containers.size(), 2u);
  KORListValKORUnicodeString flags;
  containers[0]->GetStoredFlags(flags);
  EXPECT_THAT(flags.Values(), ElementsAre("kept"));
  containers[1]->GetStoredFlags(flags);
  EXPECT_THAT(flags.Values(), ElementsAre("written-by-module", "v2"));
}

TEST_F(PersistenceTest, LinksToARemovedFeatureStillDoNotResolveAfterLoad) {
  auto document = KORDocument::Create();
  KORFeatureContainer* container = AddContainer(*document, "PTCont", "Main");
  KORFeature* wall = New(*container, "PTGroup", "Wall");
  KORFeature* left = New(*container, "PTScreen", "Left");
  KORFeature* gone = New(*container, "PTScreen", "Gone");
  KORFeature* right = New(*container, "PTScreen", "Right");
  ASSERT_EQ(wall->SetLink("Reference", gone), S_OK);
  for (KORFeature* neighbour : {left, gone, right})
    ASSERT_EQ(wall->AppendLink("Neighbours", neighbour), S_OK);
  const KORString goneUuid = gone->Uuid().ToText();
  container->RemoveFeature(*gone);
  auto loaded = Reloaded(*document);
  ASSERT_TRUE(loaded);
  EXPECT_THAT(KORReadWholeFile(PathOf("reloaded.json")), testing::Not(HasSubstr(goneUuid)));

  KORFeatureContainer& after = OnlyContainer(*loaded);
  KORFeature* loadedWall = FeatureNamed(after, "Wall");
  ASSERT_NE(loadedWall, nullptr);
  KORISpecObject_var reference;
  EXPECT_EQ(loadedWall->GetLink("Reference", reference.Out()), E_FAIL);
  int count = 0;
  EXPECT_EQ(loadedWall->GetLinkCount("Neighbours", count), S_OK);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(LinkAt(*loadedWall, "Neighbours", 1), FeatureNamed(after, "Left"));
  EXPECT_EQ(LinkAt(*loadedWall, "Neighbours", 2), nullptr);
  EXPECT_EQ(LinkAt(*loadedWall, "Neighbours", 3), FeatureNamed(after, "Right"));
}

// ------------------------------------------------------------------ refused files

// A valid file; each refused case below breaks one thing in it. Its container
// type is used nowhere else, so that a file built by mistake would show.
const char* kValidFile = R"({
  "format": "kor-document/1",
  "containers": [ {
    "type": "PTRefusedCont", "superType": "KORFeatCont", "userId": "Base",
    "nativeFormat": "KORPt", "catalogs": ["KORPersistenceTest"], "flags": [],
    "features": [
      {"uuid": "1_0_0_1", "type": "PTGroup", "name": "Wall",
       "attributes": {"Members": ["1_0_0_2", null], "Reference": "1_0_0_3"}},
      {"uuid": "1_0_0_2", "type": "PTScreen", "name": "Left",
       "attributes": {"PixelWidth": 1920, "Gamma": 2.5, "Channels": [1, 2],
                      "Mode": 3, "Pose": [0, -10, 10], "Contrast": 0}},
      {"uuid": "1_0_0_3", "type": "PTScreen", "name": "Right", "attributes": {}},
      {"uuid": "1_0_0_4", "type": "PTGroup", "name": "Rig",
       "attributes": {"Screens": ["1_0_0_5", "1_0_0_3", null]}},
      {"uuid": "1_0_0_5", "type": "PTWideScreen", "name": "Wide", "attributes": {"Mode": 0}}
    ] } ] })";

using Json = nlohmann::ordered_json;
// Marks a member to take out of the file.
const Json kErased(Json::value_t::discarded);

// The valid file with a member changed (named by a JSON pointer), and
// sometimes a second one.
struct RefusedCase {
  const char* what;
  std::string member;
  Json value;
  const char* expected; // the place and the reason in the message
  std::string secondMember = "";
  Json secondValue = nullptr;
};

TEST_F(PersistenceTest, EachDefectOfAFileIsRefusedWithItsPlace) {
  const std::string container = "/containers/0";
  const std::string wall = container + "/features/0/attributes/";
  const std::string left = container + "/features/1/attributes/";
  const std::string rig = container + "/features/3/attributes/";
  const std::vector<RefusedCase> cases = {
      {"format marker", "/format", "kor-document/2", "format: expected \"kor-document/1\""},
      {"containers not a list", "/containers", Json::object(),
       "containers: expected an array, found object"},
      {"container not an object", container, 4, "containers[0]: expected an object"},
      {"feature without name", container + "/features/1/name", kErased,
       "containers[0].features[1].name: missing"},
      {"flag not a string", container + "/flags", Json::array({"ok", 3}),
       "containers[0].flags[1]: expected a string"},
      {"integer too large", left + "PixelWidth", 4294967296,
       "containers[0].features[1].attributes.PixelWidth: expected a 32-bit integer"},
      {"integer given a fraction", left + "PixelWidth", 19.5,
       "containers[0].features[1].attributes.PixelWidth: expected a 32-bit integer"},
      {"undeclared attribute", left + "Bogus", 1,
       "containers[0].features[1].attributes.Bogus: feature type \"PTScreen\" has no attribute"},
      {"unknown type", container + "/features/2/type", "PTNoSuchType",
       "containers[0].features[2].type: unknown feature type \"PTNoSuchType\""},
      {"type of a catalog not opened", container + "/features/2/type", "PTOther",
       "containers[0].features[2].type: feature type \"PTOther\" belongs to catalog"},
      {"catalog that cannot load", container + "/catalogs/1", "KORNoSuchCatalog.json",
       "containers[0].catalogs[1]: cannot open catalog \"KORNoSuchCatalog.json\""},
      {"malformed UUID", container + "/features/1/uuid", "1_0_0_G",
       "containers[0].features[1].uuid: malformed UUID \"1_0_0_G\""},
      {"duplicate UUID", container + "/features/2/uuid", "1_0_0_2",
       "containers[0].features[2].uuid: UUID 1_0_0_2 is used twice"},
      {"link to a missing feature", wall + "Reference", "1_0_0_9",
       "containers[0].features[0].attributes.Reference: links to feature 1_0_0_9, which is not"},
      {"list entry neither UUID nor null", wall + "Members/1", 5,
       "containers[0].features[0].attributes.Members[1]: expected a UUID string or null"},
      {"aggregated by two fathers", rig + "Main", "1_0_0_2",
       "containers[0].features[3].attributes.Main: feature 1_0_0_2 is aggregated twice (already "
       "at containers[0].features[0].attributes.Members[0])"},
      {"aggregation cycle", wall + "Main", "1_0_0_4",
       "containers[0].features[3].attributes.Main: aggregation cycle", rig + "Main", "1_0_0_1"},
      {"number above its range", left + "Contrast", 10.5,
       "containers[0].features[1].attributes.Contrast: 10.5 is outside 0 to 10"},
      {"list entry out of range", left + "Pose/2", -10.25,
       "containers[0].features[1].attributes.Pose[2]: -10.25 is outside -10 to 10"},
      {"list of the wrong length", left + "Pose", Json::array({1, 2}),
       "containers[0].features[1].attributes.Pose: holds 2 entries, expected 3"},
      {"link to a feature of the wrong type", wall + "Reference", "1_0_0_4",
       "containers[0].features[0].attributes.Reference: links to PTGroup \"Rig\" 1_0_0_4, which "
       "is not a kind of PTScreen (attribute \"Reference\" of PTGroup \"Wall\" 1_0_0_1)"},
      {"unknown container type holding unknown feature types", container + "/type",
       "PTNeverDeclaredCont",
       "containers[0].features[0].type: unknown feature type \"PTNeverDeclared\"",
       container + "/features/0/type", "PTNeverDeclared"},
      {"container type with another parent", container + "/type", "PTModuleCont",
       "containers[0].superType: container type \"PTModuleCont\" cannot derive from",
       container + "/superType", "KORProduct"},
  };
  const std::string path = PathOf("refused.json");
  for (const RefusedCase& refused : cases) {
    SCOPED_TRACE(refused.what);
    Json file = Json::parse(kValidFile);
    for (const auto& [pointer, value] : {std::pair{refused.member, refused.value},
                                         std::pair{refused.secondMember, refused.secondValue}}) {
      if (pointer.empty())
        continue;
      const Json::json_pointer member(pointer);
      if (value.is_discarded())
        file.at(member.parent_pointer()).erase(member.back());
      else
        file[member] = value;
    }
    std::ofstream(path, std::ios::binary) << file.dump(2);
    EXPECT_THAT(Refusal(path), HasSubstr(path + ": " + refused.expected));
  }
  EXPECT_EQ(KORLateType::Find("PTRefusedCont"), nullptr) << "a refused file built a container";
  EXPECT_EQ(KORLateType::Find("PTNeverDeclaredCont"), nullptr);
  EXPECT_TRUE(InitCalls().empty());

  // The cases fail for what they break, not for the file they start from.
  std::ofstream(path, std::ios::binary) << kValidFile;
  EXPECT_TRUE(Load(path));
}

// Text that is not JSON, or defects that a JSON value cannot hold.
TEST_F(PersistenceTest, TextThatIsNotADocumentIsRefusedWithItsPosition) {
  const std::string valid = kValidFile;
  const std::string deep = std::string(50000, '[') + std::string(50000, ']');
  struct TextCase {
    const char* what;
    std::string text;
    std::string expected;
  };
  const std::vector<TextCase> cases = {
      // "{" is level 1 and the first "[" (column 13) level 2: level 65 opens at column 76.
      {"nesting inside a member the loader ignores",
       "{\"ignored\": " + deep + "," + valid.substr(1),
       "line 1, column 76: nesting deeper than 64 levels"},
      {"cut short", valid.substr(0, 120), "invalid JSON at byte 121"},
      {"a list", "[]", "(document): expected an object, found array"},
  };
  const std::string path = PathOf("hostile.json");
  for (const TextCase& hostile : cases) {
    SCOPED_TRACE(hostile.what);
    std::ofstream(path, std::ios::binary) << hostile.text;
    EXPECT_THAT(Refusal(path), HasSubstr(path + ": " + hostile.expected));
  }
}

TEST_F(PersistenceTest, TextLoadsAsItsFileDoes) {
  KORSmartPtr<KORDocument> document;
  std::string error;
  EXPECT_EQ(KORLoadDocumentText(kValidFile, "(pasted)", document, error), S_OK) << error;
  EXPECT_TRUE(document);
  EXPECT_EQ(KORLoadDocumentText("{\"format\": 3}", "(pasted)", document, error), E_FAIL);
  EXPECT_FALSE(document) << "a refused text left the earlier document in the out value";
  EXPECT_THAT(error, HasSubstr("(pasted): format: expected a string"));
}

// ------------------------------------------------------------------ what a catalog allows

TEST_F(PersistenceTest, ACatalogSayingWhatAValueMayBeIsCheckedItself) {
  struct CatalogCase {
    const char* attribute; // one attribute declaration of type "PTC"
    const char* expected;
  };
  const CatalogCase cases[] = {
      {R"({"key": "A", "value": "string", "range": [0, 1]})", "\"range\" must be"},
      {R"({"key": "A", "value": "integer", "range": [3, 1]})", "\"range\" must be"},
      {R"({"key": "A", "value": "integer", "range": [0, 1.5]})", "\"range\" must be"},
      {R"({"key": "A", "value": "double", "count": 3})", "\"count\" must be"},
      {R"({"key": "A", "value": "doubles", "count": -1})", "\"count\" must be"},
      {R"({"key": "A", "value": "integer", "target": "PTC"})", "\"target\" must be"},
      {R"({"key": "A", "value": "links", "target": "PTNowhere"})",
       "attribute \"A\" links to undeclared type \"PTNowhere\""},
      {R"({"key": "A", "value": "integer", "default": 5, "range": [0, 3]})",
       "default does not fit: 5 is outside 0 to 3"},
      {R"({"key": "A", "value": "link", "aggregating": "yes"})",
       "\"aggregating\" must be true or false"},
  };
  int rank = 0;
  for (const CatalogCase& bad : cases) {
    SCOPED_TRACE(bad.attribute);
    const std::string name = "PTBadCatalog" + std::to_string(rank++);
    const std::string text = std::string(R"({"types": [{"type": "PTC)") + name +
                             R"(", "attributes": [)" + bad.attribute + "]}]}";
    std::string error;
    EXPECT_EQ(KORFeatureCatalog::LoadText(name, text, error), E_FAIL);
    EXPECT_THAT(error, HasSubstr(name + ": types[0]"));
    EXPECT_THAT(error, HasSubstr(bad.expected));
    EXPECT_FALSE(KORFeatureCatalog::IsLoaded(name));
  }
}

// ------------------------------------------------------------------ failed saves

// Makes writes into a directory fail for the scope. Permissions do not stop
// root, so as root the size of written files is capped instead: the temporary
// file is then created but cannot be filled, the later failure.
class WritesFailIn {
public:
  explicit WritesFailIn(const std::string& iDirectory) : _directory(iDirectory) {
    if (::geteuid() != 0) {
      ::chmod(_directory.c_str(), 0555);
      return;
    }
    _previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &_previousLimit);
    rlimit capped = _previousLimit;
    capped.rlim_cur = 16;
    ::setrlimit(RLIMIT_FSIZE, &capped);
  }
  ~WritesFailIn() {
    if (::geteuid() != 0) {
      ::chmod(_directory.c_str(), 0700);
      return;
    }
    ::setrlimit(RLIMIT_FSIZE, &_previousLimit);
    std::signal(SIGXFSZ, _previousHandler);
  }
  WritesFailIn(const WritesFailIn&) = delete;
  WritesFailIn& operator=(const WritesFailIn&) = delete;

private:
  std::string _directory;
  rlimit _previousLimit{};
  void (*_previousHandler)(int) = SIG_DFL;
};

TEST_F(PersistenceTest, AFailedSaveSaysWhyAndLeavesThePreviousFileByteForByte) {
  const std::string path = PathOf("kept.json");
  const std::string previous = "previous content, not even JSON\n";
  std::ofstream(path, std::ios::binary) << previous;
  auto document = SampleDocument();
  std::string error;
  HRESULT result;
  {
    WritesFailIn blocked(_directory);
    result = KORSaveDocument(*document, path, error);
  }
  EXPECT_EQ(result, E_FAIL);
  EXPECT_THAT(error, HasSubstr("cannot save " + path + ": "));
  EXPECT_EQ(KORReadWholeFile(path), previous);
  EXPECT_EQ(_folder.List(), std::set<std::string>{"kept.json"})
      << "the temporary file was left behind";

  const std::string underAFile = path + "/document.json";
  EXPECT_EQ(KORSaveDocument(*document, underAFile, error), E_FAIL);
  EXPECT_THAT(error, HasSubstr("cannot save " + underAFile + ": Not a directory"));
  EXPECT_EQ(KORReadWholeFile(path), previous);
}

TEST_F(PersistenceTest, SavingRefusesWhatCouldNotBeLoadedBack) {
  const std::string path = PathOf("kept.json");
  std::ofstream(path, std::ios::binary) << "previous";
  std::string error;

  auto notFinite = KORDocument::Create();
  KORFeatureContainer* container = AddContainer(*notFinite, "PTCont", "Main");
  New(*container, "PTScreen", "Fine");
  New(*container, "PTScreen", "Broken")
      ->SetDoubles("Corners", {1.0, std::numeric_limits<double>::quiet_NaN()});
  EXPECT_EQ(KORSaveDocument(*notFinite, path, error), E_FAIL);
  EXPECT_THAT(error, HasSubstr("containers[0].features[1].attributes.Corners: holds a number that "
                               "is not finite"));

  auto badText = KORDocument::Create();
  New(*AddContainer(*badText, "PTCont", "Main"), "PTScreen", "Bad")->SetString("Label", "\xff");
  EXPECT_EQ(KORSaveDocument(*badText, path, error), E_FAIL);
  EXPECT_THAT(error, HasSubstr("cannot save " + path + ": invalid UTF-8"));

  auto crossing = KORDocument::Create();
  KORFeature* target = New(*AddContainer(*crossing, "PTCont", "First"), "PTScreen", "Target");
  KORFeatureContainer* second = AddContainer(*crossing, "PTCont", "Second");
  New(*second, "PTScreen", "Filler");
  ASSERT_EQ(New(*second, "PTGroup", "Group")->AppendLink("Neighbours", target), S_OK);
  EXPECT_EQ(KORSaveDocument(*crossing, path, error), E_FAIL);
  EXPECT_THAT(error, HasSubstr("containers[1].features[1].attributes.Neighbours[0]: links to "
                               "feature " +
                               target->Uuid().ToText() + " of another container"));
  EXPECT_EQ(KORReadWholeFile(path), "previous");
}
} // namespace
