// The image-generator and window commands, through the driver.
#include "CommandFixture.h"

namespace {

// The document's elements as the tests read them.
class ResourceFixture : public DriverTest {
protected:
  void MakeView(const char* iName) {
    build.Screen(iName, {0, 1500, 1500}, {0, 1500, -1500}, {0, -1500, -1500});
  }
  template <class I> static KORUnicodeString NameOf(I* iElement) {
    KORUnicodeString name;
    EXPECT_EQ(iElement->GetName(name), S_OK);
    return name;
  }
  static std::vector<KORIVrcWindow_var> Windows(KORIVrcIG* iIG) {
    return Listed<KORIVrcWindow>(iIG, &KORIVrcIG::GetWindows);
  }
  // "ig/window" for each window of each image generator.
  Names WindowNames() {
    Names names;
    for (const KORIVrcIG_var& ig : IGs())
      for (const KORIVrcWindow_var& window : Windows(ig.get()))
        names.push_back(NameOf(ig.get()) + "/" + NameOf(window.get()));
    return names;
  }
  int RenderingCount() {
    return static_cast<int>(Listed(config, &KORIVrcConfig::GetRenderings).size());
  }
  // What a window is made of, as one line to compare.
  KORString Describe(const char* iWindow) {
    for (const KORIVrcIG_var& ig : IGs()) {
      for (const KORIVrcWindow_var& window : Windows(ig.get())) {
        if (NameOf(window.get()) != iWindow)
          continue;
        KORIVrcView_var view;
        KORIVrcRenderingSpec_var spec;
        KORIVrcViewport_var viewport;
        KORVrcRenderingMode mode{};
        KORVrcMirrorMode mirror{};
        double left = 0, top = 0, width = 0, height = 0;
        EXPECT_EQ(window->GetView(view.Out()), S_OK);
        EXPECT_EQ(window->GetRenderingSpec(spec.Out()), S_OK);
        EXPECT_EQ(window->GetViewport(viewport.Out()), S_OK);
        if (!view || !spec || !viewport)
          return "incomplete";
        EXPECT_EQ(spec->GetRenderingMode(&mode), S_OK);
        EXPECT_EQ(spec->GetMirrorMode(&mirror), S_OK);
        EXPECT_EQ(viewport->GetViewport(&left, &top, &width, &height), S_OK);
        char text[200];
        std::snprintf(text, sizeof text, "%s on %s shows %s, mode %d mirror %d, %g %g %g %g%s",
                      iWindow, NameOf(ig.get()).c_str(), NameOf(view.get()).c_str(), mode, mirror,
                      left, top, width, height, MainWindowName() == iWindow ? ", main" : "");
        return text;
      }
    }
    return "none";
  }
};

class ResourceCommandTest : public ResourceFixture {
protected:
  void SetUp() override {
    ResourceFixture::SetUp();
    // What Cancel gives back must be the commands' own work.
    WithoutTransactions();
  }
};

TEST_F(ResourceCommandTest, ImageGeneratorNamesMustBeDisplayNames) {
  const struct {
    const char* name;
    bool accepted;
  } cases[] = {{":0.0", true},    {"host:0.0", true}, {":1.12", true},  {":0.5", true},
               {"0.0", false},    {":0", false},      {":0.", false},   {":.0", false},
               {":0.a", false},   {":0.05", false},   {"host:", false}, {":0.1.2", false},
               {":0:0.1", false}, {":-1.0", false}};
  for (const auto& c : cases) {
    Perform({"start btnCreateIG", KORString("set EditorDisplay \"") + c.name + "\"", "press OK"});
    EXPECT_EQ(DialogOpen(), !c.accepted) << c.name;
    if (c.accepted) {
      EXPECT_EQ(IGNames().back(), c.name);
      continue;
    }
    Perform({"expect-message \"is not a display name\"", "press Cancel"});
    const Names names = IGNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), KORUnicodeString(c.name)), 0) << c.name;
  }
}

