// Describe, then import what it printed, then describe again: the two texts
// must be the same, for documents made every way a user makes them.
#include "KorvrcTestSupport.h"

namespace {

const fs::path kJournals = fs::path(KORVRC_EXAMPLE_FILE).parent_path() / "journals";

struct MadeDocument {
  const char* how;
  std::string journal; // played on a new document; empty: the bundled example imported
};

// `describe` wrote "port": 0 and "speed": 0 for a station and a button device
// whose port and speed were never set, and `import` refused its own output.
TEST_F(KorvrcTest, WhatDescribePrintsImportsAndDescribesTheSameWay) {
  const MadeDocument documents[] = {
      {"the bundled example", ""},
      {"the example built through the dialogs",
       ReadFile(kJournals / "build-four-wall-room.journal")},
      {"port and speed never set",
       "journal/1\n"
       "start btnCreateTrackingStation\nset NameEditor Polhemus\nset SpeedSpinner 0\npress OK\n"
       "start btnCreateTrackingStation\nset NameEditor Art\nchoose TypeCombo ART\npress OK\n"
       "start btnCreateButtonDevice\nset NameEditor Buttons\npress OK\n"},
      // A line speed of 0 and lengths beyond 1e9 mm went through the dialogs,
      // and the description written from them was refused on import.
      {"values at the ends of the dialogs' fields",
       "journal/1\n"
       "edit head:Head\nset IPDSpinEdit 1000\nset XSpinEdit 1e12\npress OK\n"
       "start btnCreateTrackingStation\nset NameEditor " +
           std::string(255, 'n') +
           "\nset SpeedSpinner 0\nset ZSpinEdit -5e9\npress OK\n"
           "start btnCreateButtonDevice\nchoose TypeCombo Mike\nset SpeedSpinner 0\npress OK\n"},
  };
  for (const MadeDocument& made : documents) {
    SCOPED_TRACE(made.how);
    if (made.journal.empty()) {
      ASSERT_EQ(Run(std::string("import ") + KORVRC_EXAMPLE_FILE + " -o doc.kordoc --force").status,
                0);
    } else {
      WriteFile(folder / "made.journal", made.journal);
      const Result played = Run("play made.journal -o doc.kordoc");
      ASSERT_EQ(played.status, 0) << played.err;
    }
    const Result described = Run("describe doc.kordoc");
    ASSERT_EQ(described.status, 0) << described.err;
    WriteFile(folder / "described.json", described.out);
    const Result imported = Run("import described.json -o again.kordoc --force");
    ASSERT_EQ(imported.status, 0) << imported.err << described.out;
    EXPECT_EQ(Run("describe again.kordoc").out, described.out);
    fs::remove(folder / "doc.kordoc");
  }
}

TEST_F(KorvrcTest, DescribeRefusesAValueImportWouldRefuseAndPrintsNothing) {
  // A document may hold an IPD of 0 (the dialog refuses it, a document
  // file need not come from the dialog), which the format's range refuses.
  ASSERT_EQ(Run("new doc.kordoc").status, 0);
  const std::string made = ReadFile(folder / "doc.kordoc");
  const std::size_t ipd = made.find("\"IPD\": ");
  ASSERT_NE(ipd, std::string::npos) << made;
  const std::size_t end = made.find_first_of(",}", ipd);
  WriteFile(folder / "doc.kordoc", made.substr(0, ipd) + "\"IPD\": 0.0" + made.substr(end));
  const Result described = Run("describe doc.kordoc");
  EXPECT_EQ(described.status, 1);
  EXPECT_EQ(described.out, "");
  EXPECT_EQ(described.err, "korvrc: doc.kordoc: cannot be described in a form that imports: "
                           "head.ipd: must be a number with 0 < value <= 1000\n");
}

} // namespace
