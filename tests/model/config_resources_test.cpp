// The configuration root and the graphic resources branch: image generators,
// windows, viewports, renderings and rendering specifications.
#include "ConfigBuilder.h"

#include "featurestore/KORISpecAttrAccess.h"
#include "featurestore/KORISpecObject.h"

#include <functional>

namespace {
using Kind = KORNotificationKind;

int WindowCount(KORIVrcWindow* iWindow) {
  int count = -1;
  EXPECT_EQ(KORQuery<KORISpecAttrAccess>(iWindow)->GetInteger("Count", count), S_OK);
  return count;
}
} // namespace

class ConfigResourcesTest : public BuildTest {
protected:
  auto IGs() { return Listed(Resources(), &KORIVrcGraphicResources::GetIGs); }
  static auto Windows(KORIVrcIG* iIG) { return Listed(iIG, &KORIVrcIG::GetWindows); }
};

// GetID failed on an identifier stored with upper-case hexadecimal digits.
TEST_F(ConfigResourcesTest, IdentifierInUpperCaseIsRead) {
  auto config = Config();
  auto attributes = KORQuery<KORISpecAttrAccess>(config);
  ASSERT_EQ(attributes->SetString("ConfigID", "1A_0_FFFFFFFF_ABCDEF"), S_OK);
  KORUuid read;
  ASSERT_EQ(config->GetID(read), S_OK);
  EXPECT_EQ(read, (KORUuid{{0x1a, 0x0, 0xffffffff, 0xabcdef}}));
  ASSERT_EQ(attributes->SetString("ConfigID", "not an identifier"), S_OK);
  EXPECT_EQ(config->GetID(read), E_FAIL);
}

TEST_F(ConfigResourcesTest, HostAndDisplayNamesSplitAtAColonAfterTheHost) {
  struct Case {
    const char* name;
    const char* host;
    const char* display;
  };
  auto ig = build.IG("visu2:0.1");
  for (const Case& c : {Case{"visu2:0.1", "visu2", ":0.1"}, Case{":0.0", "localhost", ":0.0"},
                        Case{"visu2", "localhost", "visu2"}}) {
    ASSERT_EQ(ig->SetName(c.name), S_OK);
    KORUnicodeString host, display;
    ASSERT_EQ(ig->GetHostName(host), S_OK);
    ASSERT_EQ(ig->GetDisplayName(display), S_OK);
    EXPECT_EQ(host, c.host) << c.name;
    EXPECT_EQ(display, c.display) << c.name;
  }
}

TEST_F(ConfigResourcesTest, AddWindowAnnouncesCreationOnlyWhenAsked) {
  auto ig = build.IG("visu1:0.0");
  auto silent = Bare<KORIVrcWindow>("KORVrcWindow");
  auto announced = Bare<KORIVrcWindow>("KORVrcWindow");
  TakeHeard();
  ASSERT_EQ(ig->AddWindow(silent, 0), S_OK);
  ASSERT_EQ(ig->AddWindow(announced, 1), S_OK);
  EXPECT_EQ(CountHeard(Kind::Create, silent), 0);
  EXPECT_EQ(CountHeard(Kind::Create, announced), 1);

  auto windows = Windows(ig);
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_TRUE(Same(windows[0], silent));
  EXPECT_TRUE(Same(windows[1], announced));
  // Both joined the generator's event chain, announced or not.
  TakeHeard();
  ASSERT_EQ(silent->SetName("Left"), S_OK);
  EXPECT_EQ(CountHeard(Kind::Modify, silent), 1);

  ASSERT_EQ(ig->RemoveWindow(silent), S_OK);
  EXPECT_FALSE(Holds(Windows(ig), silent));
  EXPECT_EQ(ig->RemoveWindow(silent), S_OK); // already gone
  EXPECT_EQ(ig->AddWindow(nullptr, 1), E_FAIL);
}

TEST_F(ConfigResourcesTest, DownCountReleasesTheWindowOnItsLastUse) {
  auto ig = build.IG("visu1:0.0");
  auto window = build.Window(ig, "W");
  ASSERT_EQ(window->ResetCount(), S_OK);
  for (int i = 0; i < 3; ++i)
    ASSERT_EQ(window->UpCount(), S_OK);
  ASSERT_EQ(window->DownCount(), S_OK);
  EXPECT_EQ(WindowCount(window), 2);
  EXPECT_TRUE(Holds(Windows(ig), window));

  ASSERT_EQ(window->DownCount(), S_OK);
  EXPECT_EQ(WindowCount(window), 1);
  ASSERT_EQ(window->DownCount(), S_OK);
  EXPECT_FALSE(Holds(Windows(ig), window));
  EXPECT_TRUE(KORQuery<KORISpecObject>(window)->IsDeleted())
      << "a window taken out of its generator stayed in the document";

  // No image generator to leave.
  auto orphan = Bare<KORIVrcWindow>("KORVrcWindow");
  EXPECT_EQ(orphan->DownCount(), E_FAIL);
}

