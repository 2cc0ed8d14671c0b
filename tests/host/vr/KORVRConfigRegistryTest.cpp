#include "vr/KORVRConfigRegistry.h"
#include "../system/KORSystemTestSupport.h"
#include "system/KORSettingRepository.h"

#include <fstream>

// Every test starts from an empty settings folder with nothing in memory.
class KORVRConfigRegistryTest : public ::testing::Test {
protected:
  KORVRConfigRegistryTest() : _settingPath("KORUserSettingPath", _folder.Path().c_str()) {
    KORSettingRepository::ResetAll();
  }
  ~KORVRConfigRegistryTest() override { KORSettingRepository::ResetAll(); }

  KORTemporaryDirectory _folder;
  KOREnvironmentOverride _settingPath;
};

TEST_F(KORVRConfigRegistryTest, EntriesStartEmptyKeepTheirOrderAndRefuseEmptyValues) {
  EXPECT_TRUE(KORGetVRConfigs().IsEmpty());
  EXPECT_EQ(KORGetVRConfigDirectory(), "");
  EXPECT_EQ(KORGetActiveVRConfig(), "");
  EXPECT_EQ(KORAddVRConfig("/vr/cave.xml"), S_OK);
  EXPECT_EQ(KORAddVRConfig("/vr/wall.xml"), S_OK);
  EXPECT_EQ(KORAddVRConfig("/vr/cave.xml"), S_FALSE);
  EXPECT_EQ(KORGetVRConfigs().Values(),
            (std::vector<KORUnicodeString>{"/vr/cave.xml", "/vr/wall.xml"}));
  EXPECT_EQ(KORAddVRConfig(""), E_INVALIDARG);
  EXPECT_EQ(KORSetVRConfigDirectory(""), E_INVALIDARG);
  EXPECT_EQ(KORSetActiveVRConfig(""), E_INVALIDARG);
  ASSERT_EQ(KORSetVRConfigDirectory("${HOME}/vr"), S_OK);
  ASSERT_EQ(KORSetActiveVRConfig("${HOME}/vr/cave.xml"), S_OK);
  // Logical paths are kept as written, references unexpanded.
  EXPECT_EQ(KORGetVRConfigDirectory(), "${HOME}/vr");
  EXPECT_EQ(KORGetActiveVRConfig(), "${HOME}/vr/cave.xml");
}

// The saved file, read back by the next process, is checked by the tests of
// korvrc's registration.
TEST_F(KORVRConfigRegistryTest, NothingIsKeptUntilSavedAndSavingNeedsASettingsDirectory) {
  ASSERT_EQ(KORAddVRConfig("/vr/a.xml"), S_OK);
  KORSettingRepository::ResetAll();
  EXPECT_TRUE(KORGetVRConfigs().IsEmpty());
  EXPECT_TRUE(_folder.List().empty());
  ASSERT_EQ(KORAddVRConfig("/vr/a.xml"), S_OK);
  _settingPath.Set(nullptr);
  EXPECT_EQ(KORSaveVirtualRepository(), E_FAIL);
}

// A hand-edited or damaged registry is input like any other.
TEST_F(KORVRConfigRegistryTest, ACountBeyondTheLimitIsRefusedNotWalked) {
  // Walking this count once hung every registration.
  const std::string file = _folder.Path() + "/VirtualRepository.KORSettings";
  for (const char* count : {"18446744073709551615", "100001"}) {
    KORSettingRepository::ResetAll();
    std::ofstream(file) << "ConfigCount ulong " << count << "\nConfig.1 string \"/vr/a.xml\"\n";
    KORUnicodeString error;
    EXPECT_EQ(KORCheckVRConfigRegistry(error), E_FAIL) << count;
    EXPECT_NE(error.find(file + ": ConfigCount " + count), std::string::npos) << error;
    EXPECT_EQ(KORAddVRConfig("/vr/b.xml"), E_FAIL) << count;
    EXPECT_TRUE(KORGetVRConfigs().IsEmpty()) << count;
    EXPECT_EQ(KORRegisterVRConfig("/vr", "/vr/b.xml", false, error), E_FAIL) << count;
  }
}

TEST_F(KORVRConfigRegistryTest, RegistrationKeepsWhatAnotherProcessSavedMeanwhile) {
  KORUnicodeString error;
  ASSERT_EQ(KORRegisterVRConfig("/vr", "/vr/a.xml", false, error), S_OK) << error;
  // Another process adds its entry after this one read the registry.
  std::ofstream(_folder.Path() + "/VirtualRepository.KORSettings")
      << "Config.1 string \"/vr/a.xml\"\nConfig.2 string \"/other/b.xml\"\nConfigCount ulong 2\n";
  ASSERT_EQ(KORRegisterVRConfig("/vr", "/vr/c.xml", true, error), S_OK) << error;
  KORSettingRepository::ResetAll();
  EXPECT_EQ(KORGetVRConfigs().Values(),
            (std::vector<KORUnicodeString>{"/vr/a.xml", "/other/b.xml", "/vr/c.xml"}));
  EXPECT_EQ(KORGetActiveVRConfig(), "/vr/c.xml");
  EXPECT_EQ(KORGetVRConfigDirectory(), "/vr");
}
