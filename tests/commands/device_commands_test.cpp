// The head, hand-device and button-device commands, through the driver.
#include "CommandFixture.h"

namespace {

struct ButtonValues {
  KORUnicodeString name;
  KORVrcButtonDeviceType type;
  KORUnicodeString daemon;
  int port;
  int speed;
  bool operator==(const ButtonValues&) const = default;
};
std::ostream& operator<<(std::ostream& ioStream, const ButtonValues& iValues) {
  return ioStream << iValues.name << " type " << iValues.type << " daemon " << iValues.daemon
                  << " port " << iValues.port << " speed " << iValues.speed;
}

class DeviceCommandTest : public DriverTest {
protected:
  void SetUp() override {
    DriverTest::SetUp();
    WithoutTransactions();
  }

  struct HeadValues {
    double ipd;
    KORVrcHeadType type;
    KORMathTransformation location;
  };
  HeadValues ReadHead() {
    HeadValues values{};
    EXPECT_EQ(Head()->GetIPD(&values.ipd), S_OK);
    EXPECT_EQ(Head()->GetType(&values.type), S_OK);
    values.location = LocationOf(Head().get());
    return values;
  }
  KORVrcHandDeviceType HandType() { return ReadValue(Hand().get(), &KORIVrcHandDevice::GetType); }

