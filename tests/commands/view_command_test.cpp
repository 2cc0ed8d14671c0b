// The view command and its dialog, through the driver as a person uses them:
// the screen and camera forms converted on tab changes, refused values
// keeping the tab shown, creation, editing, Apply and Cancel, pre-selection,
// growing a screen by picking another, and what an edit redraws.
#include "CommandFixture.h"
#include "featurestore/KORLifeCycleObject.h"

#include <cmath>
#include <map>
#include <numbers>
#include <set>

namespace {
using Lines = std::vector<KORString>;
using Corners = std::array<double, 9>; // upper-left, lower-left, lower-right

// 2 atan(0.5) in degrees: the default screen's fields of view from the origin.
constexpr const char* kDefaultFov = "53.13010235415598";

Lines ExpectCorners(const Corners& iCorners) {
  const char* fields[] = {"ulXSpinEdit", "ulYSpinEdit", "ulZSpinEdit", "llXSpinEdit", "llYSpinEdit",
                          "llZSpinEdit", "lrXSpinEdit", "lrYSpinEdit", "lrZSpinEdit"};
  Lines lines;
  for (std::size_t i = 0; i < iCorners.size(); ++i)
    lines.push_back("expect " + KORString(fields[i]) + " " + std::to_string(iCorners[i]));
  return lines;
}
} // namespace

class ViewCommandTest : public DriverTest {
protected:
  std::vector<KORIVrcView_var> Views() {
    return Listed<KORIVrcView>(Specs(), &KORIVrcGraphicSpecs::GetViews);
  }
  std::vector<KORBaseUnknown_var> Areas() {
    return Listed(Specs(), &KORIVrcGraphicSpecs::GetProjectionAreas);
  }
  Names ViewNames() { return NamesOf(Views()); }
  std::size_t AreaCount() { return Areas().size(); }
  // Removes what a case made, so that the next one starts from the default
  // configuration.
  void RemoveViewsAndAreas() {
    for (const auto& view : Views())
      ASSERT_EQ(KORQuery<LifeCycleObject>(view)->remove(), S_OK);
    for (const auto& area : Areas())
      ASSERT_EQ(KORQuery<LifeCycleObject>(area)->remove(), S_OK);
  }
};

