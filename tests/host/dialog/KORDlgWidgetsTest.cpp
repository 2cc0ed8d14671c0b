#include "command/KORCommandManager.h"
#include "dialog/KORDlgNotifications.h"
#include "dialog/KORDlgNotify.h"
#include "dialog/KORDlgWidgets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {
// A dialog under the manager's main window with one widget of each kind, and
// a record of every notification that reaches the dialog and its father.
class DialogFixture : public ::testing::Test {
protected:
  void SetUp() override {
    dialog = new KORDlgDialog(manager.GetMainWindow(), "TestDlg",
                              KORDlgOK | KORDlgCancel | KORDlgApply);
    frame = new KORDlgFrame(dialog, "Frame001");
    name = new KORDlgEditor(frame, "NameEditor");
    port = new KORDlgEditor(frame, "PortEditor", KORDlgEditor::Integer);
    caption = new KORDlgEditor(frame, "CaptionEditor", KORDlgEditor::ReadOnly);
    type = new KORDlgCombo(frame, "TypeCombo");
    for (const char* line : {"CUSTOM", "IS900", "POLHEMUS"})
      type->SetLine(line);
    speed = new KORDlgSpinner(frame, "SpeedSpinner");
    speed->SetRange(0, 115200, 12);
    manager_ = new KORDlgCheckButton(frame, "CheckButtonManager");
    generate = new KORDlgPushButton(frame, "PushButton040");
    tabs = new KORDlgTabContainer(dialog, "TypeTabContainer");
    screenPage = new KORDlgTabPage(tabs, "ScreenTabPage");
    cameraPage = new KORDlgTabPage(tabs, "CameraTabPage");
    hfov = new KORDlgSpinner(cameraPage, "CamHfovSpinEdit");
    dialog->SetVisibility(true);
    dialog->AddAnalyseNotificationCB(nullptr, nullptr,
                                     [this](KORCommand* iSender, KORCommandNotification& iN) {
                                       seen.push_back({iSender, iN.GetNotificationName()});
                                     });
    manager.GetMainWindow()->AddAnalyseNotificationCB(
        nullptr, nullptr, [this](KORCommand*, KORCommandNotification&) { ++reachedFather; });
  }

  struct Seen {
    KORCommand* sender;
    std::string name;
  };
  KORCommandManager manager;
  KORDlgDialog* dialog = nullptr;
  KORDlgFrame* frame = nullptr;
  KORDlgEditor* name = nullptr;
  KORDlgEditor* port = nullptr;
  KORDlgEditor* caption = nullptr;
  KORDlgCombo* type = nullptr;
  KORDlgSpinner* speed = nullptr;
  KORDlgCheckButton* manager_ = nullptr;
  KORDlgPushButton* generate = nullptr;
  KORDlgTabContainer* tabs = nullptr;
  KORDlgTabPage* screenPage = nullptr;
  KORDlgTabPage* cameraPage = nullptr;
  KORDlgSpinner* hfov = nullptr;
  std::vector<Seen> seen;
  int reachedFather = 0;
  KORString error;

  // A yes/no question box of the dialog, not shown yet.
  KORDlgNotify* OverwriteQuestion() {
    return new KORDlgNotify(dialog, "OverwriteNfy", KORDlgNotifyStyle::Question,
                            KORDlgAnswerYes | KORDlgAnswerNo);
  }
};

TEST_F(DialogFixture, EachUserActionSendsExactlyOneNotificationOfItsClass) {
  struct Case {
    const char* what;
    std::function<HRESULT()> act;
    KORCommand* sender;
    const char* notification;
  };
  const std::vector<Case> cases = {
      {"type a name", [&] { return name->UserSetText("View1", error); }, name,
       KORDlgEditModifyNotification::ClassName},
      {"choose a combo line", [&] { return type->UserSelect(2, error); }, type,
       KORDlgComboSelectNotification::ClassName},
      {"type into a spinner", [&] { return speed->UserSetValue(9600, error); }, speed,
       KORDlgSpinnerValueChangedNotification::ClassName},
      {"tick a check button", [&] { return manager_->UserSetState(true, error); }, manager_,
       KORDlgCheckModifyNotification::ClassName},
      {"press a push button", [&] { return generate->UserPush(error); }, generate,
       KORDlgPushBActivateNotification::ClassName},
      {"select a tab page", [&] { return tabs->UserSelectPage(cameraPage, error); }, tabs,
       KORDlgTabSelectNotification::ClassName},
      {"press OK", [&] { return dialog->UserPress(KORDlgOK, error); }, dialog,
       KORDlgDialog::GetDiaOKNotification()},
      {"press Cancel", [&] { return dialog->UserPress(KORDlgCancel, error); }, dialog,
       KORDlgDialog::GetDiaCANCELNotification()},
      {"close the window", [&] { return dialog->UserClose(error); }, dialog,
       KORDlgDialog::GetWindCloseNotification()},
  };
  for (const Case& c : cases) {
    seen.clear();
    reachedFather = 0;
    EXPECT_EQ(c.act(), S_OK) << c.what << ": " << error;
    ASSERT_EQ(seen.size(), 1u) << c.what;
    EXPECT_EQ(seen[0].name, c.notification) << c.what;
    EXPECT_EQ(seen[0].sender, c.sender) << c.what;
    EXPECT_EQ(reachedFather, 1) << c.what << ": the dialog's father must hear it too";
  }
}

