#include "command/KORCommandEnvironment.h"
#include "command/KORFrmEditor.h"
#include "command/KORPrdPersistency.h"
#include "dialog/KORDlgObject.h"
#include "featurestore/KORDocument.h"
#include "frame/KORFrame.h"

#include <gtest/gtest.h>

namespace {
// A header whose availability follows the document's persistency: it is
// unavailable exactly when the UI-active document has a mode other than 0 and
// a host other than 0 (or a host that cannot be read). It re-evaluates on the
// completed UI-active changes of its editor while that editor is current.
class TestHeader : public KORCommandHeader {
public:
  TestHeader(const KORString& iId, const KORString& iClassName)
      : KORCommandHeader(iId, "KORTestCmdModule", iClassName, nullptr, KORFrmAvailable) {
    if (GetEditor())
      _handle = GetEditor()->AddCallback(KORFrmEditor::UIACTIVEOBJECT_CHANGECOMPLETED,
                                         [this](KORFrmEditor& iEditor) {
                                           if (GetEnvironment()->GetCurrentEditor() == &iEditor)
                                             ManageAvailability();
                                         });
    ManageAvailability();
  }
  ~TestHeader() override {
    if (_handle)
      GetEditor()->RemoveCallback(_handle);
  }
  void ManageAvailability() {
    bool unavailable = false;
    KORBaseUnknown_var document;
    int mode = 0, host = 0;
    if (SUCCEEDED(KORPrdSafeSaveServices::GetDocFromUIActiveObject(
            GetEnvironment() ? GetEnvironment()->GetCurrentEditor() : nullptr, document.Out())) &&
        SUCCEEDED(KORPrdSafeSaveServices::GetPersistencyModeFromDoc(document, mode)) && mode != 0)
      unavailable = true;
    if (SUCCEEDED(KORPrdSafeSaveServices::GetPersistencyHostFromDoc(document, host)) && host == 0)
      unavailable = false;
    if (unavailable)
      BecomeUnavailable();
    else
      BecomeAvailable();
  }

private:
  KORCallbackHandle _handle = 0;
};

class HeaderFixture : public ::testing::Test {
protected:
  void SetUp() override {
    KORRegisterPersistencyServices();
    environment.SetCurrentEditor(&editor);
  }
  KORIPrdPLMPersistency* Persistency() {
    persistency = KORQuery<KORIPrdPLMPersistency>(document.get());
    return persistency.get();
  }
  KORSmartPtr<KORDocument> document = KORDocument::Create();
  KORSmartPtr<KORIPrdPLMPersistency> persistency;
  KORFrmEditor editor{document->Identity()};
  // After the editors: headers leave their editors' callbacks when they go.
  KORFrame frame;
  KORFrameScope scope{frame};
  KORCommandEnvironment& environment = frame.CommandEnvironment();
  KORString error;
};

TEST_F(HeaderFixture, AvailabilityFollowsPersistencyModeAndHost) {
  struct Case {
    int mode;
    std::optional<int> host; // none: the host cannot be read
    bool available;
  };
  const Case cases[] = {
      {0, 0, true},  {0, 7, true},   {0, std::nullopt, true},  {3, 0, true},
      {3, 7, false}, {-1, 2, false}, {3, std::nullopt, false},
  };
  auto* header = new TestHeader("TestCmdHdr", "TestCmd");
  ASSERT_NE(Persistency(), nullptr);
  for (const Case& c : cases) {
    persistency->SetPersistencyMode(c.mode);
    if (c.host)
      persistency->SetPersistencyHost(*c.host);
    else
      persistency->ForgetPersistencyHost();
    editor.SetUIActiveObject(document->Identity());
    EXPECT_EQ(header->IsAvailable(), c.available)
        << "mode " << c.mode << ", host " << (c.host ? std::to_string(*c.host) : "unreadable");
    auto* born = new TestHeader("Born", "TestCmd");
    EXPECT_EQ(born->IsAvailable(), c.available) << "a header is right from birth";
  }
}

TEST_F(HeaderFixture, HeadersJoinTheCurrentListAndAreFoundByID) {
  auto* first = new TestHeader("TestCmdHdr", "TestCmd");
  auto* second = new TestHeader("OtherHdr", "TestCmd");
  EXPECT_EQ(environment.GetHeaderList().Size(), 2);
  EXPECT_EQ(KORCommandHeader::GetHeaderFromList("OtherHdr"), second);
  EXPECT_EQ(KORCommandHeader::GetHeaderFromList("TestCmdHdr"), first);
  EXPECT_EQ(KORCommandHeader::GetHeaderFromList("Missing"), nullptr);
  KORCommandHeader* clone = first->Clone();
  EXPECT_EQ(environment.GetHeaderList().Size(), 3);
  EXPECT_EQ(clone->GetClassName(), "TestCmd");
  EXPECT_EQ(KORCommandHeader::GetHeaderFromList("TestCmdHdr"), first) << "the first of an ID wins";
}

TEST_F(HeaderFixture, StartingAHeaderCreatesItsCommandThroughTheModule) {
  auto* header = new TestHeader("TestCmdHdr", "TestCmd");
  char argument[] = "Tracker 3";
  header->SetArgument(argument);
  ASSERT_EQ(header->StartCommand(error), S_OK) << error;
  KORCommand* command = environment.GetCommandManager().GetActiveCommand();
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->GetName(), "TestCmd");
  ASSERT_EQ(command->GetChildren().size(), 1u);
  auto* dialog = dynamic_cast<KORDlgDialog*>(command->GetChildren()[0]);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetTitle(), "Tracker 3");
  ASSERT_EQ(dialog->UserPress(KORDlgOK, error), S_OK);
  EXPECT_EQ(environment.GetCommandManager().GetActiveCommand(), nullptr);
}

