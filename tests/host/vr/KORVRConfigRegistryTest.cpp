#include "vr/KORVRConfigRegistry.h"
#include "../system/KORSystemTestSupport.h"
#include "system/KORSettingRepository.h"

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

TEST_F(KORVRConfigRegistryTest, ListKeepsOrderAndRefusesDuplicatesAndEmptyPaths) {
  EXPECT_TRUE(KORGetVRConfigs().IsEmpty());
  EXPECT_EQ(KORAddVRConfig("/vr/cave.xml"), S_OK);
  EXPECT_EQ(KORAddVRConfig("/vr/wall.xml"), S_OK);
  EXPECT_EQ(KORAddVRConfig("/vr/cave.xml"), S_FALSE);
  EXPECT_EQ(KORAddVRConfig(""), E_INVALIDARG);
  EXPECT_EQ(KORGetVRConfigs().Values(),
            (std::vector<KORUnicodeString>{"/vr/cave.xml", "/vr/wall.xml"}));
}

TEST_F(KORVRConfigRegistryTest, DirectoryAndActiveStartEmptyAndRefuseEmptyValues) {
  EXPECT_EQ(KORGetVRConfigDirectory(), "");
  EXPECT_EQ(KORGetActiveVRConfig(), "");
  EXPECT_EQ(KORSetVRConfigDirectory(""), E_INVALIDARG);
  EXPECT_EQ(KORSetActiveVRConfig(""), E_INVALIDARG);
  ASSERT_EQ(KORSetVRConfigDirectory("${HOME}/vr"), S_OK);
  ASSERT_EQ(KORSetActiveVRConfig("${HOME}/vr/cave.xml"), S_OK);
  // Logical paths are kept as written, references unexpanded.
  EXPECT_EQ(KORGetVRConfigDirectory(), "${HOME}/vr");
  EXPECT_EQ(KORGetActiveVRConfig(), "${HOME}/vr/cave.xml");
}

TEST_F(KORVRConfigRegistryTest, SavedRegistryIsTheDocumentedFileAndReadsBack) {
  ASSERT_EQ(KORSetVRConfigDirectory("/vr"), S_OK);
  ASSERT_EQ(KORAddVRConfig("/vr/a.xml"), S_OK);
  ASSERT_EQ(KORAddVRConfig("/vr/b.xml"), S_OK);
  ASSERT_EQ(KORSetActiveVRConfig("/vr/b.xml"), S_OK);
  ASSERT_EQ(KORSaveVirtualRepository(), S_OK);

  EXPECT_EQ(KORReadWholeFile(_folder.Path() + "/VirtualRepository.KORSettings"),
            "# KOR setting repository \"VirtualRepository\"\n"
            "ActiveConfig string \"/vr/b.xml\"\n"
            "Config.1 string \"/vr/a.xml\"\n"
            "Config.2 string \"/vr/b.xml\"\n"
            "ConfigCount ulong 2\n"
            "ConfigDirectory string \"/vr\"\n");

  KORSettingRepository::ResetAll();
  EXPECT_EQ(KORGetVRConfigs().Values(), (std::vector<KORUnicodeString>{"/vr/a.xml", "/vr/b.xml"}));
  EXPECT_EQ(KORGetActiveVRConfig(), "/vr/b.xml");
  EXPECT_EQ(KORAddVRConfig("/vr/a.xml"), S_FALSE);
}

TEST_F(KORVRConfigRegistryTest, NothingIsKeptUntilSaved) {
  ASSERT_EQ(KORAddVRConfig("/vr/a.xml"), S_OK);
  KORSettingRepository::ResetAll();
  EXPECT_TRUE(KORGetVRConfigs().IsEmpty());
  EXPECT_TRUE(_folder.List().empty());
}

TEST_F(KORVRConfigRegistryTest, SavingFailsWithoutSettingsDirectory) {
  ASSERT_EQ(KORAddVRConfig("/vr/a.xml"), S_OK);
  _settingPath.Set(nullptr);
  EXPECT_EQ(KORSaveVirtualRepository(), E_FAIL);
}