TEST_F(DialogFixture, WidgetsAPersonCannotReachRefuseActionsAndSendNothing) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::function<HRESULT()> act;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"inside a hidden frame", [&] { frame->SetVisibility(false); },
       [&] { return name->UserSetText("x", error); }, "hidden frame \"Frame001\""},
      {"inside an insensitive frame", [&] { frame->SetSensitivity(false); },
       [&] { return type->UserSelect(0, error); }, "insensitive frame"},
      {"dialog not shown", [&] { dialog->SetVisibility(false); },
       [&] { return dialog->UserPress(KORDlgOK, error); }, "hidden dialog"},
      {"closing a dialog not shown", [&] { dialog->SetVisibility(false); },
       [&] { return dialog->UserClose(error); }, "not shown"},
      {"insensitive OK button", [&] { dialog->SetButtonSensitivity(KORDlgOK, false); },
       [&] { return dialog->UserPress(KORDlgOK, error); }, "OK button is insensitive"},
      {"read-only editor", [] {}, [&] { return caption->UserSetText("x", error); }, "read-only"},
      {"integer editor given text", [] {}, [&] { return port->UserSetText("50a", error); },
       "whole number"},
      {"combo line past the end", [] {}, [&] { return type->UserSelect(3, error); }, "no line 4"},
      {"spinner given no number", [] {}, [&] { return speed->UserSetValue(NAN, error); },
       "number"},
      {"hidden tab page", [&] { cameraPage->SetVisibility(false); },
       [&] { return tabs->UserSelectPage(cameraPage, error); }, "hidden"},
  };
  for (const Case& c : cases) {
    SetUp(); // a fresh dialog per case; the previous one goes with the manager's window
    c.arrange();
    seen.clear();
    EXPECT_EQ(c.act(), E_FAIL) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    EXPECT_TRUE(seen.empty()) << c.what;
  }
}

TEST_F(DialogFixture, RefusedOrIdleActionsLeaveTheWidgetAsItWasAndSendNothing) {
  port->SetIntegerValue(5000);
  EXPECT_EQ(port->UserSetText("abc", error), E_FAIL);
  int value = 0;
  EXPECT_EQ(port->GetIntegerValue(value), S_OK);
  EXPECT_EQ(value, 5000);
  type->SetSelect(1);
  EXPECT_EQ(type->UserSelect(-1, error), E_FAIL);
  EXPECT_EQ(type->GetValueText(), "IS900");
  EXPECT_EQ(manager_->UserSetState(false, error), S_FALSE);
  EXPECT_EQ(tabs->UserSelectPage(screenPage, error), S_FALSE);
  EXPECT_TRUE(seen.empty());
}

TEST_F(DialogFixture, SpinnersClampWhatIsTypedAndSetAndShowItInTheirFormat) {
  for (const auto& [typed, shown] :
       {std::pair{200000.0, 115200.0}, {-5.0, 0.0}, {4800.0, 4800.0}}) {
    EXPECT_EQ(speed->UserSetValue(typed, error), S_OK);
    EXPECT_EQ(speed->GetValue(), shown) << typed;
  }
  // Narrowing the range pulls the value in, as the viewport spinners need.
  KORDlgSpinner width(dialog, "WidthSpinner");
  width.SetRange(0, 1, 100);
  width.SetValue(0.8);
  width.SetRange(0, 0.25, 100);
  EXPECT_DOUBLE_EQ(width.GetValue(), 0.25);
  EXPECT_DOUBLE_EQ(width.GetStep(), 0.0025);

  // The shown text follows the format.
  speed->SetFormat("%.0f");
  speed->SetValue(9600.4);
  EXPECT_EQ(speed->GetValueText(), "9600");
}

TEST_F(DialogFixture, TabPagesAreSelectedByTheirContainerOnly) {
  EXPECT_EQ(tabs->GetSelectedPage(), screenPage) << "the first page is shown at first";
  KORDlgTabPage stray(dialog, "StrayPage");
  EXPECT_FALSE(tabs->SetSelectedPage(&stray));
  EXPECT_EQ(tabs->UserSelectPage(&stray, error), E_FAIL);
}

TEST_F(DialogFixture, MessageBoxesAnswerOnlyWhatTheyOffer) {
  KORDlgNotify* box = OverwriteQuestion();
  int yes = 0;
  dialog->AddAnalyseNotificationCB(box, KORDlgNotify::GetAnswerNotification(KORDlgAnswerYes),
                                   [&](KORCommand*, KORCommandNotification&) { ++yes; });
  EXPECT_EQ(box->UserAnswer(KORDlgAnswerYes, error), E_FAIL) << "not shown yet";
  box->Display("The file exists. Overwrite it?", "Warning");
  EXPECT_EQ(box->UserAnswer(KORDlgAnswerOK, error), E_FAIL);
  EXPECT_EQ(box->UserAnswer(KORDlgAnswerYes, error), S_OK);
  EXPECT_EQ(yes, 1);
  EXPECT_FALSE(box->GetVisibility()) << "an answer closes the box";
  EXPECT_EQ(box->UserAnswer(KORDlgAnswerYes, error), E_FAIL);
}

