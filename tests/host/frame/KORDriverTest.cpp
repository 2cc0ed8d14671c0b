// The driver on a frame with the test module of TestDriverModule.cpp loaded:
// journal lines, refusals of what a person could not do, and each command as
// one transaction of the document.
#include "frame/KORDriver.h"
#include "../featurestore/StoreFixture.h"
#include "frame/KORJournal.h"
#include "system/KORModule.h"

#include <sstream>

namespace {

class DriverTest : public StoreTest {
protected:
  void SetUp() override {
    StoreTest::SetUp();
    std::string error;
    ASSERT_EQ(KORLoadModule("KORTestDriverModule", error), S_OK) << error;
    frame.MessageBoxes().SetEcho(false);
    frame.Editor().SetDocument(document->Identity());
    ASSERT_EQ(frame.LoadWorkbench("TestDriverWorkbench", error), S_OK) << error;
    for (auto [name, count] : {std::pair{"A", 5}, {"B", 8}, {"Twin", 1}, {"Twin", 2}}) {
      auto node = Node();
      ASSERT_EQ(Attr(node)->SetString("Name", name), S_OK);
      ASSERT_EQ(Attr(node)->SetInteger("Count", count), S_OK);
      nodes.push_back(node);
    }
    driver.SetMessageCallback([this](const KORDriverMessage& iMessage) {
      messages.push_back(iMessage.text + " -> " + iMessage.answer);
    });
  }

  // Performs each line; the first error, or "" when all were done.
  std::string Perform(const std::string& iLines) {
    std::istringstream lines(iLines);
    std::string line, error;
    while (std::getline(lines, line))
      if (FAILED(driver.Perform(line, error)))
        return error.empty() ? "(failed without a reason)" : error;
    return "";
  }
  int Count(int iNode) {
    int count = -1;
    EXPECT_EQ(Attr(nodes[iNode])->GetInteger("Count", count), S_OK);
    return count;
  }
  KORITransactions& Transactions() { return *KORQuery<KORITransactions>(document->Identity()); }