TEST_F(ResourceCommandTest, ImageGeneratorDialogDefaultsEditAndCancel) {
  Perform({"start btnCreateIG", "expect EditorDisplay :0.0", "expect SpinnerWidth 1280",
           "expect SpinnerHeight 1024", "press OK"});
  EXPECT_EQ(IGNames(), (Names{":0.0"}));
  Perform({"start btnCreateIG", "expect EditorDisplay :0.1", "set EditorDisplay :0.0", "press OK",
           "expect-message \"\\\":0.0\\\" is already the name\""});
  EXPECT_TRUE(DialogOpen()) << "a taken name is refused";
  Perform({"set SpinnerWidth 500", "expect SpinnerWidth 800", "press Cancel"});
  EXPECT_EQ(IGNames(), (Names{":0.0"}));

  KORIVrcIG_var ig = IGs().front();
  Perform({"edit ig::0.0", "set EditorDisplay visu:1.0", "set SpinnerWidth 2048",
           "set SpinnerHeight 1536", "press Cancel"});
  EXPECT_EQ(IGNames(), (Names{":0.0"}));
  EXPECT_EQ(ReadValue(ig.get(), &KORIVrcIG::GetPixelWidth), 1280);
  EXPECT_EQ(ReadValue(ig.get(), &KORIVrcIG::GetPixelHeight), 1024);
  Perform({"edit ig::0.0", "expect EditorDisplay :0.0", "set EditorDisplay visu:1.0",
           "set SpinnerWidth 2048", "set SpinnerHeight 1536", "press OK"});
  EXPECT_EQ(IGNames(), (Names{"visu:1.0"}));
  EXPECT_EQ(ReadValue(ig.get(), &KORIVrcIG::GetPixelWidth), 2048);
  EXPECT_EQ(ReadValue(ig.get(), &KORIVrcIG::GetPixelHeight), 1536);
  Perform({"edit ig:visu:1.0"});
  EXPECT_NE(Refused("press Apply").find("Apply"), KORString::npos) << "the dialog has no Apply";
}

TEST_F(ResourceCommandTest, WindowViewportStaysOnTheOutput) {
  Perform({"start btnCreateWindow", "expect NameEditor Window1", "expect ModeCombo Mono",
           "expect ComboMirrorMode None", "expect ViewEditor (none)", "expect LeftSpinner 0",
           "expect WidthSpinner 1", "expect HeightSpinner 1"});
  const struct {
    const char* line;
    const char* widget;
    double shown;
  } steps[] = {
      {"set LeftSpinner 0.3", "WidthSpinner", 0.7},  {"set WidthSpinner 0.9", "WidthSpinner", 0.7},
      {"set WidthSpinner 0.5", "WidthSpinner", 0.5}, {"set LeftSpinner 0.6", "WidthSpinner", 0.4},
      {"set LeftSpinner 0", "WidthSpinner", 0.4},    {"set TopSpinner 0.25", "HeightSpinner", 0.75},
      {"set WidthSpinner 1", "WidthSpinner", 1}};
  for (const auto& step : steps) {
    Perform({step.line, KORString("expect ") + step.widget + " " + std::to_string(step.shown)});
  }
}

TEST_F(ResourceCommandTest, WindowNeedsImageGeneratorAndViewAndAFreeName) {
  MakeIG(":0.0");
  MakeIG(":0.1");
  MakeView("Front");
  MakeView("Floor");
  Perform({"start btnCreateWindow", "press OK", "expect-message \"needs an image generator\"",
           "pick ig::0.0", "press OK", "expect-message \"needs an image generator\""});
  EXPECT_EQ(WindowNames(), Names{}) << "nothing written without view";
  Perform({"pick view:Floor", "expect ViewEditor Floor", "pick view:Front", "pick ig::0.1",
           "expect IGEditor :0.1", "expect ViewEditor Front", "set NameEditor FrontWin",
           "choose ModeCombo Stereo", "choose ComboMirrorMode Vertical", "set MainWindowCheck on",
           "press OK"});
  EXPECT_FALSE(DialogOpen());
  EXPECT_EQ(Describe("FrontWin"), "FrontWin on :0.1 shows Front, mode 3 mirror 1, 0 0 1 1, main");

  Perform({"start btnCreateWindow", "expect NameEditor Window1", "set NameEditor FrontWin",
           "pick ig::0.0", "pick view:Floor", "press Apply",
           "expect-message \"\\\"FrontWin\\\" is already the name\""});
  EXPECT_EQ(WindowNames(), (Names{":0.1/FrontWin"}));
  Perform({"set NameEditor FloorWin", "press OK"});
  EXPECT_EQ(WindowNames(), (Names{":0.0/FloorWin", ":0.1/FrontWin"}));
  EXPECT_EQ(MainWindowName(), "FrontWin") << "an unticked new window leaves the main window";
}

