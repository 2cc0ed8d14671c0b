#include "command/KORCommandManager.h"
#include "command/KORFrmEditor.h"
#include "command/KORStateCommand.h"
#include "dialog/KORDlgNotifications.h"
#include "dialog/KORDlgWidgets.h"
#include "objectmodel/KORImplementation.h"

#include <gtest/gtest.h>

namespace {
KOR_DECLARE_NOTIFICATION(TestInitNotification, KORCommandNotification)

class ITestView : public KORBaseUnknown {
  KOR_INTERFACE(ITestView, KORBaseUnknown)
};
class ITestWindow : public KORBaseUnknown {
  KOR_INTERFACE(ITestWindow, KORBaseUnknown)
};
class TestView final : public KORImplementationOf<TestView, ITestView> {
public:
  TestView() : KORImplementationOf("TestView") {}
};
class TestWindow final : public KORImplementationOf<TestWindow, ITestWindow> {
public:
  TestWindow() : KORImplementationOf("TestWindow") {}
};

// What happened to the commands, in order.
struct Journal : KORCommandObserver {
  std::vector<std::string> lines;
  void OnCommandStarted(KORCommand& iCommand) override { lines.push_back("start " + iCommand.GetName()); }
  void OnCommandCommitted(KORCommand& iCommand) override { lines.push_back("commit " + iCommand.GetName()); }
  void OnCommandAborted(KORCommand& iCommand) override { lines.push_back("abort " + iCommand.GetName()); }
  void OnCommandEnded(KORCommand& iCommand) override { lines.push_back("end " + iCommand.GetName()); }
};

// Two states as an editing command has them: "initialState" left on the
// command's own init notification or a pre-selected view; "finalState" with
// OK (guarded), Apply (repeatable, guarded), Cancel, Close, a repeatable pick
// of views and a pick of windows without the repeat behaviour.
class TwoStateCmd : public KORStateCommand {
public:
  static inline int alive = 0;

  TwoStateCmd() : KORStateCommand("TwoStateCmd") { ++alive; }
  ~TwoStateCmd() override {
    --alive;
    destroyedInsideAction = insideAction;
  }

  void BuildGraph() override {
    dialog = new KORDlgDialog(this, "TwoStateDlg", KORDlgOK | KORDlgCancel | KORDlgApply);
    auto* init = MakeAgent<KORDialogAgent>("InitAgent");
    init->AcceptOnNotify(this, TestInitNotification::ClassName);
    preselection = MakeAgent<KORPathElementAgent>("PreselectedView");
    preselection->AddElementType(ITestView::IID);
    preselection->SetBehavior(KORAgentValuedFromSelection);
    ok = MakeAgent<KORDialogAgent>("OkAgent");
    ok->AcceptOnNotify(dialog, KORDlgDialog::GetDiaOKNotification());
    apply = MakeAgent<KORDialogAgent>("ApplyAgent");
    apply->AcceptOnNotify(dialog, KORDlgDialog::GetDiaAPPLYNotification());
    apply->SetBehavior(KORAgentRepeat);
    auto* cancel = MakeAgent<KORDialogAgent>("CancelAgent");
    cancel->AcceptOnNotify(dialog, KORDlgDialog::GetDiaCANCELNotification());
    cancel->AcceptOnNotify(dialog, KORDlgDialog::GetWindCloseNotification());
    viewPick = MakeAgent<KORPathElementAgent>("GetView");
    viewPick->AddElementType(ITestView::IID);
    viewPick->SetBehavior(KORAgentRepeat);
    windowPick = MakeAgent<KORPathElementAgent>("GetWindow");
    windowPick->AddElementType(ITestWindow::IID);

    KORCommandState* initial = GetInitialState("initialState");
    initial->AddDialogAgent(init);
    initial->AddDialogAgent(preselection);
    final = AddDialogState("finalState");
    for (KORCommandAgent* agent : std::initializer_list<KORCommandAgent*>{ok, apply, cancel, viewPick, windowPick})
      final->AddDialogAgent(agent);

    AddTransition(initial, final, IsLastModifiedAgentCondition(preselection), Action(&TwoStateCmd::OnInit));
    AddTransition(initial, final, IsOutputSetCondition(init), Action(&TwoStateCmd::OnInit));
    AddTransition(final, nullptr, IsOutputSetCondition(ok) && Condition(&TwoStateCmd::TestValues),
                  Action(&TwoStateCmd::OnOK));
    AddTransition(final, final, IsLastModifiedAgentCondition(apply) && Condition(&TwoStateCmd::TestValues),
                  Action(&TwoStateCmd::OnOK));
    AddTransition(final, nullptr, IsOutputSetCondition(cancel), Action(&TwoStateCmd::OnCancel));
    AddTransition(final, final, IsLastModifiedAgentCondition(viewPick), Action(&TwoStateCmd::OnPick));
    AddTransition(final, final, IsLastModifiedAgentCondition(windowPick), Action(&TwoStateCmd::OnPick));
  }