  KORIVrcButtonDevice_var MakeButtonDevice(const char* iName, const char* iDaemon) {
    return build.ButtonDevice(iName, KORVrcButtonCustom, iDaemon);
  }
  std::vector<ButtonValues> ButtonDevices() {
    std::vector<ButtonValues> devices;
    for (const auto& device :
         Listed<KORIVrcButtonDevice>(Devices(), &KORIVrcDevices::GetButtonDevices)) {
      ButtonValues values{};
      EXPECT_EQ(device->GetName(values.name), S_OK);
      EXPECT_EQ(device->GetType(values.type), S_OK);
      EXPECT_EQ(device->GetDaemonName(values.daemon), S_OK);
      EXPECT_EQ(device->GetPort(values.port), S_OK);
      EXPECT_EQ(device->GetSpeed(values.speed), S_OK);
      devices.push_back(values);
    }
    return devices;
  }
};

TEST_F(DeviceCommandTest, HeadOKWritesAndCancelAfterApplyGivesBackWhatWasRead) {
  Perform({"edit head:Head", "expect IPDSpinEdit 57", "expect TypeCombo Custom",
           "expect XSpinEdit 0", "expect HSpinEdit 0", "set IPDSpinEdit 64",
           "choose TypeCombo \"Shutter glasses\"", "set XSpinEdit 100", "set YSpinEdit -200",
           "set ZSpinEdit 1700", "set HSpinEdit 30", "set PSpinEdit -10", "set RSpinEdit 5",
           "press OK"});
  HeadValues written = ReadHead();
  EXPECT_EQ(written.ipd, 64);
  EXPECT_EQ(written.type, KORVrcHeadCrystalEyes);
  EXPECT_TRUE(
      written.location.IsEqual(ConfigBuilder::Placement(100, -200, 1700, 30, -10, 5), 1e-9));

  Perform({"edit head:Head", "expect IPDSpinEdit 64", "expect HSpinEdit 30",
           "expect PSpinEdit -10", "expect RSpinEdit 5", "expect ZSpinEdit 1700",
           "set IPDSpinEdit 70", "choose TypeCombo Boom", "set ZSpinEdit 0", "set HSpinEdit 90",
           "press Apply"});
  EXPECT_EQ(ReadHead().ipd, 70) << "Apply writes";
  EXPECT_EQ(ReadHead().type, KORVrcHeadFakespaceBoom);
  Perform({"press Cancel"});
  const HeadValues restored = ReadHead();
  EXPECT_EQ(restored.ipd, 64);
  EXPECT_EQ(restored.type, KORVrcHeadCrystalEyes);
  EXPECT_TRUE(restored.location.IsEqual(written.location, 1e-9));
  // Started by its header without element, it edits the document's head.
  Perform({"start KORVrcHeadEdtCmdHdr", "expect IPDSpinEdit 64", "set IPDSpinEdit 62", "press OK"});
  EXPECT_EQ(ReadHead().ipd, 62);
}

TEST_F(DeviceCommandTest, HandDeviceShowsItsTypeAndOnlyOKWritesIt) {
  const struct {
    const char* line;
    KORVrcHandDeviceType after;
  } cases[] = {{"press Cancel", KORVrcHandCustom}, {"press OK", KORVrcHandInterSenseWand}};
  for (const auto& c : cases) {
    Perform({"edit hand:Hand", "expect TypeCombo Custom", "choose TypeCombo \"InterSense wand\"",
             c.line});
    EXPECT_EQ(HandType(), c.after) << c.line;
  }
  Perform({"edit hand:Hand", "expect TypeCombo \"InterSense wand\""});
  EXPECT_NE(Refused("press Apply").find("Apply"), KORString::npos) << "the dialog has no Apply";
}

TEST_F(DeviceCommandTest, NewButtonDeviceDefaultsAndTypeChanges) {
  MakeButtonDevice("ButtonDevice1", "CUSTOM1");
  Perform({"start btnCreateButtonDevice", "expect NameEditor ButtonDevice2",
           "expect TypeCombo Custom", "expect DaemonNameEditor CUSTOM2",
           "expect PortCombo \"COM 1\"", "expect SpeedSpinner 9600"});
  EXPECT_FALSE(Refused("set SpeedSpinner 19200").empty()) << "a custom device has no speed";
  EXPECT_FALSE(Refused("choose PortCombo \"COM 2\"").empty()) << "nor port";
  // Each row: the type chosen, the daemon name proposed and whether it is typed.
  const struct {
    const char* type;
    const char* daemon;
    bool typed;
  } changes[] = {{"Mike", "Mike1", false},
                 {"NeoWand", "NeoWand1", false},
                 {"Custom", "CUSTOM2", true},
                 {"SpaceStick", "SpaceStick1", false}};
  for (const auto& change : changes) {
    Perform({KORString("choose TypeCombo ") + change.type});
    const KORString daemonLine = KORString("set DaemonNameEditor ") + change.daemon;
    EXPECT_EQ(Accepted(daemonLine), change.typed) << change.type;
    EXPECT_EQ(Accepted("choose PortCombo \"COM 3\""), !change.typed)
        << change.type << ": port and speed belong to serial devices";
  }
  Perform({"set SpeedSpinner 19200", "press OK"});
  EXPECT_EQ(ButtonDevices().back(),
            (ButtonValues{"ButtonDevice2", KORVrcButtonSpaceStick, "SpaceStick1", 3, 19200}));
}

TEST_F(DeviceCommandTest, ButtonDeviceNameTakenAndCancelGivesBackWhatWasRead) {
  MakeButtonDevice("Wand", "Buttons1");
  MakeButtonDevice("Stick", "Buttons2");
  const std::vector<ButtonValues> atStart = ButtonDevices();
  Perform({"edit button:Wand", "expect DaemonNameEditor Buttons1", "set NameEditor Stick",
           "press OK", "expect-message \"\\\"Stick\\\" is already the name\""});
  EXPECT_TRUE(DialogOpen());
  EXPECT_EQ(ButtonDevices(), atStart) << "nothing written";
  Perform({"press Cancel"});

  Perform({"edit button:Wand", "choose TypeCombo Mike", "choose PortCombo \"COM 4\"",
           "set SpeedSpinner 38400", "set NameEditor Glove", "press Apply"});
  EXPECT_EQ(ButtonDevices().front(), (ButtonValues{"Glove", KORVrcButtonMike, "Mike1", 4, 38400}));
  Perform({"press Cancel"});
  EXPECT_EQ(ButtonDevices(), atStart);
}

TEST_F(DeviceCommandTest, ButtonManagerRoleFollowsTheCheckButton) {
  KORIVrcButtonDevice_var wand = MakeButtonDevice("Wand", "Buttons1");
  KORIVrcButtonDevice_var stick = MakeButtonDevice("Stick", "Buttons2");
  const auto Manager = [&] {
    return Hand()->IsButtonManager(wand.get())    ? "Wand"
           : Hand()->IsButtonManager(stick.get()) ? "Stick"
                                                  : "none";
  };
  const struct {
    const char* element;
    const char* check;
    const char* manager;
  } steps[] = {{"button:Wand", "on", "Wand"},
               {"button:Stick", "off", "Wand"},
               {"button:Stick", "on", "Stick"},
               {"button:Wand", "off", "Stick"},
               {"button:Stick", "off", "none"}};
  for (const auto& step : steps) {
    const bool wasManager = KORString(Manager()) == KORString(step.element).substr(7);
    Perform({KORString("edit ") + step.element,
             KORString("expect CheckButtonManager ") + (wasManager ? "on" : "off"),
             KORString("set CheckButtonManager ") + step.check, "press OK"});
    EXPECT_STREQ(Manager(), step.manager) << step.element << " " << step.check;
  }
}

} // namespace