TEST_F(ConfigResourcesTest, RenderingLinksStoreReferencesAndNullClears) {
  auto ig = build.IG("visu1:0.0");
  auto window = build.Window(ig, "W");
  auto view = Bare<KORIVrcView>("KORVrcScreenView");
  auto spec = Bare<KORIVrcRenderingSpec>("KORVrcRenderingSpec");
  auto rendering = Bare<KORIVrcRendering>("KORVrcRendering");
  ASSERT_EQ(rendering->SetWindow(window), S_OK);
  ASSERT_EQ(rendering->SetRenderingSpec(spec), S_OK);
  ASSERT_EQ(rendering->SetView(view), S_OK);

  EXPECT_TRUE(Holds(Windows(ig), window)); // referenced, not taken over

  // A view cannot be cleared; the others can.
  EXPECT_EQ(rendering->SetView(nullptr), E_FAIL);
  KORIVrcView_var linkedView;
  ASSERT_EQ(rendering->GetView(linkedView.Out()), S_OK);
  EXPECT_TRUE(Same(linkedView, view));
  ASSERT_EQ(rendering->SetWindow(nullptr), S_OK);
  ASSERT_EQ(rendering->SetRenderingSpec(nullptr), S_OK);
  KORIVrcWindow_var linkedWindow;
  EXPECT_EQ(rendering->GetWindow(linkedWindow.Out()), E_FAIL);
  KORIVrcRenderingSpec_var linkedSpec;
  EXPECT_EQ(rendering->GetRenderingSpec(linkedSpec.Out()), E_FAIL);
}

TEST_F(ConfigResourcesTest, BareRenderingSpecificationHasNoModeAndNoMirror) {
  auto bare = Bare<KORIVrcRenderingSpec>("KORVrcRenderingSpec");
  KORVrcMirrorMode mirror = KORVrcMirrorBoth;
  EXPECT_EQ(bare->GetMirrorMode(&mirror), E_FAIL);
  EXPECT_EQ(mirror, KORVrcMirrorNone);
  KORVrcRenderingMode mode = KORVrcRenderingLeft;
  EXPECT_EQ(bare->GetRenderingMode(&mode), E_FAIL);
  EXPECT_EQ(mode, KORVrcRenderingLeft);
}

TEST_F(ConfigResourcesTest, ViewportValuesAndTheWindowsSilentLink) {
  KORIVrcViewport_var viewport;
  ASSERT_EQ(factory->CreateViewport(0.25, 0.5, 0.75, 1.0, viewport.Out()), S_OK);
  double left = -1, top = -1, width = -1, height = -1;
  EXPECT_EQ(viewport->GetViewport(&left, nullptr, &width, &height), E_FAIL);

  auto bare = Bare<KORIVrcViewport>("KORVrcViewport");
  EXPECT_EQ(bare->GetViewport(&left, &top, &width, &height), E_FAIL);
  EXPECT_EQ(left, 0.0);
  EXPECT_EQ(height, 0.0);

  auto window = build.Window(build.IG("visu1:0.0").get(), "W");
  TakeHeard();
  ASSERT_EQ(window->SetViewport(bare), S_OK);
  EXPECT_EQ(CountHeard(Kind::Modify, window), 0);
  KORIVrcViewport_var linked;
  ASSERT_EQ(window->GetViewport(linked.Out()), S_OK);
  EXPECT_TRUE(Same(linked, bare));
  EXPECT_EQ(window->SetViewport(nullptr), E_FAIL);
}

TEST_F(ConfigResourcesTest, RemoveIGPlainOrByEmptyingItsEntry) {
  auto plain = build.IG("visu1:0.0");
  auto emptied = build.IG("visu2:0.0");
  auto kept = build.IG("visu3:0.0");
  ASSERT_EQ(Resources()->RemoveIG(plain, 1), S_OK);
  EXPECT_FALSE(Holds(IGs(), plain));
  EXPECT_TRUE(KORQuery<KORISpecObject>(plain)->IsDeleted());

  // While listed, the generator's changes reach the root; once its entry is
  // emptied it is removed and has left the chain.
  TakeHeard();
  ASSERT_EQ(emptied->SetPixelWidth(800), S_OK);
  EXPECT_EQ(CountHeard(Kind::Modify, emptied), 1);
  ASSERT_EQ(Resources()->RemoveIG(emptied, 0), S_OK);
  auto igs = IGs();
  EXPECT_FALSE(Holds(igs, emptied));
  EXPECT_TRUE(Holds(igs, kept));
  EXPECT_TRUE(KORQuery<KORISpecObject>(emptied)->IsDeleted());
  TakeHeard();
  EXPECT_EQ(emptied->SetPixelWidth(640), E_FAIL);
  EXPECT_EQ(CountHeard(Kind::Modify, emptied), 0);

  EXPECT_EQ(Resources()->RemoveIG(nullptr, 0), E_FAIL);
}

