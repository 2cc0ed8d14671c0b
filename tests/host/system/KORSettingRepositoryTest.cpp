#include "system/KORSettingRepository.h"
#include "KORSystemTestSupport.h"

#include <limits>

// Every test starts with no repository in memory and its own setting folder.
class KORSettingRepositoryTest : public ::testing::Test {
protected:
  KORSettingRepositoryTest() : _settingPath("KORUserSettingPath", _folder.Path().c_str()) {
    KORSettingRepository::ResetAll();
  }
  ~KORSettingRepositoryTest() override { KORSettingRepository::ResetAll(); }

  KORSettingRepository& Repository() {
    KORSettingRepository* repository = KORSettingRepository::GetRepository("KORTestSettings");
    EXPECT_NE(repository, nullptr);
    return *repository;
  }
  // The value of iKey, which must read as a T.
  template <class T> T Read(const char* iKey) {
    T value{};
    EXPECT_EQ(Repository().ReadSetting(iKey, value), S_OK) << iKey;
    return value;
  }

  KORTemporaryDirectory _folder;
  KOREnvironmentOverride _settingPath;
};

TEST_F(KORSettingRepositoryTest, OneRepositoryPerName) {
  KORSettingRepository* first = KORSettingRepository::GetRepository("KORTestSettings");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Name(), "KORTestSettings");
  EXPECT_EQ(KORSettingRepository::GetRepository("KORTestSettings"), first);
  EXPECT_NE(KORSettingRepository::GetRepository("KORTestOther"), first);
  for (const char* invalid : {"", ".", "..", "a/b"})
    EXPECT_EQ(KORSettingRepository::GetRepository(invalid), nullptr) << invalid;
}

TEST_F(KORSettingRepositoryTest, ValuesAreReadBackWithTheirTypeOnly) {
  KORSettingRepository& repository = Repository();
  ASSERT_EQ(repository.WriteSetting("Count", 42UL), S_OK);
  ASSERT_EQ(repository.WriteSetting("Scale", 0.75f), S_OK);
  ASSERT_EQ(repository.WriteSetting("Folder", "/home/u"), S_OK);

  EXPECT_EQ(Read<unsigned long>("Count"), 42UL);
  EXPECT_EQ(Read<float>("Scale"), 0.75f);
  EXPECT_EQ(Read<KORUnicodeString>("Folder"), "/home/u");

  unsigned long count = 7;
  float scale = 0;
  KORUnicodeString folder;
  EXPECT_EQ(repository.ReadSetting("Count", scale), E_FAIL);
  EXPECT_EQ(repository.ReadSetting("Scale", folder), E_FAIL);
  EXPECT_EQ(repository.ReadSetting("Folder", count), E_FAIL);
  EXPECT_EQ(repository.ReadSetting("Missing", count), E_FAIL);
  EXPECT_EQ(count, 7UL) << "a failed read leaves the output alone";

  // Writing again replaces the value and its type.
  ASSERT_EQ(repository.WriteSetting("Count", "many"), S_OK);
  EXPECT_EQ(repository.ReadSetting("Count", count), E_FAIL);
  EXPECT_EQ(Read<KORUnicodeString>("Count"), "many");

  EXPECT_EQ(repository.RemoveSetting("Count"), S_OK);
  EXPECT_EQ(repository.RemoveSetting("Count"), S_FALSE);
  EXPECT_EQ(repository.ReadSetting("Count", folder), E_FAIL);
}

TEST_F(KORSettingRepositoryTest, KeysThatCannotBeSavedAreRefused) {
  for (const char* key : {"", "two words", "tab\tkey", "line\nkey", "#comment"})
    EXPECT_EQ(Repository().WriteSetting(key, 1UL), E_INVALIDARG) << key;
}

TEST_F(KORSettingRepositoryTest, SaveWritesSortedTypedLinesThatReadBackWhenReopened) {
  KORSettingRepository& repository = Repository();
  repository.WriteSetting("Window.Width", 1280UL);
  repository.WriteSetting("A.Scale", 0.1f);
  repository.WriteSetting("Last", "say \"hi\"\nback\\slash");
  repository.WriteSetting("Big", std::numeric_limits<unsigned long>::max());

  EXPECT_NE(repository.SaveRepository(), 0);
  EXPECT_EQ(_folder.List(), std::set<std::string>{"KORTestSettings.KORSettings"})
      << "no temporary file is left behind";
  EXPECT_EQ(KORReadWholeFile(_folder.Path() + "/KORTestSettings.KORSettings"),
            "# KOR setting repository \"KORTestSettings\"\n"
            "A.Scale float 0.1\n"
            "Big ulong 18446744073709551615\n"
            "Last string \"say \\\"hi\\\"\\nback\\\\slash\"\n"
            "Window.Width ulong 1280\n");

  // Saving again replaces the file; what it holds reads back exactly.
  const float third = 1.0f / 3.0f;
  repository.WriteSetting("Third", third);
  repository.WriteSetting("Tiny", 1e-38f);
  repository.WriteSetting("Text", "\xC3\xA9t\xC3\xA9 \"q\"\nx\\");
  ASSERT_NE(repository.SaveRepository(), 0);
  KORSettingRepository::ResetAll();
  EXPECT_EQ(Read<float>("Third"), third);
  EXPECT_EQ(Read<float>("Tiny"), 1e-38f);
  EXPECT_EQ(Read<KORUnicodeString>("Text"), "\xC3\xA9t\xC3\xA9 \"q\"\nx\\");
  EXPECT_EQ(Read<unsigned long>("Window.Width"), 1280UL);
}

TEST_F(KORSettingRepositoryTest, UnreadableLinesOfASavedFileAreSkipped) {
  _folder.WriteFile("KORTestSettings.KORSettings", "# comment\n"
                                                   "Good ulong 5\n"
                                                   "Negative ulong -1\n"
                                                   "Partial float 1.5x\n"
                                                   "Open string \"no end\n"
                                                   "Unknown int 3\n"
                                                   "NoValue\n"
                                                   "Also string \"fine\"\n");
  EXPECT_EQ(Read<unsigned long>("Good"), 5UL);
  EXPECT_EQ(Read<KORUnicodeString>("Also"), "fine");
  unsigned long number = 0;
  float real = 0;
  KORUnicodeString text;
  EXPECT_EQ(Repository().ReadSetting("Negative", number), E_FAIL);
  EXPECT_EQ(Repository().ReadSetting("Partial", real), E_FAIL);
  EXPECT_EQ(Repository().ReadSetting("Open", text), E_FAIL);
  EXPECT_EQ(Repository().ReadSetting("Unknown", number), E_FAIL);
}

TEST_F(KORSettingRepositoryTest, SaveFailsWithoutAWritableSettingFolder) {
  Repository().WriteSetting("Key", 1UL);
  _settingPath.Set(nullptr);
  EXPECT_EQ(Repository().SaveRepository(), 0);
  _settingPath.Set("");
  EXPECT_EQ(Repository().SaveRepository(), 0);
  _settingPath.Set((_folder.Path() + "/missing").c_str());
  EXPECT_EQ(Repository().SaveRepository(), 0);

  // The final rename cannot replace a directory: nothing may be left over.
  std::filesystem::create_directory(_folder.Path() + "/KORTestSettings.KORSettings");
  _settingPath.Set(_folder.Path().c_str());
  EXPECT_EQ(Repository().SaveRepository(), 0);
  EXPECT_EQ(_folder.List(), std::set<std::string>{"KORTestSettings.KORSettings"});
}