TEST_F(DialogFixture, DirectoryBoxesTakeExistingDirectoriesOnly) {
  const auto folder = std::filesystem::temp_directory_path() / "kor_dialog_test_dir";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "file.txt") << "x";
  auto* box = new KORDlgFileBox(dialog, "VRFileBox", KORDlgFileBox::Directory);
  box->SetVisibility(true);
  EXPECT_EQ(box->UserChoose((folder / "file.txt").string(), error), E_FAIL);
  EXPECT_EQ(box->UserChoose((folder / "missing").string(), error), E_FAIL);
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(box->UserChoose(folder.string(), error), S_OK);
  EXPECT_EQ(box->GetSelection(), folder.string());
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].name, KORDlgFileOKNotification::ClassName);

  auto* save = new KORDlgFileBox(dialog, "SaveBox", KORDlgFileBox::SaveFile);
  save->SetVisibility(true);
  EXPECT_EQ(save->UserChoose((folder / "new.xml").string(), error), S_OK);
  EXPECT_EQ(save->UserChoose((folder / "missing" / "new.xml").string(), error), E_FAIL);
  std::filesystem::remove_all(folder);
}

TEST_F(DialogFixture, CaptionsComeFromTheDialogsCatalog) {
  const auto path = std::filesystem::temp_directory_path() / "KORTestDlg.KORmsg";
  std::ofstream(path) << "NameEditor.Title = \"Name of the view\"\n";
  ASSERT_EQ(dialog->GetMessageCatalog().LoadFile(path.string()), S_OK);
  EXPECT_EQ(name->GetTitle(), "Name of the view");
  EXPECT_EQ(type->GetTitle(), "TypeCombo") << "a widget without caption shows its name";
  std::filesystem::remove(path);
}

TEST_F(DialogFixture, WidgetsAreFoundByNameAndDieWithTheirDialog) {
  EXPECT_EQ(dialog->FindWidget("CamHfovSpinEdit"), hfov);
  EXPECT_EQ(dialog->FindWidget("Nothing"), nullptr);
  EXPECT_EQ(hfov->GetDialog(), dialog);
  // Deleting the dialog deletes its widgets; ASan reports any leak or double delete.
  delete dialog;
  EXPECT_TRUE(manager.GetMainWindow()->GetChildren().empty());
}

TEST_F(DialogFixture, AnOpenMessageBoxBlocksEveryOtherWindowUntilAnswered) {
  KORDlgNotify* box = OverwriteQuestion();
  auto* other = new KORDlgDialog(manager.GetMainWindow(), "OtherDlg");
  other->SetVisibility(true);
  box->Display("Overwrite?", "Warning");
  struct Case {
    const char* what;
    std::function<HRESULT()> act;
  };
  const Case blocked[] = {
      {"a widget of the dialog under the box", [&] { return generate->UserPush(error); }},
      {"the dialog's OK", [&] { return dialog->UserPress(KORDlgOK, error); }},
      {"the dialog's window close", [&] { return dialog->UserClose(error); }},
      {"another dialog", [&] { return other->UserPress(KORDlgCancel, error); }},
  };
  for (const Case& c : blocked) {
    EXPECT_EQ(c.act(), E_FAIL) << c.what;
    EXPECT_NE(error.find("\"OverwriteNfy\" waits for an answer"), std::string::npos)
        << c.what << ": " << error;
  }
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(box->UserAnswer(KORDlgAnswerNo, error), S_OK);
  EXPECT_EQ(generate->UserPush(error), S_OK) << "answered: the dialog is free again";
}

TEST_F(DialogFixture, ShownWindowsAreTheVisibleDialogsAndBoxesInOrder) {
  auto* box = new KORDlgNotify(dialog, "Nfy", KORDlgNotifyStyle::Information);
  auto* hidden = new KORDlgDialog(manager.GetMainWindow(), "HiddenDlg");
  auto* later = new KORDlgDialog(manager.GetMainWindow(), "LaterDlg");
  later->SetVisibility(true);
  auto names = [&] {
    std::vector<std::string> result;
    for (KORDlgObject* window : KORDlgShownWindows(*manager.GetMainWindow()))
      result.push_back(window->GetName());
    return result;
  };
  EXPECT_EQ(names(), (std::vector<std::string>{"TestDlg", "LaterDlg"}));
  box->Display("Done.", "Information");
  EXPECT_EQ(names(), (std::vector<std::string>{"TestDlg", "Nfy", "LaterDlg"}));
  dialog->SetVisibility(false);
  EXPECT_EQ(names(), (std::vector<std::string>{"LaterDlg"})) << "a box of a hidden dialog is not seen";
  EXPECT_FALSE(hidden->GetVisibility());
}
} // namespace