// RemoveIG with the plain flag clear disconnected a generator it does not list.
TEST_F(ConfigResourcesTest, RemoveIGOfAGeneratorListedElsewhereChangesNothing) {
  auto ig = build.IG("visu1:0.0");
  auto other = Bare<KORIVrcGraphicResources>("KORVrcGraphicResources");
  ASSERT_EQ(other->RemoveIG(ig, 0), S_OK);
  EXPECT_TRUE(Holds(IGs(), ig));
  TakeHeard();
  ASSERT_EQ(ig->SetPixelWidth(800), S_OK);
  EXPECT_EQ(CountHeard(Kind::Modify, ig), 1) << "the generator left its father's event chain";
}

// The list removers answered success on an element without attribute access.
TEST_F(ConfigResourcesTest, ListRemoversFailOnAnElementWithoutAttributes) {
  // Element and child alike are loose: the child only has to be there.
  auto ig = KORLooseElement::Make<KORIVrcIG>("KORVrcIG");
  auto window = KORLooseElement::Make<KORIVrcWindow>("KORVrcWindow");
  auto rendering = KORLooseElement::Make<KORIVrcRendering>("KORVrcRendering");
  auto view = KORLooseElement::Make<KORIVrcView>("KORVrcScreenView");
  auto head = KORLooseElement::Make<KORIVrcHead>("KORVrcHead");
  auto area = KORLooseElement::Make<KORIVrcProjectionArea>("KORVrcProjectionArea");
  auto station = KORLooseElement::Make<KORIVrcTrackingStation>("KORVrcTrackingStation");
  auto hand = KORLooseElement::Make<KORIVrcHandDevice>("KORVrcHandDevice");
  auto button = KORLooseElement::Make<KORIVrcButtonDevice>("KORVrcButtonDevice");
  auto tracker = KORLooseElement::Make<KORIVrcTracker>("KORVrcTracker");
  auto region = KORLooseElement::Make<KORIVrcRegion>("KORVrcRegion");
  auto config = KORLooseElement::Make<KORIVrcConfig>("KORVrcConfig");
  auto resources = KORLooseElement::Make<KORIVrcGraphicResources>("KORVrcGraphicResources");
  auto specs = KORLooseElement::Make<KORIVrcGraphicSpecs>("KORVrcGraphicSpecs");
  auto devices = KORLooseElement::Make<KORIVrcDevices>("KORVrcDevices");
  auto decomposition = KORLooseElement::Make<KORIVrcDecomposition>("KORVrcDecomposition");
  for (KORBaseUnknown* element : std::initializer_list<KORBaseUnknown*>{
           ig, window, rendering, view, head, area, station, hand, button, tracker, region, config,
           resources, specs, devices, decomposition})
    ASSERT_NE(element, nullptr);
  const std::pair<const char*, std::function<HRESULT()>> removals[] = {
      {"RemoveRendering", [&] { return config->RemoveRendering(rendering); }},
      {"RemoveIG plain", [&] { return resources->RemoveIG(ig, 1); }},
      {"RemoveIG emptying", [&] { return resources->RemoveIG(ig, 0); }},
      {"RemoveWindow", [&] { return ig->RemoveWindow(window); }},
      {"RemoveView", [&] { return specs->RemoveView(view); }},
      {"RemoveProjectionArea", [&] { return specs->RemoveProjectionArea(area); }},
      {"RemoveHead", [&] { return specs->RemoveHead(head); }},
      {"RemoveTrackingStation", [&] { return devices->RemoveTrackingStation(station); }},
      {"RemoveHandDevice", [&] { return devices->RemoveHandDevice(hand); }},
      {"RemoveButtonDevice", [&] { return devices->RemoveButtonDevice(button); }},
      {"RemoveTracker", [&] { return station->RemoveTracker(tracker); }},
      {"RemoveRegion", [&] { return decomposition->RemoveRegion(region); }},
  };
  for (const auto& [name, remove] : removals)
    EXPECT_EQ(remove(), E_FAIL) << name;
}

TEST_F(ConfigResourcesTest, ReconnectHooksWindowsBackThroughTheWholeTree) {
  auto ig = build.IG("visu1:0.0");
  // A window stored under the generator by the feature store alone, as after
  // a load: its events go nowhere yet.
  auto window = Bare<KORIVrcWindow>("KORVrcWindow");
  ASSERT_EQ(KORQuery<KORISpecAttrAccess>(ig)->AppendLink("Windows",
                                                         KORQuery<KORISpecObject>(window).get()),
            S_OK);
  TakeHeard();
  ASSERT_EQ(window->SetName("Loaded"), S_OK);
  ASSERT_EQ(CountHeard(Kind::Modify, window), 0);

  ASSERT_EQ(Config()->Reconnect(), S_OK);
  TakeHeard();
  ASSERT_EQ(window->SetName("Reconnected"), S_OK);
  EXPECT_EQ(CountHeard(Kind::Modify, window), 1);
}