TEST_F(HeaderFixture, HeadersThatCannotMakeTheirCommandSaySoWithoutCrashing) {
  struct Case {
    const char* what;
    KORCommandHeader* header;
    const char* message;
    bool toldInABox; // a button that does nothing must say why
  };
  auto* unavailable =
      new KORCommandHeader("OffHdr", "KORTestCmdModule", "TestCmd", nullptr, KORFrmUnavailable);
  const Case cases[] = {
      {"no creation function", new TestHeader("MissingHdr", "MissingCmd"), "fctCreateMissingCmd",
       true},
      {"creation makes nothing", new TestHeader("NullHdr", "NullCmd"), "made no command", true},
      {"unavailable", unavailable, "not available now", false},
      {"no module", new KORCommandHeader("NoModHdr", "KORNoSuchModule", "TestCmd", nullptr, 1),
       "KORNoSuchModule", true},
  };
  for (const Case& c : cases) {
    const std::size_t boxesBefore = frame.MessageBoxes().Shown().size();
    EXPECT_EQ(c.header->StartCommand(error), E_FAIL) << c.what;
    EXPECT_NE(error.find(c.header->GetID()), std::string::npos) << c.what << ": " << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(environment.GetCommandManager().GetActiveCommand(), nullptr) << c.what;
    const auto& boxes = frame.MessageBoxes().Shown();
    ASSERT_EQ(boxes.size(), boxesBefore + (c.toldInABox ? 1 : 0)) << c.what;
    if (c.toldInABox) {
      EXPECT_EQ(boxes.back().identifier, "CommandNotAvailable") << c.what;
    }
  }
}

TEST(HeaderWithoutFrame, AHeaderMadeOutsideAFrameHasNoEditorAndCannotStart) {
  KORCommandHeader header("LoneHdr", "KORTestCmdModule", "TestCmd", nullptr, KORFrmAvailable);
  EXPECT_EQ(header.GetEditor(), nullptr);
  KORString error;
  EXPECT_EQ(header.StartCommand(error), E_FAIL);
  EXPECT_NE(error.find("no application frame"), std::string::npos) << error;
}

TEST(PersistencyServices, ANullDocumentHasNoModeAndNoHost) {
  int value = 0;
  EXPECT_EQ(KORPrdSafeSaveServices::GetPersistencyModeFromDoc(nullptr, value), E_FAIL);
  EXPECT_EQ(KORPrdSafeSaveServices::GetPersistencyHostFromDoc(nullptr, value), E_FAIL);
  KORBaseUnknown* document = nullptr;
  EXPECT_EQ(KORPrdSafeSaveServices::GetDocFromUIActiveObject(nullptr, &document), E_FAIL);
  EXPECT_EQ(document, nullptr);
}
TEST(Editor, CallbacksRemovedWhileTheyRunAreNotCalledAgain) {
  KORFrmEditor editor;
  std::vector<int> calls;
  KORCallbackHandle second = 0;
  editor.AddCallback(KORFrmEditor::UIACTIVEOBJECT_CHANGECOMPLETED, [&](KORFrmEditor&) {
    calls.push_back(1);
    editor.RemoveCallback(second);
  });
  second = editor.AddCallback(KORFrmEditor::UIACTIVEOBJECT_CHANGECOMPLETED,
                              [&](KORFrmEditor&) { calls.push_back(2); });
  EXPECT_EQ(editor.AddCallback("SOMETHING_ELSE", [](KORFrmEditor&) {}), 0);
  editor.SetUIActiveObject(nullptr);
  editor.SetUIActiveObject(nullptr);
  EXPECT_EQ(calls, (std::vector<int>{1, 1}));
  EXPECT_EQ(editor.CallbackCount(), 1);
}
} // namespace
