#include "../host/system/KORSystemTestSupport.h"
#include "ConfigBuilder.h"

#include "featurestore/KORDocumentIO.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

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

// Every getter's answer over the configuration, as text.
std::string Snapshot(KORIVrcFactory* iFactory) {
  std::ostringstream out;
  // A getter that fails leaves a mark, so that the comparison sees it too.
  auto got = [&](HRESULT iResult) {
    if (FAILED(iResult))
      out << "<failed> ";
  };
  auto name = [](KORBaseUnknown* iElement) {
    KORUnicodeString text;
    auto element = KORQuery<KORIVrcElement>(iElement);
    return element && SUCCEEDED(element->GetName(text)) ? text : KORUnicodeString("-");
  };
  auto transformation = [&](const KORMathTransformation& iValue) {
    std::array<double, 12> coef;
    iValue.GetCoef(coef);
    for (double c : coef)
      out << c << ' ';
  };
  auto each = [](KORListValKORBaseUnknown_var* iList, auto&& iVisit) {
    for (const KORBaseUnknown_var& entry : *iList)
      iVisit(entry.get());
    delete iList;
  };
  KORIVrcConfig_var config;
  got(iFactory->RetrieveConfig(config.Out()));
  KORUuid id;
  got(config->GetID(id));
  out << "config " << name(config) << ' ' << id.ToText() << '\n';
  KORIVrcWindow_var mainWindow;
  got(iFactory->RetrieveMainWindow(mainWindow.Out()));
  out << "main " << name(mainWindow) << '\n';

  KORIVrcGraphicResources_var resources;
  KORListValKORBaseUnknown_var* list = nullptr;
  got(iFactory->RetrieveGraphicResources(resources.Out()));
  got(resources->GetIGs(&list));
  each(list, [&](KORBaseUnknown* iEntry) {
    auto ig = KORQuery<KORIVrcIG>(iEntry);
    int w = 0, h = 0;
    KORUnicodeString host, display;
    got(ig->GetPixelWidth(&w));
    got(ig->GetPixelHeight(&h));
    got(ig->GetHostName(host));
    got(ig->GetDisplayName(display));
    out << "ig " << name(ig) << ' ' << w << 'x' << h << ' ' << host << ' ' << display << '\n';
    KORListValKORBaseUnknown_var* windows = nullptr;
    got(ig->GetWindows(&windows));
    each(windows, [&](KORBaseUnknown* iWindowEntry) {
      auto window = KORQuery<KORIVrcWindow>(iWindowEntry);
      KORIVrcViewport_var viewport;
      KORIVrcView_var view;
      KORIVrcRenderingSpec_var spec;
      double l = 0, t = 0, vw = 0, vh = 0;
      if (SUCCEEDED(window->GetViewport(viewport.Out())))
        got(viewport->GetViewport(&l, &t, &vw, &vh));
      KORVrcRenderingMode mode = KORVrcRenderingMono;
      KORVrcMirrorMode mirror = KORVrcMirrorNone;
      if (SUCCEEDED(window->GetRenderingSpec(spec.Out()))) {
        got(spec->GetRenderingMode(&mode));
        got(spec->GetMirrorMode(&mirror));
      }
      got(window->GetView(view.Out()));
      out << " window " << name(window) << ' ' << l << ' ' << t << ' ' << vw << ' ' << vh << ' '
          << mode << ' ' << mirror << ' ' << name(view) << '\n';
    });
  });

  KORIVrcGraphicSpecs_var specs;
  got(iFactory->RetrieveGraphicSpecs(specs.Out()));
  got(specs->GetViews(&list));
  each(list, [&](KORBaseUnknown* iEntry) {
    KORIVrcHead_var head;
    got(KORQuery<KORIVrcView>(iEntry)->GetHead(head.Out()));
    out << "view " << name(iEntry) << " head " << name(head);
    if (auto screen = KORQuery<KORIVrcScreenView>(iEntry)) {
      KORIVrcProjectionArea_var area;
      double c[9] = {};
      if (SUCCEEDED(screen->GetProjectionArea(area.Out()))) {
        got(area->GetUpperLeft(&c[0], &c[1], &c[2]));
        got(area->GetLowerLeft(&c[3], &c[4], &c[5]));
        got(area->GetLowerRight(&c[6], &c[7], &c[8]));
      }
      for (double v : c)
        out << ' ' << v;
    }
    if (auto camera = KORQuery<KORIVrcCameraView>(iEntry)) {
      double a = 0, b = 0, c = 0, d = 0;
      got(camera->GetAngles(a, b, c, d));
      out << " camera " << a << ' ' << b << ' ' << c << ' ' << d;
    }
    out << '\n';
  });
  got(specs->GetHeads(&list));
  each(list, [&](KORBaseUnknown* iEntry) {
    auto head = KORQuery<KORIVrcHead>(iEntry);
    double ipd = 0;
    KORVrcHeadType type = KORVrcHeadCustom;
    KORIVrcTracker_var tracker;
    KORMathTransformation location;
    got(head->GetIPD(&ipd));
    got(head->GetType(&type));
    got(head->GetViewPointTracker(tracker.Out()));
    got(KORQuery<KORIVrcTrackedElement>(head)->GetLocation(location));
    out << "head " << name(head) << ' ' << ipd << ' ' << type << ' ' << name(tracker) << ' ';
    transformation(location);
    out << '\n';
  });

  KORIVrcDevices_var devices;
  got(iFactory->RetrieveDevices(devices.Out()));
  got(devices->GetTrackingStations(&list));
  each(list, [&](KORBaseUnknown* iEntry) {
    auto station = KORQuery<KORIVrcTrackingStation>(iEntry);
    KORVrcTrackingStationType type = KORVrcStationCustom;
    int port = 0, speed = 0;
    KORUnicodeString daemon;
    KORMathTransformation ref;
    got(station->GetType(type));
    got(station->GetPort(port));
    got(station->GetSpeed(speed));
    got(station->GetDaemonName(daemon));
    got(station->GetRef(ref));
    out << "station " << name(station) << ' ' << type << ' ' << port << ' ' << speed << ' '
        << daemon << ' ';
    transformation(ref);
    out << '\n';
    KORListValKORBaseUnknown_var* trackers = nullptr;
    got(station->GetTrackers(&trackers));
    each(trackers, [&](KORBaseUnknown* iTrackerEntry) {
      auto tracker = KORQuery<KORIVrcTracker>(iTrackerEntry);
      KORMathTransformation offset;
      KORIVrcTrackedElement_var followed;
      got(tracker->GetOffset(offset));
      KORIgnoreResult(tracker->GetTrackedElement(followed.Out()),
                      "a spare tracker follows nothing, and shows as -");
      out << " tracker " << name(tracker) << ' ' << name(followed) << ' ';
      transformation(offset);
      out << '\n';
    });
  });
  KORIVrcHandDevice_var hand;
  got(iFactory->RetrieveHandDevice(hand.Out()));
  KORVrcHandDeviceType handType = KORVrcHandCustom;
  KORIVrcTracker_var picking;
  KORISpecObject_var manager;
  got(hand->GetType(&handType));
  got(hand->GetPickingTracker(picking.Out()));
  got(hand->GetButtonManager(manager.Out()));
  out << "hand " << handType << ' ' << name(picking) << ' ' << name(manager) << '\n';
  got(devices->GetButtonDevices(&list));
  each(list, [&](KORBaseUnknown* iEntry) {
    auto device = KORQuery<KORIVrcButtonDevice>(iEntry);
    KORVrcButtonDeviceType type = KORVrcButtonCustom;
    int port = 0, speed = 0;
    KORUnicodeString daemon;
    got(device->GetType(type));
    got(device->GetPort(port));
    got(device->GetSpeed(speed));
    got(device->GetDaemonName(daemon));
    out << "button " << name(device) << ' ' << type << ' ' << port << ' ' << speed << ' ' << daemon
        << '\n';
  });
  return out.str();
}