  KORFrame frame;
  std::ostringstream shown;
  KORDriver driver{frame, shown};
  std::vector<KORSmartPtr<KORISpecObject>> nodes;
  std::vector<std::string> messages;
};
constexpr int A = 0, B = 1;

TEST_F(DriverTest, WhatAPersonCouldNotDoIsRefusedAndChangesNothing) {
  struct Case {
    const char* before; // lines done first, each must pass
    const char* line;
    const char* error; // part of the error
  };
  const Case cases[] = {
      {"", "press OK", "no dialog is open"},
      {"", "answer yes", "no message box is open"},
      {"", "frobnicate", "unknown verb \"frobnicate\""},
      {"", "set", "wrong number of arguments; write: set WIDGET VALUE"},
      {"", "select node:Nobody", "no node named \"Nobody\""},
      {"", "select node:Twin", "ambiguous"},
      {"", "start btnMissing", "no toolbar button or command named \"btnMissing\""},
      {"", "start OffCmdHdr", "\"OffCmdHdr\" is not available"},
      {"", "drag node:A by 1 0 0", "node:A cannot be dragged: it cannot be moved in 3D"},
      {"", "drag node:A by 1 0", "write: drag ELEMENT by X Y Z [H P R]"},
      {"", "compass node:A", "node:A: the compass cannot be snapped onto it"},
      {"", "event ROTATION_EVENT 0 0 0 0 0 0", "\"ROTATION_EVENT\" is no tracking event"},
      {"", "undo", "nothing to undo"},
      {"", "expect-message Reset", "no message box was shown"},
      // After the line above: the person is also told in a message box.
      {"", "start MissingCmdHdr", "MissingCmdHdr is not available"},
      {"", "pick node:A", "no running command takes a pick of node:A"},
      {"edit node:A", "set HiddenEditor x", "HiddenEditor: is hidden editor"},
      {"edit node:A", "set NameEditor x", "tab page \"PageB\", which is not shown"},
      {"edit node:A\nset LockCheck on", "set CountSpinner 4", "insensitive spinner"},
      {"edit node:A", "set CountSpinner 4x", "is not a number"},
      {"edit node:A", "set LockCheck maybe", "on or off"},
      {"edit node:A", "set ResetPush 1", "takes no typed value"},
      {"edit node:A", "choose SizeCombo huge", "no line \"huge\""},
      {"edit node:A", "choose SizeCombo \"#3\"", "no line #3 (the combo has 2 lines)"},
      {"edit node:A", "choose SizeCombo \"#0\"", "no line #0"},
      {"edit node:A", "choose CountSpinner \"#1\"",
       "CountSpinner: a widget of kind spinner, not a combo"},
      {"edit node:A", "set NoSuchWidget 1", "no widget \"NoSuchWidget\" in the open dialog"},
      {"edit node:A", "press Maybe", "OK, Apply and Cancel"},
      {"edit node:A", "expect CountSpinner 6", "CountSpinner shows \"5\", expected \"6\""},
      {"edit node:A", "expect HiddenEditor \"\"", "hidden"},
      {"edit node:A\npush ResetPush", "press OK", "waits for an answer"},
      {"edit node:A\npush ResetPush", "answer ok", "ResetNfy: offers no such answer"},
      {"edit node:A", "file /tmp", "no file box is open"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Perform(c.before), "") << c.line;
    std::string error;
    EXPECT_EQ(driver.Perform(c.line, error), E_FAIL) << c.line;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.line << " gave: " << error;
    EXPECT_EQ(Count(A), 5) << c.line;
    frame.Commands().CancelActiveCommand();
  }
}

TEST_F(DriverTest, AJournalDrivesTheCommandFromToolbarToOK) {
  EXPECT_EQ(Perform("start btnCount\n"
                    "pick node:A at 1 2 3\n"
                    "expect CountSpinner 5\n"
                    "set CountSpinner 7   # live: written at once\n"
                    "expect CountSpinner 7.0000001\n"
                    "tab PageB\n"
                    "set NameEditor \"a \\\"quoted\\\" name\"\n"
                    "expect NameEditor \"a \\\"quoted\\\" name\"\n"
                    "choose SizeCombo \"#2\"\n"
                    "expect SizeCombo large\n"
                    "choose SizeCombo small\n"
                    "expect SizeCombo small"),
            "");
  EXPECT_EQ(Count(A), 7);
  EXPECT_EQ(Perform("push ResetPush\n"
                    "expect-message \"back to 0\"\n"
                    "answer yes\n"
                    "expect CountSpinner 0\n"
                    "press OK"),
            "");
  EXPECT_EQ(Count(A), 0);
  EXPECT_EQ(messages, std::vector<std::string>{"Set the count back to 0? -> yes"});
  EXPECT_EQ(frame.Commands().GetActiveCommand(), nullptr);
}

TEST_F(DriverTest, ShowWritesTheOpenDialogsAsJson) {
  ASSERT_EQ(Perform("show"), "");
  EXPECT_NE(shown.str().find("\"windows\": []"), std::string::npos) << shown.str();
  ASSERT_EQ(Perform("edit node:A\nshow"), "");
  for (const char* part : {"\"name\": \"CountDlg\"", "\"name\": \"CountSpinner\"", "\"value\": 5",
                           "\"visible\": false", "\"sensitive\": true"})
    EXPECT_NE(shown.str().find(part), std::string::npos) << part;
}

TEST_F(DriverTest, MessagesShownThroughTheFrameAreReportedAnsweredOk) {
  KORFrameScope scope(frame);
  KORShowUserMessage("Id", KORUserMessageStyle::Warning, "Export", "two warnings");
  ASSERT_EQ(Perform("expect-message warnings"), "");
  EXPECT_EQ(messages, std::vector<std::string>{"two warnings -> ok"});
  EXPECT_NE(Perform("expect-message errors").find("says \"two warnings\", not \"errors\""),
            std::string::npos);
}

TEST_F(DriverTest, AJournalFailsAtItsLineWithTheJournalsName) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"", "play.txt:1: the journal is empty; it must begin with journal/1"},
      {"start btnCount\n", "play.txt:1: the first line must be journal/1"},
      {"# a comment\n\njournal/2\n", "play.txt:3: the first line must be journal/1"},
      {"journal/1\n# pick first\n\nfrobnicate\n", "play.txt:4: unknown verb \"frobnicate\""},
      {"journal/1\nedit node:A\nset CountSpinner \"7\n",
       "play.txt:3: unterminated quote at column 18"},
  };
  for (const Case& c : cases) {
    std::istringstream journal(c.text);
    std::string error;
    EXPECT_EQ(driver.PerformJournal(journal, "play.txt", error), E_FAIL) << c.text;
    EXPECT_EQ(error, c.error);
    frame.Commands().CancelActiveCommand();
  }
  std::istringstream journal("journal/1 # the format\nedit node:A\nset CountSpinner 6\npress OK\n");
  std::string error;
  EXPECT_EQ(driver.PerformJournal(journal, "play.txt", error), S_OK) << error;
  EXPECT_EQ(Count(A), 6);
}

