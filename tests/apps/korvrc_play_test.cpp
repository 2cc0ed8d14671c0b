// korvrc play: a journal replayed on a document, its errors with the journal's
// line, and nothing saved when a line fails.
#include "KorvrcTestSupport.h"

namespace {
class KorvrcPlayTest : public KorvrcTest {
protected:
  void SetUp() override {
    KorvrcTest::SetUp();
    ASSERT_EQ(Run("new doc.kordoc").status, 0);
    original = ReadFile(folder / "doc.kordoc");
  }
  std::string original;
};

TEST_F(KorvrcPlayTest, AFailingLineIsReportedWithItsNumberAndNothingIsSaved) {
  struct Case {
    const char* journal;
    const char* error; // what follows "korvrc: j.txt:"
  };
  const Case cases[] = {
      {"# no format line\nselect config:Config\n", "2: the first line must be journal/1"},
      {"journal/1\n\n# a comment\nselect ig:Nobody\n", "4: no ig named \"Nobody\""},
      {"journal/1\nselect \"config:Config\n", "2: unterminated quote at column 8"},
      {"journal/1\nclick OK\n", "2: unknown verb \"click\""},
      {"journal/1\npress OK\n", "2: no dialog is open"},
      {"journal/1\nstart btnNoSuch\n", "2: no toolbar button or command named \"btnNoSuch\""},
      {"journal/1\nruntime \"\"\n", "2: the runtime's configuration identifier cannot be empty"},
      {"journal/1\nundo\n", "2: nothing to undo"},
  };
  for (const Case& c : cases) {
    WriteFile(folder / "j.txt", c.journal);
    for (const char* arguments : {"play j.txt doc.kordoc", "play j.txt doc.kordoc -o out.kordoc",
                                  "play j.txt -o out.kordoc"}) {
      const Result result = Run(arguments);
      EXPECT_EQ(result.status, 1) << c.journal;
      EXPECT_EQ(result.err.rfind(std::string("korvrc: j.txt:") + c.error, 0), 0u)
          << arguments << " gave " << result.err;
      EXPECT_EQ(ReadFile(folder / "doc.kordoc"), original) << arguments;
      EXPECT_FALSE(fs::exists(folder / "out.kordoc")) << arguments;
    }
  }
}

TEST_F(KorvrcPlayTest, AJournalThatPassesSavesTheResultWhereAsked) {
  WriteFile(folder / "j.txt", "journal/1\nselect config:Config\nshow\n");
  const Result fresh = Run("play j.txt -o out.kordoc");
  ASSERT_EQ(fresh.status, 0) << fresh.err;
  EXPECT_EQ(fresh.out, "{\n  \"windows\": []\n}\nwrote out.kordoc\n");
  EXPECT_EQ(Run("describe out.kordoc").out, Run("describe doc.kordoc").out)
      << "a new document holds the default configuration";
  const Result back = Run("play j.txt doc.kordoc");
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_NE(back.out.find("wrote doc.kordoc"), std::string::npos);
}

TEST_F(KorvrcPlayTest, ArgumentsThatLeaveNoPlaceToSaveOrNothingToReadAreRefused) {
  WriteFile(folder / "j.txt", "journal/1\n");
  EXPECT_EQ(Run("play j.txt").err,
            "korvrc: j.txt: say where to save the result: -o OUTPUT (no DOCUMENT was given)\n");
  const Result missing = Run("play missing.txt -o out.kordoc");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err.rfind("korvrc: missing.txt: cannot be read", 0), 0u) << missing.err;
  EXPECT_NE(Run("play j.txt nothing.kordoc").err.find("nothing.kordoc"), std::string::npos);
  EXPECT_FALSE(fs::exists(folder / "out.kordoc"));
}
} // namespace