TEST_F(DocumentFileTest, ASavedAndReloadedConfigurationAnswersEveryGetterAsBefore) {
  ConfigBuilder build(factory);
  KORIVrcIG_var ig = build.IG("visu2:0.1", 1920, 1080);
  build.Screen("Wall", {1500, 1500, 1500}, {1500, 1500, -1500}, {1500, -1500, -1500});
  build.Camera("Cam", 1.2, 0.1, 0.9, -0.05);
  build.MainWindow(build.Window(ig, "Front", {0, 0, 1, 1}, "Wall", KORVrcRenderingStereo).get());
  build.Window(ig, "Side", {0.5, 0, 0.5, 1}, "Cam", KORVrcRenderingLeft, KORVrcMirrorBoth);
  KORIVrcTrackingStation_var station = build.Station("Tracker", KORVrcStationIS900, "Polhemus1", 2,
                                                     115200, ConfigBuilder::Placement(0, 0, -750));
  KORIVrcTracker_var headTracker = build.Tracker(station, 1, "head");
  ASSERT_EQ(Hand()->SetPickingTracker(build.Tracker(station, 2, "hand").get()), S_OK);
  build.Tracker(station, 3);
  ASSERT_EQ(Head()->SetViewPointTracker(headTracker), S_OK);
  ASSERT_EQ(Head()->SetType(KORVrcHeadCrystalEyes), S_OK);
  KORMathTransformation best;
  ASSERT_EQ(headTracker->GetBestOffset(best), S_OK);
  ASSERT_EQ(headTracker->SetOffset(best), S_OK);
  ASSERT_EQ(
      Hand()->SetButtonManager(build.ButtonDevice("Wand", KORVrcButtonNeoWand, "wandd", 3).get()),
      S_OK);

  const std::string before = Snapshot(factory);
  const std::string path = directory + "/round.KORProduct";
  std::string error;
  ASSERT_EQ(KORSaveDocument(*document, path, error), S_OK) << error;
  KORSmartPtr<KORDocument> loaded;
  ASSERT_EQ(KORLoadDocument(path, loaded, error), S_OK) << error;
  auto loadedFactory = KORQuery<KORIVrcFactory>(loaded);
  EXPECT_EQ(Snapshot(loadedFactory), before);
  EXPECT_EQ(before.find("<failed>"), std::string::npos) << before;
  EXPECT_NE(before.find("station Tracker 1 2 115200 Polhemus1"), std::string::npos) << before;
}
} // namespace
