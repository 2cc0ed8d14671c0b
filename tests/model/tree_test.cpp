// The specification tree over the module's navigation: labels, children in
// order, and updates on the model events.
#include "ConfigBuilder.h"

#include "frame/KORFrame.h"
#include "command/KORStateCommand.h"
#include "featurestore/KORLifeCycleObject.h"
#include "interfaces/KORIVrcVisuRefreshOnElement.h"
#include "system/KORTrace.h"
#include "tree/KORSpecTree.h"

#include <sstream>

class TreeTest : public BuildTest {
protected:
  void SetUp() override {
    BuildTest::SetUp();
    ASSERT_EQ(Config()->SetName("Cave"), S_OK);
    ig = build.IG("ig1");
    screen = build.Screen("S1", {3000, 1500, 1500}, {3000, 1500, -1500}, {3000, -1500, -1500});
    camera = build.Camera("C1", 1.0, 0.0, 1.0, 0.0);
    window = build.Window(ig, "w1", {0, 0, 1, 1}, "S1");
    build.Window(ig, "w2");
    station = build.Station("St", KORVrcStationIS900, "d");
    tracker = build.Tracker(station, 2);
    build.Tracker(station, 1);
    button = build.ButtonDevice("B", KORVrcButtonDeviceType{}, "d");
    container = VrcContainer();
    ASSERT_EQ(tree.Attach(document, container, {document->Identity()}), S_OK);
  }
  std::string Printed() {
    std::ostringstream text;
    tree.Print(text);
    return text.str();
  }

  KORIContainer_var container;
  KORIVrcIG_var ig;
  KORIVrcScreenView_var screen;
  KORIVrcCameraView_var camera;
  KORIVrcWindow_var window;
  KORIVrcTrackingStation_var station;
  KORIVrcTracker_var tracker;
  KORIVrcButtonDevice_var button;
  KORSpecTree tree;
};

TEST_F(TreeTest, PrintsLabelsAndChildrenInOrder) {
  // Written by hand: views under their window and again under the
  // specifications; heads before views; hand devices, stations, buttons.
  EXPECT_EQ(Printed(), "Virtual Reality Configuration\n"
                       "  Config: Cave\n"
                       "    Graphics Resources\n"
                       "      IG: ig1\n"
                       "        Window: w1\n"
                       "          Screen: S1\n"
                       "        Window: w2\n"
                       "    Graphic Specifications\n"
                       "      Head\n"
                       "      Screen: S1\n"
                       "      Camera: C1\n"
                       "    Devices\n"
                       "      HandDevice\n"
                       "      Tracking Station: St\n"
                       "        2\n"
                       "        1\n"
                       "      Button Device: B\n");
}

TEST_F(TreeTest, ARenameRereadsThatNodeOnly) {
  ASSERT_FALSE(Printed().empty());
  const int resourcesReads = tree.GetReadCount(Resources().get());
  const int windowReads = tree.GetReadCount(window);
  ASSERT_EQ(window->SetName("front"), S_OK);
  EXPECT_NE(Printed().find("        Window: front\n"), std::string::npos) << Printed();
  EXPECT_EQ(tree.GetReadCount(window), windowReads + 1);
  EXPECT_EQ(tree.GetReadCount(Resources().get()), resourcesReads);
}

TEST_F(TreeTest, CreatedAndRemovedElementsComeAndGo) {
  ASSERT_FALSE(Printed().empty());
  build.Screen("S2", {0, 0, 1000}, {0, 0, 0}, {0, -1000, 0});
  EXPECT_NE(Printed().find("      Camera: C1\n      Screen: S2\n"), std::string::npos) << Printed();

  auto lifeCycle = KORQuery<LifeCycleObject>(screen);
  ASSERT_TRUE(lifeCycle);
  ASSERT_EQ(lifeCycle->remove(), S_OK);
  const std::string after = Printed();
  EXPECT_EQ(after.find("Screen: S1"), std::string::npos) << after;
  EXPECT_NE(after.find("        Window: w1\n        Window: w2\n"), std::string::npos)
      << "the window lost its view: " << after;
}

TEST_F(TreeTest, AChangeUpdatesEachNodeOfTheElementThroughItsKindsNodeExtension) {
  // Written by hand: the node class of a branch, a leaf and a view, and how
  // many places show the element (a view shown by a window appears twice).
  // Which extension each kind gets is the component map's test.
  struct Case {
    KORBaseUnknown_var element;
    const char* nodeClass;
    int places;
  };
  const Case cases[] = {
      {KORQuery<KORBaseUnknown>(Config()), "KOREVrcConfigNode", 1},
      {KORQuery<KORBaseUnknown>(screen), "KOREVrcViewNode", 2},
      {KORQuery<KORBaseUnknown>(camera), "KOREVrcViewNode", 1},
      {KORQuery<KORBaseUnknown>(tracker), "KOREVrcTrackerNode", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nodeClass);
    ASSERT_FALSE(Printed().empty());
    const int reads = tree.GetReadCount(c.element);
    std::vector<KORString> lines;
    {
      KORTraceCapture capture({"KORVrcView"});
      auto refresh = KORQuery<KORIVrcVisuRefreshOnElement>(c.element);
      ASSERT_TRUE(refresh);
      ASSERT_EQ(refresh->NotifyChange(), S_OK);
      lines = capture.Lines();
    }
    // Other nodes may update too (a tracker's change is its station's).
    for (const char* step : {"Entering ", "Exiting "}) {
      const std::string line = std::string("KORVrcView: ") + step + c.nodeClass +
                               "::UpdateElem(KORNavigInstance*  inst)";
      EXPECT_EQ(std::count(lines.begin(), lines.end(), line), c.places) << step;
    }
    ASSERT_FALSE(Printed().empty());
    EXPECT_EQ(tree.GetReadCount(c.element), reads + c.places) << "each updated node is read again";
  }
}