TEST_F(ViewCommandTest, TabChangesConvertAndRefuseAsTheValuesDecide) {
  struct Case {
    const char* what;
    Lines lines; // after "start btnCreateView"
    Names viewsAfter = {};
  };
  const Case cases[] = {
      {"the default screen seen from the head at the origin",
       {"tab ScreenAnglesTab", "expect ScreenTabContainer ScreenAnglesTab",
        "expect fHeadSpinEdit 0", "expect fPitchSpinEdit 0", "expect DistanceSpinEdit 3000",
        "expect HshiftSpinEdit 0", "expect VshiftSpinEdit 0",
        KORString("expect HfovSpinEdit ") + kDefaultFov,
        KORString("expect VfovSpinEdit ") + kDefaultFov}},
      {"the default screen by size",
       {"tab ScreenSizeTab", "expect WidthSpinEdit 3000", "expect HeightSpinEdit 3000",
        "expect HeadSpinEdit 0", "expect PitchSpinEdit 0", "expect CenterXSpinEdit 3000",
        "expect CenterYSpinEdit 0", "expect CenterZSpinEdit 0"}},
      {"angles typed come back as corners",
       {"tab ScreenAnglesTab", "set DistanceSpinEdit 1000", "set HfovSpinEdit 90",
        "set HshiftSpinEdit 45", "tab ScreenCornersTab", "expect ulXSpinEdit 1000",
        "expect ulYSpinEdit 0", "expect ulZSpinEdit 500", "expect llYSpinEdit 0",
        "expect lrYSpinEdit -2000", "expect lrZSpinEdit -500"}},
      {"a size typed comes back as corners, facing the head and pitched down",
       {"tab ScreenSizeTab", "set WidthSpinEdit 2000", "set HeightSpinEdit 1000",
        "set HeadSpinEdit 90", "set PitchSpinEdit 30", "set CenterXSpinEdit 0",
        "set CenterYSpinEdit 0", "set CenterZSpinEdit 0", "tab ScreenCornersTab",
        // Facing +Y, its top leaning away from the viewer by 30 degrees.
        "expect ulXSpinEdit -1000", "expect ulYSpinEdit 250", "expect ulZSpinEdit 433.0127019",
        "expect llXSpinEdit -1000", "expect llYSpinEdit -250", "expect llZSpinEdit -433.0127019",
        "expect lrXSpinEdit 1000", "expect lrYSpinEdit -250"}},
      {"corners with LR = LL keep the corners tab",
       {"set lrYSpinEdit 1500", "tab ScreenAnglesTab", "expect ScreenTabContainer ScreenCornersTab",
        "expect-message \"make no screen\"", "tab ScreenSizeTab",
        "expect ScreenTabContainer ScreenCornersTab"}},
      {"a rolled screen keeps the corners tab, whatever its size",
       {"set lrZSpinEdit -1499.9", "tab ScreenSizeTab",
        "expect ScreenTabContainer ScreenCornersTab", "expect lrZSpinEdit -1499.9"}},
      {"an upside-down screen is refused",
       {"set ulZSpinEdit -4500", "tab ScreenAnglesTab",
        "expect ScreenTabContainer ScreenCornersTab"}},
      {"a distance of 0 keeps the angles tab",
       {"tab ScreenAnglesTab", "set DistanceSpinEdit 0", "tab ScreenSizeTab",
        "expect ScreenTabContainer ScreenAnglesTab",
        "expect-message \"These angles make no screen\""}},
      {"a field of view of 180 degrees keeps the angles tab",
       {"tab ScreenAnglesTab", "set HfovSpinEdit 180", "tab ScreenCornersTab",
        "expect ScreenTabContainer ScreenAnglesTab", "set HfovSpinEdit 179", "tab ScreenCornersTab",
        "expect ScreenTabContainer ScreenCornersTab"}},
      {"a screen through the head's eye gives no angles",
       {"set ulXSpinEdit 0", "set llXSpinEdit 0", "set lrXSpinEdit 0", "tab ScreenAnglesTab",
        "expect ScreenTabContainer ScreenCornersTab", "expect-message \"lies in its plane\"",
        "tab ScreenSizeTab", "expect ScreenTabContainer ScreenSizeTab"}},
      {"invalid angles refuse OK and write nothing",
       {"tab ScreenAnglesTab", "set VfovSpinEdit 0", "press OK",
        "expect ScreenTabContainer ScreenAnglesTab"}},
      {"a new camera shows the default 60 degrees as a frustum",
       {"tab CameraTabPage", "expect CamTabContainer CamFrustumTab",
        "expect CamLeftSpinEdit -0.5773502691896257", "expect CamRightSpinEdit 0.5773502691896257",
        "expect CamTopSpinEdit 0.5773502691896257",
        "expect CamBottomSpinEdit -0.5773502691896257"}},
      {"the frustum +-1 is 90 degrees without shifts",
       {"tab CameraTabPage", "set CamLeftSpinEdit -1", "set CamRightSpinEdit 1",
        "set CamTopSpinEdit 1", "set CamBottomSpinEdit -1", "tab CamAnglesTab",
        "expect CamHfovSpinEdit 90", "expect CamVfovSpinEdit 90", "expect CamHshiftSpinEdit 0",
        "expect CamVshiftSpinEdit 0"}},
      {"camera angles typed come back as a frustum",
       {"tab CameraTabPage", "tab CamAnglesTab", "set CamHfovSpinEdit 90",
        "set CamHshiftSpinEdit 45", "tab CamFrustumTab", "expect CamLeftSpinEdit 0",
        "expect CamRightSpinEdit 2"}},
      {"a camera shift of 90 degrees is refused",
       {"tab CameraTabPage", "tab CamAnglesTab", "set CamHshiftSpinEdit 90", "press OK",
        "expect-message \"make no camera\"", "set CamHshiftSpinEdit 89.9", "press OK"},
       {"View1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Perform({"start btnCreateView", "expect NameEditor View1"});
    Perform(c.lines);
    EXPECT_EQ(ViewNames(), c.viewsAfter);
    if (DialogOpen())
      Perform({"press Cancel"});
    RemoveViewsAndAreas();
  }
}

TEST_F(ViewCommandTest, AnglesAreSeenFromWhereTheHeadIs) {
  Place(Head().get(), ConfigBuilder::Placement(1000, 0, 500));
  // The default screen, 2000 mm ahead, its centre 500 mm below the eyes.
  Perform({"start btnCreateView", "tab ScreenAnglesTab", "expect DistanceSpinEdit 2000",
           "expect HfovSpinEdit " + std::to_string(2 * std::atan(0.75) * 180 / std::numbers::pi),
           "expect VshiftSpinEdit " + std::to_string(std::atan(-0.25) * 180 / std::numbers::pi),
           "set VshiftSpinEdit 0", "tab ScreenCornersTab", "expect ulZSpinEdit 2000",
           "expect llXSpinEdit 3000"});
}

TEST_F(ViewCommandTest, OKWritesTheShownFormIntoTheNewView) {
  Perform({"start btnCreateView", "tab ScreenSizeTab", "set CenterZSpinEdit 100", "press OK",
           "start btnCreateView", "expect NameEditor View2", "tab CameraTabPage",
           "tab CamAnglesTab", "set CamHfovSpinEdit 90", "set CamVshiftSpinEdit -10", "press OK"});
  EXPECT_EQ(ViewNames(), (Names{"View1", "View2"}));
  auto views = Views();
  auto screen = KORQuery<KORIVrcScreenView>(views[0]);
  ASSERT_TRUE(screen);
  const Corners expected{3000, 1500, 1600, 3000, 1500, -1400, 3000, -1500, -1400};
  const Corners made = ConfigBuilder::CornersOf(screen.get());
  for (std::size_t i = 0; i < made.size(); ++i)
    EXPECT_NEAR(made[i], expected[i], 1e-9) << "coordinate " << i;
  auto camera = KORQuery<KORIVrcCameraView>(views[1]);
  ASSERT_TRUE(camera);
  double hfov = 0, hshift = 0, vfov = 0, vshift = 0;
  ASSERT_EQ(camera->GetAngles(hfov, hshift, vfov, vshift), S_OK);
  constexpr double kDegree = std::numbers::pi / 180;
  EXPECT_NEAR(hfov, 90 * kDegree, 1e-12);
  EXPECT_NEAR(hshift, 0, 1e-12);
  EXPECT_NEAR(vfov, 60 * kDegree, 1e-12);
  EXPECT_NEAR(vshift, -10 * kDegree, 1e-12);
}

TEST_F(ViewCommandTest, ApplyThenCancelDeletesTheNewViewAndItsArea) {
  // Under the frame's transaction first, then by the command's own deletion.
  for (bool own : {false, true})
    for (const char* type : {"ScreenTabPage", "CameraTabPage"}) {
      SCOPED_TRACE(type);
      if (own)
        WithoutTransactions();
      Perform({"start btnCreateView", KORString("tab ") + type, "press Apply"});
      EXPECT_EQ(ViewNames(), (Names{"View1"}));
      // Once made, the view stays of its type.
      Perform({"tab ScreenTabPage", KORString("expect TypeTabContainer ") + type, "press Cancel"});
      EXPECT_EQ(ViewNames(), Names{});
      EXPECT_EQ(AreaCount(), 0u);
    }
}

TEST_F(ViewCommandTest, EditingAViewAndCancellingRestoresIt) {
  WithoutTransactions();
  auto screen =
      build.Screen("Front", {3000, 1500, 1500}, {3000, 1500, -1500}, {3000, -1500, -1500});
  auto camera = build.Camera("Cam", 0.5, 0.1, 0.4, -0.2);
  const Corners before = ConfigBuilder::CornersOf(screen.get());
  Perform({"edit view:Front", "expect NameEditor Front", "expect TypeTabContainer ScreenTabPage"});
  Perform(ExpectCorners(before));
  Perform({"tab CameraTabPage", "expect TypeTabContainer ScreenTabPage",
           "expect-message \"stays a screen\"", "set NameEditor Cam", "press OK",
           "expect-message \"already the name\"", "set NameEditor Moved", "set ulZSpinEdit 2000",
           "set llZSpinEdit -1000", "set lrZSpinEdit -1000", "press Apply"});
  EXPECT_EQ(ViewNames(), (Names{"Moved", "Cam"}));
  EXPECT_EQ(ConfigBuilder::CornersOf(screen.get()),
            (Corners{3000, 1500, 2000, 3000, 1500, -1000, 3000, -1500, -1000}));
  Perform({"press Cancel"});
  EXPECT_EQ(ViewNames(), (Names{"Front", "Cam"}));
  EXPECT_EQ(ConfigBuilder::CornersOf(screen.get()), before);
  EXPECT_EQ(AreaCount(), 1u) << "editing makes no area";

  Perform({"edit view:Cam", "expect TypeTabContainer CameraTabPage", "tab CamAnglesTab",
           "expect CamHfovSpinEdit " + std::to_string(0.5 * 180 / std::numbers::pi),
           "set CamHfovSpinEdit 100", "set NameEditor Cam", "press Apply", "press Cancel"});
  double hfov = 0, hshift = 0, vfov = 0, vshift = 0;
  ASSERT_EQ(camera->GetAngles(hfov, hshift, vfov, vshift), S_OK);
  EXPECT_DOUBLE_EQ(hfov, 0.5);
  EXPECT_DOUBLE_EQ(vshift, -0.2);
}

TEST_F(ViewCommandTest, APreSelectedViewIsCopiedIntoANewOne) {
  build.Screen("View1", {0, 1000, 2000}, {0, 1000, 0}, {0, -1000, 0});
  build.Camera("Cam", 0.5, 0.1, 0.4, -0.2);
  Perform({"select view:View1", "start btnCreateView", "expect NameEditor View2",
           "expect TypeTabContainer ScreenTabPage"});
  Perform(ExpectCorners({0, 1000, 2000, 0, 1000, 0, 0, -1000, 0}));
  Perform({"press Cancel", "select view:Cam", "start btnCreateView",
           "expect TypeTabContainer CameraTabPage", "tab CamAnglesTab",
           "expect CamVshiftSpinEdit " + std::to_string(-0.2 * 180 / std::numbers::pi),
           "tab ScreenTabPage", "expect TypeTabContainer ScreenTabPage"});
}

TEST_F(ViewCommandTest, APickedScreenGrowsTheScreenWhenItIsParallelAndAligned) {
  // Beside the default screen, to its right; then a side wall at right angles.
  build.Screen("Right", {3000, -1500, 1500}, {3000, -1500, -1500}, {3000, -4500, -1500});
  build.Screen("Side", {0, -1500, 1500}, {0, -1500, -1500}, {3000, -1500, -1500});
  build.Camera("Cam", 0.5, 0, 0.5, 0);
  Perform({"start btnCreateView", "pick view:Side", "pick view:Cam"});
  Perform(ExpectCorners({3000, 1500, 1500, 3000, 1500, -1500, 3000, -1500, -1500}));
  Perform({"tab ScreenSizeTab", "pick view:Right", "expect WidthSpinEdit 6000",
           "expect CenterYSpinEdit -1500", "tab ScreenCornersTab"});
  Perform(ExpectCorners({3000, 1500, 1500, 3000, 1500, -1500, 3000, -4500, -1500}));
}

// Editing a screen must redraw that view and the groups above it, in 3D, and
// nothing else; the schematic, which shows windows and not screens, stays.
TEST_F(ViewCommandTest, EditingAScreenRebuildsThatViewAndItsGroupsOnly) {
  auto edited =
      build.Screen("Front", {3000, 1500, 1500}, {3000, 1500, -1500}, {3000, -1500, -1500});
  auto other = build.Screen("Other", {0, 1500, 1500}, {0, 1500, -1500}, {0, -1500, -1500});
  auto ig = build.IG("localhost:0.0");
  auto window = build.Window(ig, "FrontWin", {0, 0, 1, 1}, "Front");
  KORVisManager& manager = frame.VisManager();
  ASSERT_EQ(manager.Attach(document), S_OK);
  KORIContainer_var container;
  ASSERT_EQ(factory->RetrieveVrcContainer(container.Out()), S_OK);
  using enum KORVisDimension;
  const struct {
    const char* name;
    KORBaseUnknown_var element;
    std::vector<KORVisDimension> dimensions;
  } watched[] = {{"container", KORQuery<KORBaseUnknown>(container), {ThreeD, TwoD}},
                 {"config", KORBaseUnknown_var(Config()), {ThreeD, TwoD}},
                 {"resources", KORBaseUnknown_var(Resources()), {ThreeD, TwoD}},
                 {"ig", KORBaseUnknown_var(ig), {TwoD}},
                 {"window", KORBaseUnknown_var(window), {TwoD}},
                 {"specs", KORBaseUnknown_var(Specs()), {ThreeD}},
                 {"devices", KORBaseUnknown_var(Devices()), {ThreeD}},
                 {"head", KORBaseUnknown_var(Head()), {ThreeD}},
                 {"hand", KORBaseUnknown_var(Hand()), {ThreeD}},
                 {"edited", KORBaseUnknown_var(edited), {ThreeD}},
                 {"other", KORBaseUnknown_var(other), {ThreeD}}};
  auto builds = [&] {
    std::map<std::string, int> counts;
    for (const auto& w : watched)
      for (KORVisDimension dimension : w.dimensions) {
        const std::string name = w.name + std::string(dimension == TwoD ? " 2D" : "");
        EXPECT_TRUE(manager.GetRep(w.element.get(), dimension).get()) << name;
        counts[name] = manager.GetBuildCount(w.element.get(), dimension);
      }
    return counts;
  };
  const auto before = builds();
  Perform({"edit view:Front", "set ulZSpinEdit 2000", "press OK"});
  const auto after = builds();
  std::set<std::string> rebuilt;
  for (const auto& [name, count] : after) {
    EXPECT_LE(count - before.at(name), 1) << name << " built more than once";
    if (count != before.at(name))
      rebuilt.insert(name);
  }
  EXPECT_EQ(rebuilt, (std::set<std::string>{"edited", "specs", "config", "container"}));
  manager.Detach();
}
