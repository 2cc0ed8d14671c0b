// What a person can enter in the dialogs, at the ends of each field's range,
// is described and imported again.
#include "KorvrcTestSupport.h"

namespace {
class KorvrcDialogRoundTripTest : public KorvrcTest {};

// A station's line speed of 0 and lengths beyond 1e9 mm went through the
// dialogs, and the description written from them was refused on import.
TEST_F(KorvrcDialogRoundTripTest, ValuesAtTheEndsOfTheFieldsDescribeAndImportAgain) {
  ASSERT_EQ(Run(std::string("import ") + KORVRC_EXAMPLE_FILE + " -o room.kordoc").status, 0);
  WriteFile(folder / "j.txt", "journal/1\n"
                              "edit head:Head\nset IPDSpinEdit 1000\nset XSpinEdit 1e12\npress OK\n"
                              "start btnCreateTrackingStation\nset NameEditor " +
                                  std::string(255, 'n') +
                                  "\nset SpeedSpinner 0\nset ZSpinEdit -5e9\npress OK\n"
                                  "start btnCreateButtonDevice\nchoose TypeCombo Mike\n"
                                  "set SpeedSpinner 0\npress OK\n");
  const Result played = Run("play j.txt room.kordoc -o edited.kordoc");
  ASSERT_EQ(played.status, 0) << played.err;
  const Result described = Run("describe edited.kordoc");
  ASSERT_EQ(described.status, 0) << described.err;
  WriteFile(folder / "edited.json", described.out);
  const Result imported = Run("import edited.json -o back.kordoc");
  EXPECT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(Run("describe back.kordoc").out, described.out);
}
} // namespace
