// The configuration identifier of a document saved without one, made when the
// runtime first asks for it, and the undo history of the edits before.
#include "KorvrcTestSupport.h"

#include <regex>

namespace {
class KorvrcConfigIdentifierTest : public KorvrcTest {
protected:
  void SetUp() override {
    KorvrcTest::SetUp();
    ASSERT_EQ(Run(std::string("import ") + KORVRC_EXAMPLE_FILE + " -o room.kordoc").status, 0);
    // What an older release saved: the document carries no identifier.
    const std::string saved = ReadFile(folder / "room.kordoc");
    const std::string older =
        std::regex_replace(saved, std::regex("\"ConfigID\": \"[0-9a-f_]+\""), "\"ConfigID\": \"\"");
    ASSERT_NE(older, saved);
    WriteFile(folder / "room.kordoc", older);
  }
};

// The first request wrote the identifier outside any transaction, which ended
// the undo history: undo then had nothing left to take back.
TEST_F(KorvrcConfigIdentifierTest, TheFirstRequestKeepsTheUserEditsUndoable) {
  const std::string rename = "edit window:LeftWin\nset NameEditor Renamed\npress OK\n";
  struct Case {
    std::string lines;
    const char* error; // empty: the journal passes
  } const cases[] = {
      {rename + "runtime document\nundo\nedit window:LeftWin\nexpect NameEditor LeftWin\n", ""},
      {rename + "runtime document\nruntime document\nundo\nredo\nedit window:Renamed\n", ""},
      {rename + "edit window:Renamed\nset NameEditor Again\npress OK\nruntime document\nundo\n"
                "undo\nedit window:LeftWin\n",
       ""},
      {"runtime document\nundo\n", "korvrc: j.txt:3: nothing to undo\n"},
  };
  for (const Case& c : cases) {
    WriteFile(folder / "j.txt", "journal/1\n" + c.lines);
    const Result played = Run("play j.txt room.kordoc -o out.kordoc");
    EXPECT_EQ(played.err, c.error) << c.lines;
    EXPECT_EQ(played.status, *c.error ? 1 : 0) << c.lines;
  }
}
} // namespace
