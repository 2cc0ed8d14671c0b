#include "../host/system/KORSystemTestSupport.h"
#include "ConfigBuilder.h"

#include "featurestore/KORDocumentIO.h"

#include <algorithm>
#include <fstream>

namespace {

// A configuration saved by older releases, written by hand: the image
// generator's own feature name differs from its "Name", the root's too.
std::string OldDocument(const std::string& iFlags) {
  return R"({"format": "kor-document/1", "containers": [{
    "type": "VrcContainer", "superType": "KORFeatCont", "userId": "VRConfig",
    "nativeFormat": "VrcContainer", "catalogs": ["KORVrc.KORfct"], "flags": )" +
         iFlags + R"(,
    "features": [
      {"uuid": "1_0_0_1", "type": "KORVrcConfig", "name": "OldConfig",
       "attributes": {"Name": "Config", "GraphicResources": "1_0_0_2", "GraphicSpecs": "1_0_0_4",
                      "Devices": "1_0_0_6"}},
      {"uuid": "1_0_0_2", "type": "KORVrcGraphicResources", "name": "", "attributes": {"IGs": ["1_0_0_3"]}},
      {"uuid": "1_0_0_3", "type": "KORVrcIG", "name": "visu1:0.0",
       "attributes": {"Name": "old-name", "PixelWidth": 1280, "PixelHeight": 1024}},
      {"uuid": "1_0_0_4", "type": "KORVrcGraphicSpecs", "name": "", "attributes": {"Heads": ["1_0_0_5"]}},
      {"uuid": "1_0_0_5", "type": "KORVrcHead", "name": "", "attributes": {"Name": "Head", "IPD": 57, "Type": 0}},
      {"uuid": "1_0_0_6", "type": "KORVrcDevices", "name": "", "attributes": {"HandDevices": ["1_0_0_7"]}},
      {"uuid": "1_0_0_7", "type": "KORVrcHandDevice", "name": "", "attributes": {"Name": "Hand", "Type": 0}}
    ]}]})";
}

class DocumentFileTest : public ModelTest {
protected:
  KORSmartPtr<KORDocument> LoadText(const std::string& iText) {
    const std::string path = directory + "/old.KORProduct";
    std::ofstream(path) << iText;
    KORSmartPtr<KORDocument> loaded;
    std::string error;
    EXPECT_EQ(KORLoadDocument(path, loaded, error), S_OK) << error;
    return loaded;
  }

  struct IGState {
    KORUnicodeString name;
    int width = 0, height = 0;
    KORUnicodeString rootName;
  };
  static KORIVrcIG_var FirstIG(KORIVrcFactory* iFactory) {
    KORIVrcGraphicResources_var resources;
    EXPECT_EQ(iFactory->RetrieveGraphicResources(resources.Out()), S_OK);
    const auto igs = Listed<KORIVrcIG>(resources, &KORIVrcGraphicResources::GetIGs);
    return igs.empty() ? KORIVrcIG_var() : igs.front();
  }
  static IGState Read(KORDocument* iDocument) {
    IGState state;
    auto loadedFactory = KORQuery<KORIVrcFactory>(iDocument);
    KORIVrcIG_var ig = FirstIG(loadedFactory);
    EXPECT_EQ(ig->GetName(state.name), S_OK);
    EXPECT_EQ(ig->GetPixelWidth(&state.width), S_OK);
    EXPECT_EQ(ig->GetPixelHeight(&state.height), S_OK);
    KORIVrcConfig_var config;
    EXPECT_EQ(loadedFactory->RetrieveConfig(config.Out()), S_OK);
    EXPECT_EQ(config->GetName(state.rootName), S_OK);
    return state;
  }

  KORTemporaryDirectory folder;
  const std::string directory = folder.Path();
};

TEST_F(DocumentFileTest, OldDataIsMigratedAsItsReleaseFlagsSay) {
  const struct {
    const char* flags;
    const char* name; // of the image generator
    const char* rootName;
    int width, height;
  } cases[] = {
      // Release 12 data gets the old pixel size and keeps its names.
      {R"(["Vrc J6R12"])", "old-name", "Config", 1024, 768},
      // Without flags both: the feature's own name becomes the element's name.
      {"[]", "visu1:0.0", "OldConfig", 1024, 768},
      {R"(["other", "Vrc J6R12", "Vrc J6R14"])", "old-name", "Config", 1280, 1024},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    IGState state = Read(LoadText(OldDocument(c.flags)).get());
    EXPECT_EQ(state.name, c.name);
    EXPECT_EQ(state.rootName, c.rootName);
    EXPECT_EQ(state.width, c.width);
    EXPECT_EQ(state.height, c.height);
  }
}

