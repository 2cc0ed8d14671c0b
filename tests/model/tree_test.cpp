// The specification tree over the module's navigation: labels, children in
// order, and updates on the model events.
#include "ConfigBuilder.h"

#include "featurestore/KORLifeCycleObject.h"
#include "tree/KORSpecTree.h"

#include <sstream>

class TreeTest : public ModelTest {
protected:
  void SetUp() override {
    ModelTest::SetUp();
    builder = std::make_unique<ConfigBuilder>(factory);
    ASSERT_EQ(Config()->SetName("Cave"), S_OK);
    auto ig = builder->IG("ig1");
    screen = builder->Screen("S1", {3000, 1500, 1500}, {3000, 1500, -1500}, {3000, -1500, -1500});
    builder->Camera("C1", 1.0, 0.0, 1.0, 0.0);
    window = builder->Window(ig, "w1", {0, 0, 1, 1}, "S1");
    builder->Window(ig, "w2");
    auto station = builder->Station("St", KORVrcStationIS900, "d");
    builder->Tracker(station, 2);
    builder->Tracker(station, 1);
    builder->ButtonDevice("B", KORVrcButtonDeviceType{}, "d");
    KORIContainer_var container;
    ASSERT_EQ(factory->RetrieveVrcContainer(container.Out()), S_OK);
    ASSERT_EQ(tree.Attach(document, container), S_OK);
  }
  std::string Printed() {
    std::ostringstream text;
    tree.Print(text);
    return text.str();
  }

  std::unique_ptr<ConfigBuilder> builder;
  KORIVrcScreenView_var screen;
  KORIVrcWindow_var window;
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
  builder->Screen("S2", {0, 0, 1000}, {0, 0, 0}, {0, -1000, 0});
  EXPECT_NE(Printed().find("      Camera: C1\n      Screen: S2\n"), std::string::npos) << Printed();

  auto lifeCycle = KORQuery<LifeCycleObject>(screen);
  ASSERT_TRUE(lifeCycle);
  ASSERT_EQ(lifeCycle->remove(), S_OK);
  const std::string after = Printed();
  EXPECT_EQ(after.find("Screen: S1"), std::string::npos) << after;
  EXPECT_NE(after.find("        Window: w1\n        Window: w2\n"), std::string::npos)
      << "the window lost its view: " << after;
}
