// The dialogs refuse what an installation description cannot hold, so that
// whatever a person enters can be described and imported again: each field
// either refuses the value with a message (the dialog stays open, nothing is
// written) or holds it at the end of its range.
#include "CommandFixture.h"

namespace {
class DialogRangesTest : public DriverTest {};

// The dialogs let an eye distance of 0 and a tab in a name through, which
// `describe` then could not write and `import` refused.
TEST_F(DialogRangesTest, EachFieldRefusesWhatADescriptionCannotHold) {
  const std::string tab = "\"A\tB\"";
  const std::string tooLong = std::string(256, 'n');
  const struct {
    const char* start;
    std::vector<KORString> lines;
    const char* message;
  } cases[] = {
      {"edit config:Config", {"set NameEditor " + tab}, "holds a control character"},
      {"edit config:Config", {"set NameEditor A/B"}, "cannot name the exported files"},
      {"edit config:Config", {"set NameEditor \"A\\\\B\""}, "cannot name the exported files"},
      {"edit config:Config", {"set NameEditor .."}, "cannot name the exported files"},
      {"edit config:Config", {"set NameEditor \"\""}, "cannot be a name"},
      {"start btnCreateView", {"set NameEditor \"\""}, "cannot be a name"},
      {"start btnCreateView", {"set NameEditor " + tooLong}, "is longer than 255 characters"},
      {"start btnCreateView", {"set NameEditor " + tab}, "holds a control character"},
      {"start btnCreateWindow", {"set NameEditor " + tab}, "holds a control character"},
      {"start btnCreateIG", {"set EditorDisplay \"A\tB:0.0\""}, "holds a control character"},
      {"start btnCreateIG", {"set EditorDisplay \"\""}, "cannot be a name"},
      {"start btnCreateTrackingStation", {"set NameEditor " + tab}, "holds a control character"},
      {"start btnCreateTrackingStation",
       {"choose TypeCombo Custom", "set EditorDaemonName \"lab d\""},
       "cannot be a daemon name"},
      {"start btnCreateTrackingStation",
       {"choose TypeCombo Custom", "set EditorDaemonName \"lab\\\"d\""},
       "cannot be a daemon name"},
      {"start btnCreateTrackingStation",
       {"choose TypeCombo ART", "set EthernetPortEdt 65536"},
       "needs a network port from 1 to 65535"},
      {"start btnCreateButtonDevice", {"set NameEditor " + tab}, "holds a control character"},
      {"start btnCreateButtonDevice", {"set DaemonNameEditor lab'd"}, "cannot be a daemon name"},
      {"edit head:Head", {"set IPDSpinEdit 0"}, "eye distance must be more than 0 mm"},
      {"edit head:Head", {"set IPDSpinEdit -60"}, "eye distance must be more than 0 mm"},
      {"edit head:Head", {"set IPDSpinEdit 1000.5"}, "at most 1000 mm"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start + (" / " + c.lines.back()));
    Perform({c.start});
    Perform(c.lines);
    Perform({"press OK"});
    EXPECT_TRUE(DialogOpen()) << "accepted";
    ExpectMessage(c.message);
    Perform({"press Cancel"});
  }
  EXPECT_EQ(ConfigName(), "Config") << "a refused name was written";
  Perform({"edit head:Head", "expect IPDSpinEdit 57", "press Cancel"});
}

TEST_F(DialogRangesTest, NumberFieldsHoldValuesAtTheEndsOfWhatADescriptionHolds) {
  const struct {
    std::vector<KORString> start; // the lines opening the dialog
    const char* field;
    const char* typed;
    const char* held;
  } cases[] = {
      {{"edit head:Head"}, "XSpinEdit", "1e12", "1e9"},
      {{"edit head:Head"}, "YSpinEdit", "-1e12", "-1e9"},
      {{"start btnCreateTrackingStation"}, "ZSpinEdit", "2e9", "1e9"},
      {{"start btnCreateView"}, "ulXSpinEdit", "5e9", "1e9"},
      {{"start btnCreateTrackingStation"}, "SpeedSpinner", "0", "1"},
      // A serial device takes a speed.
      {{"start btnCreateButtonDevice", "choose TypeCombo Mike"}, "SpeedSpinner", "0", "1"},
  };
  for (const auto& c : cases) {
    Perform(c.start);
    Perform({KORString("set ") + c.field + " " + c.typed,
             KORString("expect ") + c.field + " " + c.held, "press Cancel"});
  }
  // The ends themselves are taken as typed.
  Perform({"edit head:Head", "set IPDSpinEdit 1000", "set XSpinEdit 1e9", "press OK"});
  EXPECT_FALSE(DialogOpen());
  EXPECT_EQ(ReadValue(Head().get(), &KORIVrcHead::GetIPD), 1000);
}
} // namespace
