// The editing commands' shared behaviour, through the driver: OK, Apply,
// Cancel and window close, restore and deletion on Cancel, unique names and
// picks; and the configuration command that is built on it.
#include "CommandFixture.h"
#include "KORVrcEditCmd.h"
#include "KORVrcTools.h"
#include "dialog/KORDlgWidgets.h"
#include "system/KORTrace.h"

#include <memory>

namespace {

// A small kind built on the shared base, as each kind's command is: image
// generators by name only.
class TestIGCmd : public KORVrcEditCmd {
public:
  explicit TestIGCmd(KORIVrcIG* iIG)
      : KORVrcEditCmd("TestIGCmd", iIG, {"IGOK", "IGCancel", "IGApply", "IGClose"}), _ig(iIG) {}

protected:
  KORDlgDialog* BuildDialog() override {
    auto* dialog = new KORDlgDialog(this, "TestIGDlg", KORDlgOK | KORDlgCancel | KORDlgApply);
    _name = new KORDlgEditor(dialog, "NameEditor");
    return dialog;
  }
  void InitDialog() override {
    _name->SetText(IsCreating() ? ComposeDefaultName("IG", 1) : _savedName);
  }
  KORBaseUnknown_var CreateElement() override {
    KORIVrcIG_var ig;
    if (FAILED(GetFactory()->CreateIG(_name->GetText(), 1920, 1080, ig.Out())))
      return {};
    _ig = ig;
    return KORBaseUnknown_var(ig.get());
  }
  bool WriteValues() override { return SUCCEEDED(_ig->SetName(_name->GetText())); }
  void SaveValues() override {
    if (FAILED(_ig->GetName(_savedName)))
      _savedName.clear();
  }
  bool RestoreValues() override { return SUCCEEDED(_ig->SetName(_savedName)); }
  void GetNamesOfKind(KORListValKORUnicodeString& oNames) override {
    KORIVrcGraphicResources_var resources;
    KORListValKORBaseUnknown_var* igs = nullptr;
    if (FAILED(GetFactory()->RetrieveGraphicResources(resources.Out())) ||
        FAILED(resources->GetIGs(&igs)))
      return;
    std::unique_ptr<KORListValKORBaseUnknown_var> owned(igs);
    for (const KORBaseUnknown_var& element : *owned) {
      KORUnicodeString name;
      if (auto ig = KORQuery<KORIVrcIG>(element); ig && SUCCEEDED(ig->GetName(name)))
        oNames.Append(name);
    }
  }
  KORUnicodeString GetDialogName() override { return _name->GetText(); }

private:
  KORIVrcIG_var _ig;
  KORDlgEditor* _name = nullptr;
  KORUnicodeString _savedName;
};

class EditCommandTest : public DriverTest {
protected:
  void SetUp() override {
    DriverTest::SetUp();
    WithoutTransactions();
  }
  void StartIG(KORIVrcIG* iIG = nullptr) {
    ASSERT_EQ(frame.Commands().StartCommand(new TestIGCmd(iIG)), S_OK);
  }
};

TEST_F(EditCommandTest, ANewElementGetsTheFirstFreeNumberedName) {
  MakeIG("IG1");
  MakeIG("IG3");
  StartIG();
  Perform({"expect NameEditor IG2", "press OK"});
  EXPECT_EQ(IGNames(), (Names{"IG1", "IG3", "IG2"}));
  EXPECT_FALSE(DialogOpen());
}

TEST_F(EditCommandTest, ApplyThenCancelOrCloseDeletesWhatApplyCreated) {
  for (const char* cancel : {"press Cancel", "close"}) {
    StartIG();
    Perform({"set NameEditor Made", "press Apply"});
    EXPECT_EQ(IGNames(), (Names{"Made"})) << "Apply creates";
    Perform({"set NameEditor Renamed", "press Apply"});
    EXPECT_EQ(IGNames(), (Names{"Renamed"})) << "the next Apply edits what the first made";
    Perform({cancel});
    EXPECT_EQ(IGNames(), Names{}) << cancel;
    EXPECT_FALSE(DialogOpen());
  }
}

TEST_F(EditCommandTest, CancelCloseOrAnotherCommandWritesBackWhatTheElementHadAtStart) {
  KORIVrcIG_var ig = MakeIG("Before");
  for (const char* cancel : {"press Cancel", "close", "start KORVrcConfigCmdHdr"}) {
    StartIG(ig.get());
    Perform({"expect NameEditor Before", "set NameEditor After", "press Apply"});
    EXPECT_EQ(IGNames(), (Names{"After"}));
    Perform({cancel});
    EXPECT_EQ(IGNames(), (Names{"Before"})) << cancel << " restores, and deletes nothing";
  }
}

TEST_F(EditCommandTest, ATakenNameIsRefusedAndTheDialogKeepsWhatWasTyped) {
  KORIVrcIG_var first = MakeIG("First");
  KORIVrcIG_var second = MakeIG("Second");
  const struct {
    KORIVrcIG* edited; // null: creating
    const char* button;
  } cases[] = {{nullptr, "press OK"},
               {nullptr, "press Apply"},
               {second.get(), "press OK"},
               {second.get(), "press Apply"}};
  int free = 0;
  for (const auto& c : cases) {
    const Names before = IGNames();
    StartIG(c.edited);
    Perform({"set NameEditor First", c.button});
    EXPECT_TRUE(DialogOpen()) << c.button;
    Perform({"expect NameEditor First",
             "expect-message \"\\\"First\\\" is already the name of another element\""});
    EXPECT_EQ(IGNames(), before) << c.button << ": nothing written";
    // The refused button can be pressed again once the name is changed.
    const KORString freeName = "set NameEditor Free" + std::to_string(++free);
    Perform({freeName, c.button});
    EXPECT_NE(IGNames(), before) << c.button << " pressed again";
    if (DialogOpen())
      Perform({"press OK"});
  }
}

class ConfigCommandTest : public DriverTest {};

TEST_F(ConfigCommandTest, ShowsNoneWithoutMainWindowAndOKWithoutPickKeepsNone) {
  ASSERT_FALSE(MainWindow());
  Perform({"edit config:Config", "expect NameEditor Config", "expect MainWindowEditor (none)",
           "set NameEditor Room", "press OK"});
  EXPECT_FALSE(DialogOpen());
  EXPECT_EQ(ConfigName(), "Room");
  EXPECT_FALSE(MainWindow());
}

TEST_F(ConfigCommandTest, APickedWindowBecomesTheMainWindow) {
  MakeWindow("IG1", "Left");
  MakeWindow("IG2", "Right");
  Perform({"start KORVrcConfigCmdHdr", "pick window:Left", "expect MainWindowEditor Left",
           "pick window:Right", "expect MainWindowEditor Right"});
  const KORString refused = Refused("pick ig:IG1");
  EXPECT_NE(refused.find("no running command takes a pick"), KORString::npos) << refused;
  Perform({"press OK"});
  EXPECT_EQ(MainWindowName(), "Right");
}

TEST_F(ConfigCommandTest, CancelAfterApplyGivesBackNameAndMainWindow) {
  WithoutTransactions();
  KORIVrcWindow_var left = MakeWindow("IG1", "Left");
  MakeWindow("IG2", "Right");
  for (const char* mainAtStart : {"Left", ""}) {
    ASSERT_EQ(Resources()->SetMainWindow(*mainAtStart ? left.get() : nullptr), S_OK);
    Perform({"edit config:Config", "set NameEditor Changed", "pick window:Right", "press Apply"});
    EXPECT_EQ(ConfigName(), "Changed");
    EXPECT_EQ(MainWindowName(), "Right");
    Perform({"press Cancel"});
    EXPECT_FALSE(DialogOpen());
    EXPECT_EQ(ConfigName(), "Config");
    EXPECT_EQ(MainWindowName(), mainAtStart) << "main window at start: " << mainAtStart;
  }
}

TEST_F(ConfigCommandTest, TracesItsStepsAndHowItFoundTheFactory) {
  const auto Traced = [](std::initializer_list<const char*> iLines) {
    std::vector<KORString> lines;
    for (const char* line : iLines)
      lines.push_back(KORString("KORVrcController: ") + line);
    return lines;
  };
  {
    KORTraceCapture capture({"KORVrcController"});
    Perform({"start KORVrcConfigCmdHdr", "press Cancel"});
    EXPECT_EQ(capture.Lines(),
              Traced({"} End of point::GetFactory()",
                      "KORVrcConfigCmd: \t\tKORStateCommand::BuildGraph()",
                      "KORVrcConfigCmd::InitDefaultValues", "KORVrcConfigCmd: \t\tOnCancel()"}));
  }
  frame.Editor().SetDocument(nullptr);
  KORTraceCapture capture({"KORVrcController"});
  Perform({"start KORVrcConfigCmdHdr"});
  EXPECT_FALSE(DialogOpen()) << "without document there is nothing to edit";
  EXPECT_EQ(capture.Lines(),
            Traced({"} Anormal End of KORVrcConfigCmd::GetFactory(): Document NOT FOUND",
                    "KORVrcConfigCmd: \t\tKORStateCommand::BuildGraph()"}));
}

} // namespace
