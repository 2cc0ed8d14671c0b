#include "../system/KORSystemTestSupport.h"
#include "system/KORSettingRepository.h"
#include "vr/KORIVRRuntimeInfo.h"
#include "vr/KORVRConfigRegistry.h"

#include <gtest/gtest.h>

namespace {

// Every test starts from an empty settings folder with nothing in memory.
class RuntimeInfo : public ::testing::Test {
protected:
  RuntimeInfo() : _settingPath("KORUserSettingPath", _folder.Path().c_str()) {
    KORSettingRepository::ResetAll();
    _info =
        KORQuery<KORIVRRuntimeInfo>(KORSmartPtr<KORBaseUnknown>::Adopt(KORVRCreateRuntimeInfo()));
  }
  ~RuntimeInfo() override { KORSettingRepository::ResetAll(); }

  KORTemporaryDirectory _folder;
  KOREnvironmentOverride _settingPath;
  KORIVRRuntimeInfo_var _info;
};

constexpr const char* kExported = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                  "<!DOCTYPE Config SYSTEM \"/nowhere/VrConfig.dtd\">\n"
                                  "<Config ConfigID=\"5f3a9c01-77\">\n"
                                  "\t<Devices />\n"
                                  "</Config>\n";

TEST_F(RuntimeInfo, ReportsTheIdentifierOfTheActiveRegisteredConfiguration) {
  ASSERT_TRUE(_info);
  KORUnicodeString id = "stale";
  EXPECT_EQ(_info->IsAvailable(0), S_FALSE) << "nothing registered";
  EXPECT_EQ(_info->GetConfigID(id), E_FAIL);
  EXPECT_EQ(id, "");

  _folder.WriteFile("vr/cave.xml", kExported);
  KOREnvironmentOverride vrFolder("KOR_TEST_VR", (_folder.Path() + "/vr").c_str());
  ASSERT_EQ(KORSetActiveVRConfig("${KOR_TEST_VR}/cave.xml"), S_OK);
  EXPECT_EQ(_info->IsAvailable(0), S_OK);
  ASSERT_EQ(_info->GetConfigID(id), S_OK);
  EXPECT_EQ(id, "5f3a9c01-77");

  // The file is read on each query: a new export is seen at once.
  _folder.WriteFile("vr/cave.xml", "<Config ConfigID=\"42\"/>");
  ASSERT_EQ(_info->GetConfigID(id), S_OK);
  EXPECT_EQ(id, "42");
}

TEST_F(RuntimeInfo, AnExplicitIdentifierMakesTheRuntimeAvailableAndWinsUntilCleared) {
  ASSERT_EQ(_info->SetConfigID("journal-id"), S_OK);
  EXPECT_EQ(_info->IsAvailable(0), S_OK) << "without registry";
  _folder.WriteFile("cave.xml", kExported);
  ASSERT_EQ(KORSetActiveVRConfig(_folder.Path() + "/cave.xml"), S_OK);
  KORUnicodeString id;
  ASSERT_EQ(_info->GetConfigID(id), S_OK);
  EXPECT_EQ(id, "journal-id");
  ASSERT_EQ(_info->SetConfigID(""), S_OK);
  ASSERT_EQ(_info->GetConfigID(id), S_OK);
  EXPECT_EQ(id, "5f3a9c01-77");
}

TEST_F(RuntimeInfo, UnreadableConfigurationsGiveNoIdentifierAndSayWhy) {
  const struct {
    const char* what;
    const char* content; // nullptr: no file (first, before any is written)
    const char* error;   // the refusal ends with this text
  } cases[] = {
      {"missing file", nullptr, "no such configuration file"},
      {"not XML", "<Config ConfigID=\"1\">", "Start-end tags mismatch"},
      {"another root", "<Display ConfigID=\"1\"/>", "the root element is not Config"},
      {"no identifier", "<Config/>", "the Config element has no ConfigID"},
      {"empty identifier", "<Config ConfigID=\"\"/>", "the Config element has no ConfigID"}};
  const std::string path = _folder.Path() + "/c.xml";
  ASSERT_EQ(KORSetActiveVRConfig(path), S_OK);
  for (const auto& bad : cases) {
    SCOPED_TRACE(bad.what);
    if (bad.content)
      _folder.WriteFile("c.xml", bad.content);
    KORUnicodeString id = "stale";
    KORString error;
    EXPECT_EQ(KORVRReadConfigID(path, id, error), E_FAIL);
    EXPECT_EQ(id, "");
    EXPECT_TRUE(error.ends_with(bad.error)) << error;
    EXPECT_NE(error.find("c.xml"), std::string::npos) << "the file is named: " << error;
    EXPECT_EQ(_info->GetConfigID(id), E_FAIL);
  }
}

TEST_F(RuntimeInfo, TrackerEventsAreThoseTheRuntimeSettingsName) {
  KORSettingRepository* settings = KORSettingRepository::GetRepository("VRCommandsTemp");
  ASSERT_EQ(
      settings->WriteSetting("HeadTrackingEvent", KORUnicodeString("Polhemus VIEWPORT_EVENT 1")),
      S_OK);
  ASSERT_EQ(settings->WriteSetting("HandTrackingEvent", KORUnicodeString("None")), S_OK);
  KORString device, event;
  int index = -1;
  ASSERT_EQ(_info->GetHeadTrackerEvent(device, event, index), S_OK);
  EXPECT_EQ(device, "Polhemus");
  EXPECT_EQ(event, "VIEWPORT_EVENT");
  EXPECT_EQ(index, 1);
  EXPECT_EQ(_info->GetHandTrackerEvent(device, event, index), E_FAIL);
  EXPECT_EQ(device, "Polhemus") << "outputs untouched on failure";
  ASSERT_EQ(settings->RemoveSetting("HeadTrackingEvent"), S_OK);
  EXPECT_EQ(_info->GetHeadTrackerEvent(device, event, index), E_FAIL);
}

TEST(TrackerEventText, IsSplitFromTheRight) {
  struct Case {
    const char* text;
    HRESULT result;
    const char* device = "-";
    const char* event = "-";
    int index = -7;
  };
  for (const Case& c :
       {Case{"Polhemus VIEWPORT_EVENT 1", S_OK, "Polhemus", "VIEWPORT_EVENT", 1},
        Case{"Hall 2 tracker POSITION_EVENT 12", S_OK, "Hall 2 tracker", "POSITION_EVENT", 12},
        Case{"None", E_FAIL}, Case{"", E_FAIL}, Case{"VIEWPORT_EVENT 1", E_FAIL},
        Case{"A B x", E_FAIL}, Case{"A B -1", E_FAIL}, Case{"A B 1 ", E_FAIL}, Case{"A  1", E_FAIL},
        Case{" B 1", E_FAIL}}) {
    KORString device = "-", event = "-";
    int index = -7;
    EXPECT_EQ(KORVRParseTrackerEvent(c.text, device, event, index), c.result) << c.text;
    if (c.result == S_OK) {
      EXPECT_EQ(device, c.device);
      EXPECT_EQ(event, c.event);
      EXPECT_EQ(index, c.index);
    } else {
      EXPECT_EQ(std::tie(device, event, index), std::make_tuple("-", "-", -7)) << c.text;
    }
  }
}

} // namespace