TEST_F(ResourceCommandTest, ApplyRebuildsAndCancelRemovesANewWindow) {
  MakeIG(":0.0");
  MakeView("Front");
  Perform({"start btnCreateWindow", "pick ig::0.0", "pick view:Front", "press Apply",
           "set NameEditor Renamed", "set TopSpinner 0.5", "press Apply"});
  EXPECT_EQ(WindowNames(), (Names{":0.0/Renamed"})) << "the second Apply replaces the first";
  EXPECT_EQ(RenderingCount(), 1);
  EXPECT_EQ(Describe("Renamed"), "Renamed on :0.0 shows Front, mode 0 mirror 3, 0 0.5 1 0.5");
  Perform({"press Cancel"});
  EXPECT_EQ(WindowNames(), Names{});
  EXPECT_EQ(RenderingCount(), 0) << "Cancel leaves no rendering behind";
}

TEST_F(ResourceCommandTest, CancelRebuildsAnEditedWindowAsItWas) {
  KORIVrcIG_var first = MakeIG(":0.0");
  MakeIG(":0.1");
  MakeView("Front");
  MakeView("Floor");
  Perform({"start btnCreateWindow", "set NameEditor Win", "pick ig::0.0", "pick view:Front",
           "set LeftSpinner 0.25", "set WidthSpinner 0.5", "choose ModeCombo \"Left eye\"",
           "choose ComboMirrorMode Both", "set MainWindowCheck on", "press OK"});
  const KORString original = "Win on :0.0 shows Front, mode 1 mirror 2, 0.25 0 0.5 1, main";
  ASSERT_EQ(Describe("Win"), original);
  Perform({"edit window:Win", "expect IGEditor :0.0", "expect ViewEditor Front",
           "expect LeftSpinner 0.25", "expect WidthSpinner 0.5", "expect ModeCombo \"Left eye\"",
           "expect MainWindowCheck on", "set NameEditor Other", "pick ig::0.1", "pick view:Floor",
           "choose ModeCombo Mono", "set MainWindowCheck off", "press Apply"});
  EXPECT_EQ(Describe("Other"), "Other on :0.1 shows Floor, mode 0 mirror 2, 0.25 0 0.5 1");
  EXPECT_EQ(MainWindowName(), "") << "unticking the main window clears the role";
  Perform({"press Cancel"});
  EXPECT_EQ(WindowNames(), (Names{":0.0/Win"}));
  EXPECT_EQ(Describe("Win"), original);
  EXPECT_EQ(RenderingCount(), 1);
  Perform({"edit window:Win", "press Cancel"});
  EXPECT_EQ(Describe("Win"), original) << "Cancel without Apply leaves the window";
}

// With the document's history, Cancel and undo give back the window the
// command removed, as the same element.
TEST_F(ResourceFixture, UnderTheHistoryCancelAndUndoGiveBackTheRebuiltWindow) {
  MakeIG(":0.0");
  MakeView("Front");
  MakeView("Floor");
  Perform({"start btnCreateWindow", "set NameEditor Win", "pick ig::0.0", "pick view:Front",
           "set MainWindowCheck on", "press OK"});
  const KORString original = Describe("Win");
  const KORIVrcWindow_var window = MainWindow();
  const std::vector<KORString> endings[] = {{"press Apply", "press Cancel"}, {"press OK", "undo"}};
  for (const std::vector<KORString>& ending : endings) {
    Perform({"edit window:Win", "pick view:Floor", "set NameEditor Other"});
    Perform(ending);
    const KORString& end = ending.back();
    EXPECT_EQ(WindowNames(), (Names{":0.0/Win"})) << end;
    EXPECT_EQ(Describe("Win"), original) << end;
    EXPECT_TRUE(Same(MainWindow().get(), window.get())) << end;
    EXPECT_EQ(RenderingCount(), 1) << end;
  }
}

} // namespace
