// The 2D schematic as a viewpoint of the current 3D window: toggled by its
// command through the header the workbench gives "btn2DView", fitted to its
// fixed box, and gone with its window.
#include "VisuFixture.h"

#include "KORVrc2DViewpoint.h"
#include "frame/KORFrame.h"
#include "system/KORTrace.h"

class SchematicViewTest : public VisuTest {
protected:
  void SetUp() override {
    VisuTest::SetUp();
    editor.SetDocument(document->Identity());
    environment.SetCurrentEditor(&editor);
    ig = build.IG("ig1");
    window = build.Window(ig, "w1", {0, 0, 1, 1});
    header = new KORCommandHeader("KORVrc2DViewHdr", "KORVrConfig", "KORVrc2DViewCmd", nullptr,
                                  KORFrmAvailable);
  }
  void TearDown() override {
    // The windows take their schematics with them while the document lives.
    while (layout.GetCurrentWindow())
      ASSERT_EQ(layout.DeleteWindow(layout.GetCurrentWindow()), S_OK);
    VisuTest::TearDown();
  }

  // A window of iClass made current; its viewer shows the configuration
  // container, through a navigation viewer when iNavigation.
  KORFrmWindow* OpenWindow(const char* iClass, bool iNavigation) {
    std::unique_ptr<KORViewer> viewer;
    if (iNavigation)
      viewer = std::make_unique<KORNavigation3DViewer>(manager, Container().get());
    else
      viewer = std::make_unique<KORViewer>(manager, Container().get(), KORVisDimension::ThreeD);
    return layout.AddWindow(std::make_unique<KORFrmWindow>(iClass, std::move(viewer)));
  }
  void Toggle() {
    KORString error;
    ASSERT_EQ(header->StartCommand(error), S_OK) << error;
  }
  static KORVrc2DViewpoint* SchematicIn(KORFrmWindow* iWindow) {
    for (KORVisViewpoint* viewpoint : iWindow->GetViewer()->GetSupport().GetViewpoints())
      if (auto* schematic = dynamic_cast<KORVrc2DViewpoint*>(viewpoint))
        return schematic;
    return nullptr;
  }

  KORFrame frame;
  KORFrameScope frameScope{frame};
  KORCommandEnvironment& environment = frame.CommandEnvironment();
  KORFrmEditor editor;
  KORFrmLayout layout;
  KORFrmLayout::Scope layoutScope{layout};
  KORVisManager::Scope managerScope{manager};
  KORCommandHeader* header = nullptr; // the environment's list owns it
  KORIVrcIG_var ig;
  KORIVrcWindow_var window;
};

TEST_F(SchematicViewTest, TheCommandTogglesTheSchematicOnlyIn3DWindowsWithANavigationViewer) {
  struct Case {
    const char* window;
    bool navigation;
    bool withEditor;
    bool shown;
  };
  const Case cases[] = {
      {"KORAsmGraphAnd3DWindow", true, true, true},
      {"KORAsmGraphAnd3DWindow", false, true, false},
      {"KORDrawingWindow", true, true, false},
      {"KORAsmGraphAnd3DWindow", true, false, false}, // set-up fails: nothing is left
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.window << " navigation " << c.navigation << " editor "
                                    << c.withEditor);
    KORFrmWindow* shownIn = OpenWindow(c.window, c.navigation);
    environment.SetCurrentEditor(c.withEditor ? &editor : nullptr);
    Toggle();
    EXPECT_EQ(environment.GetCommandManager().GetActiveCommand(), nullptr) << "it ends at once";
    EXPECT_EQ(SchematicIn(shownIn) != nullptr, c.shown);
    EXPECT_EQ(shownIn->GetViewer()->GetSupport().GetViewpoints().size(), c.shown ? 1u : 0u);
    if (c.shown) {
      Toggle();
      EXPECT_EQ(SchematicIn(shownIn), nullptr) << "toggling twice leaves no schematic";
    }
  }
}

TEST_F(SchematicViewTest, DeletingTheWindowEndsItsSchematic) {
  KORFrmWindow* shownIn = OpenWindow(KORFrmWindow::Graph3DWindowClass, true);
  Toggle();
  ASSERT_NE(SchematicIn(shownIn), nullptr);
  KORTraceCapture capture({"KORVrcView"});
  ASSERT_EQ(layout.DeleteWindow(shownIn), S_OK);
  EXPECT_EQ(capture.Lines(), (std::vector<KORString>{"KORVrcView: KORVrc2DViewpoint - DetachViewCB",
                                                     "KORVrcView: KORVrc2DViewpoint - Destructor"}));
}

