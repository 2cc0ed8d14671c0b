// The visualization manager over the module's elements: what a change
// rebuilds, what a highlight shows and what a pick yields.
#include "VisuFixture.h"

#include "featurestore/KORLifeCycleObject.h"

#include <functional>
#include <set>

namespace {
struct Counted {
  const char* name;
  KORBaseUnknown_var element;
};
} // namespace

class VisuChangeTest : public VisuTest {
protected:
  void SetUp() override {
    VisuTest::SetUp();
    screen = build.Screen("V", {3000, 1500, 1500}, {3000, 1500, -1500}, {3000, -1500, -1500});
    station = build.Station("S", KORVrcStationIS900, "d");
    tracker = build.Tracker(station, 1);
    auto ig = build.IG("localhost:0.0");
    build.Window(ig, "W");
    elements = {{"container", Container()},
                {"config", KORBaseUnknown_var(Config())},
                {"resources", KORBaseUnknown_var(Resources())},
                {"specs", KORBaseUnknown_var(Specs())},
                {"devices", KORBaseUnknown_var(Devices())},
                {"head", KORBaseUnknown_var(Head())},
                {"hand", KORBaseUnknown_var(Hand())},
                {"screen", KORBaseUnknown_var(screen)},
                {"station", KORBaseUnknown_var(station)},
                {"tracker", KORBaseUnknown_var(tracker)}};
  }
  std::map<std::string, int> Builds() {
    std::map<std::string, int> builds;
    for (const Counted& counted : elements)
      builds[counted.name] = manager.GetBuildCount(counted.element, KORVisDimension::ThreeD);
    return builds;
  }
  // Builds the scene, runs iChange, builds again; the elements rebuilt.
  template <class F> std::set<std::string> Rebuilt(F iChange) {
    EXPECT_TRUE(Rep3D(Container().get()).get());
    const auto before = Builds();
    iChange();
    EXPECT_TRUE(Rep3D(Container().get()).get());
    const auto after = Builds();
    std::set<std::string> rebuilt;
    for (const auto& [name, count] : after) {
      EXPECT_LE(count - before.at(name), 1) << name << " was built more than once";
      if (count != before.at(name))
        rebuilt.insert(name);
    }
    return rebuilt;
  }

public:
  KORIVrcScreenView_var screen;
  KORIVrcTrackingStation_var station;
  KORIVrcTracker_var tracker;
  std::vector<Counted> elements;
};