  void Activate() override {
    TestInitNotification init;
    EXPECT_EQ(SendNotification(this, init), GetCurrentState() == final ? S_FALSE : S_OK);
  }

  bool OnInit(void*) {
    ++inits;
    initFromSelection = preselection->IsOutputSet();
    dialog->SetVisibility(true);
    return true;
  }
  bool TestValues(void*) { return valuesValid; }
  bool OnOK(void*) {
    insideAction = true;
    ++writes;
    insideAction = false;
    return true;
  }
  bool OnCancel(void*) { return true; }
  bool OnPick(void*) {
    ++picks;
    return true;
  }

  KORDlgDialog* dialog = nullptr;
  KORCommandState* final = nullptr;
  KORPathElementAgent* preselection = nullptr;
  KORDialogAgent* ok = nullptr;
  KORDialogAgent* apply = nullptr;
  KORPathElementAgent* viewPick = nullptr;
  KORPathElementAgent* windowPick = nullptr;
  bool valuesValid = true;
  bool insideAction = false;
  static inline bool destroyedInsideAction = false;
  bool initFromSelection = false;
  int inits = 0, writes = 0, picks = 0;
};

class StateCommandFixture : public ::testing::Test {
protected:
  void SetUp() override {
    manager.SetEditor(&editor);
    manager.SetObserver(&journal);
    TwoStateCmd::destroyedInsideAction = false;
  }
  TwoStateCmd* Start() {
    auto* command = new TwoStateCmd();
    EXPECT_EQ(manager.StartCommand(command), S_OK);
    return command;
  }
  KORSmartPtr<TestView> view{new TestView()};
  KORSmartPtr<TestWindow> window{new TestWindow()};
  Journal journal;
  KORFrmEditor editor;
  KORCommandManager manager;
  KORString error;
};

// Repeatable agents are valued again without leaving the state; an agent
// without repeat takes nothing more until re-armed.
TEST_F(StateCommandFixture, OnlyRepeatableOrReArmedAgentsAreValuedAgain) {
  TwoStateCmd* command = Start();
  for (int i = 0; i < 3; ++i)
    ASSERT_EQ(command->dialog->UserPress(KORDlgApply, error), S_OK);
  EXPECT_EQ(command->writes, 3);
  EXPECT_EQ(manager.Pick({view.get()}), S_OK);
  EXPECT_EQ(manager.Pick({view.get()}), S_OK);
  EXPECT_EQ(command->picks, 2);
  EXPECT_EQ(command->GetCurrentState()->GetName(), "finalState");

  EXPECT_EQ(manager.Pick({window.get()}), S_OK);
  EXPECT_EQ(manager.Pick({window.get()}), S_FALSE);
  EXPECT_EQ(command->picks, 3);
  command->windowPick->InitializeAcquisition();
  EXPECT_EQ(manager.Pick({window.get()}), S_OK);
  EXPECT_EQ(command->picks, 4);
}

TEST_F(StateCommandFixture, PathAgentsTakeOnlyTheirElementTypesAndKeepThePath) {
  TwoStateCmd* command = Start();
  KORSmartPtr<TestWindow> root(new TestWindow());
  EXPECT_EQ(manager.Pick({view.get(), root.get()}, KORMathPoint(1, 2, 3)), S_OK)
      << "the last element decides: a window";
  EXPECT_EQ(command->windowPick->GetElementValue(), static_cast<KORBaseUnknown*>(root.get()));
  EXPECT_EQ(command->windowPick->GetValue().GetSize(), 2);
  ASSERT_TRUE(command->windowPick->GetPoint().has_value());
  EXPECT_EQ(command->windowPick->GetPoint()->GetY(), 2);
  EXPECT_EQ(manager.Pick({}), E_INVALIDARG);
}

TEST_F(StateCommandFixture, AFalseConditionKeepsTheStateAndWritesNothing) {
  TwoStateCmd* command = Start();
  command->valuesValid = false;
  ASSERT_EQ(command->dialog->UserPress(KORDlgOK, error), S_OK);
  EXPECT_EQ(command->writes, 0);
  EXPECT_EQ(TwoStateCmd::alive, 1);
  EXPECT_EQ(command->GetCurrentState()->GetName(), "finalState");
  // The OK agent stays valued: once the values are right, the next
  // transition try (any agent valued) lets OK through.
  command->valuesValid = true;
  ASSERT_EQ(manager.Pick({view.get()}), S_OK);
  // The command is gone now: read what happened from the observer.
  EXPECT_EQ(journal.lines,
            (std::vector<std::string>{"start TwoStateCmd", "commit TwoStateCmd", "end TwoStateCmd"}));
  EXPECT_EQ(TwoStateCmd::alive, 0);
}

TEST_F(StateCommandFixture, AnEndedCommandIsDestroyedAfterTheNotificationNotDuringIt) {
  TwoStateCmd* command = Start();
  int heardAfterTransition = 0;
  // Registered on the dialog: runs before the command's agents see the
  // notification, while everything is alive.
  command->dialog->AddAnalyseNotificationCB(nullptr, KORDlgDialog::GetDiaOKNotification(),
                                            [&](KORCommand*, KORCommandNotification&) { ++heardAfterTransition; });
  ASSERT_EQ(command->dialog->UserPress(KORDlgOK, error), S_OK);
  EXPECT_EQ(heardAfterTransition, 1);
  EXPECT_EQ(TwoStateCmd::alive, 0);
  EXPECT_FALSE(TwoStateCmd::destroyedInsideAction);
  EXPECT_EQ(manager.GetActiveCommand(), nullptr);
  EXPECT_TRUE(manager.GetMainWindow()->GetChildren().empty()) << "the dialog went with it";
}

TEST_F(StateCommandFixture, TheInitNotificationOrAFittingPreselectionLeavesTheFirstState) {
  editor.SetSelection({window.get()});
  TwoStateCmd* command = Start();
  EXPECT_FALSE(command->initFromSelection) << "a window does not fit a view agent";
  EXPECT_EQ(command->GetCurrentState()->GetName(), "finalState");
  EXPECT_EQ(command->inits, 1);
  EXPECT_TRUE(command->dialog->GetVisibility());
  EXPECT_EQ(TwoStateCmd::alive, 1);
  manager.CancelActiveCommand();

  editor.SetSelection({view.get()});
  command = Start();
  EXPECT_TRUE(command->initFromSelection);
  EXPECT_EQ(command->inits, 1) << "the init notification finds the state already left";
  EXPECT_EQ(command->GetCurrentState()->GetName(), "finalState");
}

TEST_F(StateCommandFixture, TheManagerDestroysWhatIsLeftWhenItGoes) {
  {
    KORCommandManager local;
    auto* command = new TwoStateCmd();
    ASSERT_EQ(local.StartCommand(command), S_OK);
    new KORDlgDialog(local.GetMainWindow(), "Orphan");
  }
  EXPECT_EQ(TwoStateCmd::alive, 0);
}

TEST(CommandNotifications, CallbacksFilterBySenderAndNameAndMayRemoveThemselves) {
  KORCommandManager manager;
  auto* dialog = new KORDlgDialog(manager.GetMainWindow(), "Dlg");
  dialog->SetVisibility(true);
  auto* a = new KORDlgPushButton(dialog, "A");
  auto* b = new KORDlgPushButton(dialog, "B");
  int fromA = 0, any = 0;
  KORCallbackHandle once = 0;
  dialog->AddAnalyseNotificationCB(a, KORDlgPushBActivateNotification::ClassName,
                                   [&](KORCommand*, KORCommandNotification&) { ++fromA; });
  once = dialog->AddAnalyseNotificationCB(nullptr, nullptr, [&](KORCommand*, KORCommandNotification&) {
    ++any;
    dialog->RemoveAnalyseNotificationCB(once);
  });
  KORString error;
  ASSERT_EQ(b->UserPush(error), S_OK);
  ASSERT_EQ(a->UserPush(error), S_OK);
  EXPECT_EQ(fromA, 1);
  EXPECT_EQ(any, 1);
  KORDlgPushBActivateNotification stray;
  EXPECT_EQ(dialog->SendNotification(nullptr, stray), E_INVALIDARG);
}
} // namespace