// Describing a document whose enumeration was out of range aborted; the
// loader now refuses such values, naming the feature and the attribute.
TEST_F(DocumentFileTest, ValuesTheModelCannotHoldAreRefusedOnLoad) {
  // Free features appended to the old document, each case changing one value.
  const std::string extras = R"(,
      {"uuid": "1_0_0_8", "type": "KORVrcRenderingSpec", "name": "", "attributes": {"Mode": 3}},
      {"uuid": "1_0_0_9", "type": "KORVrcTrackingStation", "name": "", "attributes": {"Type": 4}},
      {"uuid": "1_0_0_a", "type": "KORVrcButtonDevice", "name": "", "attributes": {}}
    ]}]})";
  const std::string base = OldDocument(R"(["Vrc J6R14"])");
  const std::string valid = base.substr(0, base.rfind("\n    ]}]}")) + extras;
  struct Case {
    const char* replaced;
    const char* by;
    const char* expected;
  };
  const Case cases[] = {
      {R"("IPD": 57, "Type": 0)", R"("IPD": 57, "Type": 99)",
       R"(features[4].attributes.Type: 99 is outside 0 to 3 (attribute "Type" of KORVrcHead "Head" 1_0_0_5))"},
      {R"("IPD": 57, "Type": 0)", R"("IPD": 57, "Type": -1)",
       "features[4].attributes.Type: -1 is outside 0 to 3"},
      {R"("IPD": 57)", R"("IPD": 5000)", "features[4].attributes.IPD: 5000 is outside 0 to 1000"},
      {R"("PixelWidth": 1280)", R"("PixelWidth": 70000)",
       "features[2].attributes.PixelWidth: 70000 is outside 0 to 65535"},
      {R"("Name": "Hand", "Type": 0)", R"("Name": "Hand", "Type": 0, "ButtonManager": "1_0_0_3")",
       R"(features[6].attributes.ButtonManager: links to KORVrcIG "visu1:0.0" 1_0_0_3, which is not a kind of KORVrcButtonDevice or KORVrcTracker)"},
      {R"("Heads": ["1_0_0_5"])", R"("Heads": ["1_0_0_7"])",
       R"(features[3].attributes.Heads[0]: links to KORVrcHandDevice "Hand" 1_0_0_7, which is not a kind of KORVrcHead)"},
      {R"("Heads": ["1_0_0_5"])", R"("Heads": ["1_0_0_5", "1_0_0_b"])",
       "features[3].attributes.Heads[1]: links to feature 1_0_0_b, which is not in this container"},
  };
  const std::string path = directory + "/refused.KORProduct";
  for (const Case& refused : cases) {
    SCOPED_TRACE(refused.by);
    std::string text = valid;
    const auto at = text.find(refused.replaced);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::string(refused.replaced).size(), refused.by);
    std::ofstream(path) << text;
    KORSmartPtr<KORDocument> loaded;
    std::string error;
    EXPECT_EQ(KORLoadDocument(path, loaded, error), E_FAIL);
    EXPECT_FALSE(loaded);
    EXPECT_NE(error.find(path + ": containers[0]." + refused.expected), std::string::npos) << error;
  }
  // A button manager may be a button device, and the values at the ends of their ranges load.
  std::string text = valid;
  text.replace(text.find(R"("Name": "Hand", "Type": 0)"), 25,
               R"("Name": "Hand", "Type": 4, "ButtonManager": "1_0_0_a")");
  EXPECT_TRUE(LoadText(text));
}

TEST_F(DocumentFileTest, ALoadedConfigurationNotifiesTheRootAgain) {
  auto loaded = LoadText(OldDocument(R"(["Vrc J6R14"])"));
  KORBaseUnknown_var root;
  ASSERT_EQ(loaded->GetRootContainer(root.Out()), S_OK);
  std::vector<KORNotificationKind> kinds;
  auto events = KORQuery<KORIModelEvents>(root);
  events->GetDispatcher()->AddListener([&](const KORNotification& iEvent) {
    if (const auto* event = KORModelNotification::From(iEvent))
      kinds.push_back(event->Kind());
  });

  auto loadedFactory = KORQuery<KORIVrcFactory>(loaded);
  KORIVrcIG_var ig = FirstIG(loadedFactory);
  ASSERT_TRUE(ig);
  ASSERT_EQ(ig->SetPixelWidth(800), S_OK);
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), KORNotificationKind::Modify), 1);

  kinds.clear();
  KORIVrcHead_var head;
  ASSERT_EQ(loadedFactory->RetrieveHead(head.Out()), S_OK);
  ASSERT_EQ(head->SetIPD(64), S_OK);
  EXPECT_FALSE(kinds.empty()) << "the reloaded head is connected again";
}
} // namespace