// What a view picked in the tree sends: with a document in the current
// editor, the view's own path from the document through its fathers; without
// one, the tree's path to the node that was picked.
TEST_F(TreeTest, APickedViewSendsThePathItsNavigationDecodes) {
  KORFrame withDocument;
  withDocument.Editor().SetDocument(document->Identity());
  KORFrame withoutDocument;
  const KORSpecTree::Node* underWindow = tree.Find(screen);
  ASSERT_NE(underWindow, nullptr);
  ASSERT_TRUE(Same(underWindow->father->object, window)) << "the first node is the window's";

  struct Case {
    const char* what;
    bool withEditor;
    std::vector<KORBaseUnknown_var> expected;
  };
  const KORBaseUnknown_var root(document->Identity());
  const auto config = KORQuery<KORBaseUnknown>(Config());
  const Case cases[] = {
      {"decoded by the view", true,
       {root, config, KORQuery<KORBaseUnknown>(Specs()), KORQuery<KORBaseUnknown>(screen)}},
      {"the tree's own path", false,
       {root, KORQuery<KORBaseUnknown>(container), config, KORQuery<KORBaseUnknown>(Resources()),
        KORQuery<KORBaseUnknown>(ig), KORQuery<KORBaseUnknown>(window),
        KORQuery<KORBaseUnknown>(screen)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KORFrameScope scope(c.withEditor ? withDocument : withoutDocument);
    KORPathElement path;
    ASSERT_EQ(tree.Pick(*underWindow, path), S_OK);
    ASSERT_EQ(path.GetSize(), static_cast<int>(c.expected.size()));
    for (int position = 0; position < path.GetSize(); ++position)
      EXPECT_TRUE(Same(path.GetObject(position), c.expected[static_cast<std::size_t>(position)]))
          << "at " << position;
  }
}

namespace {
// A command waiting for a view, as the editing commands wait for picks.
class WaitForViewCmd : public KORStateCommand {
public:
  WaitForViewCmd() : KORStateCommand("WaitForViewCmd") {}
  void BuildGraph() override {
    pick = MakeAgent<KORPathElementAgent>("GetView");
    pick->AddElementType(KORIVrcView::IID);
    KORCommandState* waiting = GetInitialState("waiting");
    waiting->AddDialogAgent(pick);
    AddTransition(waiting, AddDialogState("picked"), IsOutputSetCondition(pick));
  }
  KORPathElementAgent* pick = nullptr;
};
} // namespace

TEST_F(TreeTest, ATreePickReachesTheRunningCommandsAgent) {
  KORFrame frame;
  KORFrameScope scope(frame);
  frame.Editor().SetDocument(document->Identity());
  auto* command = new WaitForViewCmd();
  ASSERT_EQ(frame.Commands().StartCommand(command), S_OK);

  KORPathElement path;
  ASSERT_EQ(tree.Pick(*tree.Find(KORQuery<KORBaseUnknown>(Config()).get()), path), S_OK);
  EXPECT_EQ(frame.Commands().Pick(path), S_FALSE) << "a configuration is no view";
  ASSERT_EQ(tree.Pick(*tree.Find(camera), path), S_OK);
  EXPECT_EQ(frame.Commands().Pick(path), S_OK);
  EXPECT_TRUE(Same(command->pick->GetElementValue(), camera));
  EXPECT_EQ(command->pick->GetValue().GetSize(), 4) << "document, configuration, specifications, view";
}

TEST_F(TreeTest, ANodesSelectionExpansionAndMarkAreKeptOnItsPlaceInTheTree) {
  const KORSpecTree::Node* underWindow = tree.Find(screen);
  ASSERT_NE(underWindow, nullptr);
  auto element = KORQuery<KORINavigElement>(underWindow->graphNode.get());
  auto modify = KORQuery<KORINavigModify>(underWindow->graphNode.get());
  ASSERT_TRUE(element && modify) << "a view's node answers both node interfaces";
  EXPECT_EQ(element->GetAssociatedInstance(), underWindow);

  KORBaseUnknown_var father;
  ASSERT_EQ(element->GetFatherContainer(father.Out()), S_OK);
  EXPECT_TRUE(Same(father, window)) << "the father node's object, not the view's feature father";

  ASSERT_EQ(element->ProcessAfterSelect(), S_OK);
  EXPECT_TRUE(modify->IsSelected());
  ASSERT_EQ(element->ProcessAfterExtSelect(), S_OK);
  EXPECT_FALSE(modify->IsSelected()) << "an extended selection takes a selected node out";
  ASSERT_EQ(element->ProcessAfterExpand(), S_OK);
  EXPECT_TRUE(underWindow->expanded);
  ASSERT_EQ(element->SetMarked(true), S_OK);
  EXPECT_TRUE(element->GetMarked());

  // The view's other node, under the graphic specifications, is left alone.
  const KORSpecTree::Node* underSpecs = tree.Find(KORQuery<KORBaseUnknown>(Specs()).get());
  ASSERT_NE(underSpecs, nullptr);
  for (const auto& child : underSpecs->children) {
    if (Same(child->object, screen)) {
      EXPECT_FALSE(child->expanded || child->marked || child->selected);
    }
  }
}