// The fixed box is x -20 to 2320 and y -20 to 300 (2340 by 320, centre
// (1150, 140)); the support's shape widens one side about the centre.
TEST_F(SchematicViewTest, TheViewIsFittedToTheFixedBoxAndRefittedOnResize) {
  KORFrmWindow* shownIn = OpenWindow(KORFrmWindow::Graph3DWindowClass, true);
  KORGraphicSupport& support = shownIn->GetViewer()->GetSupport();
  support.SetScreen(/*iPixelRatio=*/1.0, /*iMMPerSupportUnit=*/0.25);
  Toggle();
  KORVrc2DViewpoint* schematic = SchematicIn(shownIn);
  ASSERT_NE(schematic, nullptr);
  EXPECT_EQ(schematic->GetAnchor(), 9);

  struct Case {
    int width, height;
    Eigen::Vector2d min, max;
    double screenScale; // support height / visible height * 0.25 mm
  };
  const Case cases[] = {
      {2340, 320, {-20, -20}, {2320, 300}, 0.25},
      {1000, 1000, {-20, -1030}, {2320, 1310}, 1000.0 / 2340.0 * 0.25},
      {2340, 160, {-1190, -20}, {3490, 300}, 160.0 / 320.0 * 0.25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    support.Resize(c.width, c.height);
    EXPECT_TRUE(schematic->GetVisibleBox().min().isApprox(c.min, 1e-9));
    EXPECT_TRUE(schematic->GetVisibleBox().max().isApprox(c.max, 1e-9));
    EXPECT_NEAR(schematic->GetScreenScale(), c.screenScale, 1e-12);
  }
}

TEST_F(SchematicViewTest, EveryModelEventOfTheContainerRefitsTheView) {
  KORFrmWindow* shownIn = OpenWindow(KORFrmWindow::Graph3DWindowClass, true);
  Toggle();
  ASSERT_NE(SchematicIn(shownIn), nullptr);
  KORTraceCapture capture({"KORVrcView"});
  ASSERT_EQ(ig->SetName("renamed"), S_OK);
  const std::vector<KORString> lines = capture.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "KORVrcView: KORVrc2DViewpoint - Modify"),
            lines.end());
}

TEST_F(SchematicViewTest, TheSchematicShowsTheContainerAndPicksGiveTheWindowsPath) {
  KORFrmWindow* shownIn = OpenWindow(KORFrmWindow::Graph3DWindowClass, true);
  Toggle();
  KORVrc2DViewpoint* schematic = SchematicIn(shownIn);
  ASSERT_NE(schematic, nullptr);
  ASSERT_NE(schematic->GetViewer(), nullptr);
  EXPECT_EQ(schematic->GetViewer()->GetScene().get(), Rep2D(Container().get()).get());

  // The first image generator's screen area runs from (314, 11) to (525, 118).
  KORPathElement picked;
  ASSERT_EQ(schematic->GetViewer()->Pick({400, 60, 0}, picked), S_OK);
  KORBaseUnknown_var compound;
  ASSERT_EQ(document->GetRootContainer(compound.Out()), S_OK);
  const std::vector<KORBaseUnknown_var> expected{
      KORBaseUnknown_var(document->Identity()), compound,  Container(),
      KORQuery<KORBaseUnknown>(Config()),        KORQuery<KORBaseUnknown>(Resources()),
      KORQuery<KORBaseUnknown>(ig),              KORQuery<KORBaseUnknown>(window)};
  ASSERT_EQ(picked.GetSize(), static_cast<int>(expected.size()));
  for (int position = 0; position < picked.GetSize(); ++position)
    EXPECT_TRUE(Same(picked.GetObject(position), expected[static_cast<std::size_t>(position)]))
        << "at " << position;

  // The editor's selection is what the schematic highlights: an image
  // generator shows its picture and name, not its windows.
  picked = KORPathElement{};
  for (int position = 0; position + 1 < static_cast<int>(expected.size()); ++position)
    picked.Append(expected[static_cast<std::size_t>(position)].get());
  editor.SetSelection(picked);
  KORHighlightPath highlight;
  ASSERT_EQ(schematic->BuildHighlight(highlight), S_OK);
  ASSERT_EQ(highlight.reps.size(), 1u);
  EXPECT_NE(dynamic_cast<KOR2DBagRep*>(highlight.reps[0].get()), nullptr);
}