TEST(JournalLines, SplitIntoWordsWithQuotesAndComments) {
  using Words = std::vector<KORString>;
  const std::pair<const char*, Words> cases[] = {
      {"set ulXSpinEdit 1500", {"set", "ulXSpinEdit", "1500"}},
      {"  \t", {}},
      {"# only a comment", {}},
      {"press OK # and a comment", {"press", "OK"}},
      {"set a#b", {"set", "a"}},
      {"set Name \"two words\"", {"set", "Name", "two words"}},
      {"set Name \"# not a comment\"", {"set", "Name", "# not a comment"}},
      {"set Name \"say \\\"hi\\\"\"", {"set", "Name", "say \"hi\""}},
      {"file \"C:\\\\dir\"", {"file", "C:\\dir"}},
      {"set Name \"\"", {"set", "Name", ""}},
      {"select ig::0.0\r", {"select", "ig::0.0"}},
      // Two, three and four bytes a character.
      {"set Name \"\xC3\xA9" "cran \xE2\x82\xAC \xF0\x9F\x98\x80\"",
       {"set", "Name", "\xC3\xA9" "cran \xE2\x82\xAC \xF0\x9F\x98\x80"}},
  };
  for (const auto& [line, expected] : cases) {
    Words words{"left over"};
    KORString error;
    EXPECT_EQ(KORSplitJournalLine(line, words, error), S_OK) << line << ": " << error;
    EXPECT_EQ(words, expected) << line;
  }
  const std::pair<const char*, const char*> refused[] = {
      {"set Name \"open", "unterminated quote at column 10"},
      {"set Name \"new\\nline\"", "unknown escape (only \\\" and \\\\ are written) at column 14"},
      {"set Na\"me x", "a quote inside an unquoted argument at column 7"},
      {"set \"Name\"x 1", "a quoted argument must end with a blank at column 11"},
      {"set Name \"ends in \\", "unknown escape"},
      // Bytes that are not UTF-8: stray, overlong, a surrogate, past U+10FFFF, cut short.
      {"set Name Ext\xFF\xFFra", "not UTF-8 text at column 13"},
      {"set Name \xC0\xAF", "not UTF-8 text at column 10"},
      {"set Name \xED\xA0\x80", "not UTF-8 text at column 10"},
      {"set Name \xF4\x90\x80\x80", "not UTF-8 text at column 10"},
      {"set Name \xE2\x82", "not UTF-8 text at column 10"},
  };
  for (const auto& [line, expected] : refused) {
    Words words;
    KORString error;
    EXPECT_EQ(KORSplitJournalLine(line, words, error), E_FAIL) << line;
    EXPECT_NE(error.find(expected), std::string::npos) << line << ": " << error;
  }
}

// Each command is one transaction of the editor's document.
class CommandTransactionTest : public DriverTest {};

TEST_F(CommandTransactionTest, OKMakesOneStepThatUndoAndRedoReplay) {
  const int before = Transactions().GetUndoCount();
  ASSERT_EQ(Perform("edit node:A\nset CountSpinner 7\nset CountSpinner 9\npress OK"), "");
  EXPECT_EQ(Count(A), 9);
  EXPECT_EQ(Transactions().GetUndoCount(), before + 1) << "two edits, one command, one step";
  EXPECT_EQ(Transactions().GetTransactionDepth(), 0);
  ASSERT_EQ(Perform("undo"), "");
  EXPECT_EQ(Count(A), 5);
  ASSERT_EQ(Perform("redo"), "");
  EXPECT_EQ(Count(A), 9);
  EXPECT_EQ(Perform("redo"), "nothing to redo");
}

TEST_F(CommandTransactionTest, CancelAndCloseAfterApplyGiveBackTheDocumentAsItWas) {
  for (const char* end : {"press Cancel", "close"}) {
    const int before = Transactions().GetUndoCount();
    ASSERT_EQ(
        Perform(std::string("edit node:A\nset CountSpinner 7\npress Apply\nset CountSpinner 9\n") +
                end),
        "");
    EXPECT_EQ(Count(A), 5) << end;
    EXPECT_EQ(Transactions().GetUndoCount(), before) << end << ": nothing of it is left to undo";
    EXPECT_EQ(Transactions().GetTransactionDepth(), 0) << end;
  }
}

TEST_F(CommandTransactionTest, ApplyKeepsTheCommandOpenAndOKKeepsBothParts) {
  ASSERT_EQ(Perform("edit node:A\nset CountSpinner 7\npress Apply\nexpect CountSpinner 7"), "");
  EXPECT_EQ(Transactions().GetTransactionDepth(), 1) << "the rest of the command is recorded";
  const int before = Transactions().GetUndoCount();
  ASSERT_EQ(Perform("set CountSpinner 9\npress OK"), "");
  EXPECT_EQ(Count(A), 9);
  // Apply's part was an undo step of its own, so that undo stopped half-way.
  EXPECT_EQ(Transactions().GetUndoCount(), before) << "Apply and OK joined into the one step";
  ASSERT_EQ(Perform("undo"), "");
  EXPECT_EQ(Count(A), 5) << "undo took back the whole command";
  ASSERT_EQ(Perform("redo"), "");
  EXPECT_EQ(Count(A), 9);
}

TEST_F(CommandTransactionTest, StartingAnotherCommandOrUndoCancelsTheRunningOne) {
  ASSERT_EQ(Perform("edit node:A\nset CountSpinner 1\npress OK\nundo"), "");
  ASSERT_EQ(Transactions().GetRedoCount(), 1);
  ASSERT_EQ(Perform("edit node:A\nset CountSpinner 7\nedit node:B"), "");
  EXPECT_EQ(Count(A), 5);
  EXPECT_EQ(Transactions().GetRedoCount(), 1)
      << "the cancelled command's own restore was written outside its transaction";
  ASSERT_EQ(Perform("set CountSpinner 1\npress OK\nedit node:A\nset CountSpinner 2\nundo"), "");
  EXPECT_EQ(Count(A), 5);
  EXPECT_EQ(Count(B), 8) << "undo took back the OK'd command, after cancelling the open one";
  EXPECT_EQ(frame.Commands().GetActiveCommand(), nullptr);
}
} // namespace