TEST_F(VisuChangeTest, ChangesRebuildTheElementAndTheGroupsAboveIt) {
  struct Case {
    const char* what;
    std::function<void(VisuChangeTest&)> change;
    std::set<std::string> rebuilt;
  };
  // An edited screen is the view command's test, through the driver.
  const Case cases[] = {
      // A view announces a change of its own when its head moves (cameras are
      // drawn from the head): the screen, which uses the default head, follows.
      {"a head move",
       [this](VisuChangeTest&) {
         auto head = KORQuery<KORIVrcTrackedElement>(Head());
         ASSERT_EQ(head->SetLocation(ConfigBuilder::Placement(0, 0, 1800)), S_OK);
       },
       {"head", "screen", "specs", "config", "container"}},
      {"a tracker offset",
       [](VisuChangeTest& t) {
         ASSERT_EQ(t.tracker->SetOffset(ConfigBuilder::Placement(0, 0, 50)), S_OK);
       },
       {"tracker", "station", "devices", "config", "container"}},
      {"a station frame",
       [](VisuChangeTest& t) {
         ASSERT_EQ(t.station->SetRef(ConfigBuilder::Placement(0, 0, 100)), S_OK);
       },
       // Its free tracker is laid out from the station's frame.
       {"tracker", "station", "devices", "config", "container"}},
      {"nothing drawn (a port)",
       [](VisuChangeTest& t) { ASSERT_EQ(t.station->SetPort(3), S_OK); },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KORRep_var stationRep = Rep3D(station);
    const std::set<std::string> rebuilt = Rebuilt([&] { c.change(*this); });
    EXPECT_EQ(rebuilt, c.rebuilt);
    if (!rebuilt.count("station")) {
      EXPECT_EQ(Rep3D(station).get(), stationRep.get()) << "an unchanged element keeps its rep";
    }
  }
}

TEST_F(VisuChangeTest, CreatedAndDeletedElementsJoinAndLeaveTheirGroup) {
  KORIVrcScreenView_var added;
  auto rebuilt = Rebuilt([&] {
    added = build.Screen("New", {0, 0, 1000}, {0, 0, 0}, {0, -1000, 0});
  });
  EXPECT_TRUE(rebuilt.count("specs"));
  EXPECT_FALSE(rebuilt.count("devices"));
  EXPECT_EQ(ChildrenOf<KOR3DBagRep>(Rep3D(Specs().get()).get()).size(), 3u)
      << "head and two screens";

  auto lifeCycle = KORQuery<LifeCycleObject>(added);
  ASSERT_TRUE(lifeCycle);
  rebuilt = Rebuilt([&] { ASSERT_EQ(lifeCycle->remove(), S_OK); });
  EXPECT_TRUE(rebuilt.count("specs"));
  EXPECT_EQ(ChildrenOf<KOR3DBagRep>(Rep3D(Specs().get()).get()).size(), 2u);
  EXPECT_EQ(manager.GetBuildCount(added, KORVisDimension::ThreeD), 0) << "its rep is forgotten";
}

TEST_F(VisuChangeTest, HighlightShowsLinesOfScreensAndTrackersNothingOfGroups) {
  ASSERT_TRUE(Rep3D(Container().get()).get());
  auto specs = Specs();
  auto devices = Devices();
  auto head = Head();
  struct Case {
    const char* what;
    std::vector<KORBaseUnknown*> belowConfig; // the rest of the path
    KORRep* shown;                            // the one rep highlighted, or none
  };
  const Case cases[] = {
      {"a screen: its lines, not its fill",
       {specs, screen},
       ChildrenOf<KOR3DBagRep>(Rep3D(screen).get()).back().get()},
      {"a group: nothing of its own", {devices}, nullptr},
      {"a station: its axes, not its trackers or cube",
       {devices, station},
       ChildrenOf<KOR3DBagRep>(Rep3D(station).get()).back().get()},
      {"a tracker",
       {devices, station, tracker},
       ChildrenOf<KOR3DBagRep>(Rep3D(tracker).get()).front().get()},
      {"the default: the whole rep", {specs, head}, Rep3D(head).get()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KORPathElement path;
    path.Append(Container().get());
    path.Append(Config().get());
    for (KORBaseUnknown* object : c.belowConfig)
      path.Append(object);
    KORHighlightPath highlight;
    ASSERT_EQ(manager.BuildHighlight(KORVisDimension::ThreeD, path, highlight), S_OK);
    ASSERT_EQ(highlight.reps.size(), c.shown ? 1u : 0u);
    if (c.shown) {
      EXPECT_EQ(highlight.reps[0].get(), c.shown);
    }
  }
}

TEST_F(VisuChangeTest, PickYieldsThePathFromTheRootToThePickedElement) {
  KORPathElement prefix;
  prefix.Append(document->Identity());
  KORViewer viewer(manager, Container().get(), KORVisDimension::ThreeD, prefix);
  KORPathElement picked;
  ASSERT_EQ(viewer.Pick({3000, 100, -50}, picked), S_OK) << "near the screen's centre";
  const KORBaseUnknown_var expected[] = {KORBaseUnknown_var(document->Identity()), Container(),
                                         KORBaseUnknown_var(Config()), KORBaseUnknown_var(Specs()),
                                         KORBaseUnknown_var(screen)};
  ASSERT_EQ(picked.GetSize(), 5);
  for (int position = 0; position < 5; ++position)
    EXPECT_TRUE(Same(picked.GetObject(position), expected[position])) << "at " << position;

  // The free tracker sits 330 along y from its station at the origin.
  ASSERT_EQ(viewer.Pick({0, 340, 10}, picked), S_OK);
  EXPECT_TRUE(Same(picked.GetLastElement(), tracker));
  EXPECT_TRUE(Same(picked.GetObject(picked.GetSize() - 2), station));

  EXPECT_EQ(viewer.Pick({0, 0, 90000}, picked), E_FAIL);
  EXPECT_EQ(picked.GetSize(), 0);
}

// The manager passes over an element it has just invalidated when nothing was
// built since; once the scene is built again, the same element's next change
// must still rebuild it, however often it was invalidated before.
TEST_F(VisuChangeTest, AnElementInvalidatedAgainAfterARebuildIsRebuiltAgain) {
  for (int round = 0; round < 3; ++round) {
    const auto rebuilt = Rebuilt([this] {
      manager.Invalidate(screen);
      manager.Invalidate(tracker);
      manager.Invalidate(screen);
    });
    EXPECT_EQ(rebuilt.count("screen"), 1u) << "round " << round;
    EXPECT_EQ(rebuilt.count("tracker"), 1u) << "round " << round;
  }
}
