#include "command/KORCommandEnvironment.h"
#include "command/KORFrmEditor.h"
#include "command/KORPrdPersistency.h"
#include "dialog/KORDlgObject.h"
#include "frame/KORFrame.h"

#include <gtest/gtest.h>

namespace {
// A header of the test module's command; how availability follows the
// document is tested with the module's own headers.
KORCommandHeader* NewTestHeader(const char* iId, const char* iClassName) {
  return new KORCommandHeader(iId, "KORTestCmdModule", iClassName, nullptr, KORFrmAvailable);
}

class HeaderFixture : public ::testing::Test {
protected:
  KORFrame frame;
  KORFrameScope scope{frame};
  KORCommandEnvironment& environment = frame.CommandEnvironment();
  KORString error;
};

TEST_F(HeaderFixture, HeadersJoinTheCurrentListAndAreFoundByID) {
  auto* first = NewTestHeader("TestCmdHdr", "TestCmd");
  auto* second = NewTestHeader("OtherHdr", "TestCmd");
  EXPECT_EQ(environment.GetHeaderList().Size(), 2);
  EXPECT_EQ(KORCommandHeader::GetHeaderFromList("OtherHdr"), second);
  EXPECT_EQ(KORCommandHeader::GetHeaderFromList("TestCmdHdr"), first);
  EXPECT_EQ(KORCommandHeader::GetHeaderFromList("Missing"), nullptr);
  KORCommandHeader* clone = first->Clone();
  EXPECT_EQ(environment.GetHeaderList().Size(), 3);
  EXPECT_EQ(clone->GetClassName(), "TestCmd");
  EXPECT_EQ(KORCommandHeader::GetHeaderFromList("TestCmdHdr"), first) << "the first of an ID wins";
}

TEST_F(HeaderFixture, HeadersThatCannotMakeTheirCommandSaySoWithoutCrashing) {
  struct Case {
    const char* what;
    KORCommandHeader* header;
    const char* message;
  };
  const Case cases[] = {
      {"creation makes nothing", NewTestHeader("NullHdr", "NullCmd"), "made no command"},
      {"no module", new KORCommandHeader("NoModHdr", "KORNoSuchModule", "TestCmd", nullptr, 1),
       "KORNoSuchModule"},
  };
  for (const Case& c : cases) {
    const std::size_t boxesBefore = frame.MessageBoxes().Shown().size();
    EXPECT_EQ(c.header->StartCommand(error), E_FAIL) << c.what;
    EXPECT_NE(error.find(c.header->GetID()), std::string::npos) << c.what << ": " << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(environment.GetCommandManager().GetActiveCommand(), nullptr) << c.what;
    // A button that does nothing must say why.
    const auto& boxes = frame.MessageBoxes().Shown();
    ASSERT_EQ(boxes.size(), boxesBefore + 1) << c.what;
    EXPECT_EQ(boxes.back().identifier, "CommandNotAvailable") << c.what;
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
