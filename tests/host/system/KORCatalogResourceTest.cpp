#include "KORSystemTestSupport.h"
#include "system/KORMsgCatalog.h"
#include "system/KORResource.h"

// Every test gets its own resource folder in KOR_RESOURCE_PATH and no
// registered folders.
class KORResourceTest : public ::testing::Test {
protected:
  KORResourceTest() : _resourcePath("KOR_RESOURCE_PATH", _folder.Path().c_str()) {
    KORResetResourceFolders();
  }
  ~KORResourceTest() override { KORResetResourceFolders(); }

  KORTemporaryDirectory _folder;
  KOREnvironmentOverride _resourcePath;
};

TEST_F(KORResourceTest, FoldersAreEnvironmentThenRegisteredAndLookupTakesTheFirst) {
  KORTemporaryDirectory second;
  KORTemporaryDirectory registered;
  _resourcePath.Set((_folder.Path() + "::" + second.Path()).c_str());
  KORAddResourceFolder(registered.Path());
  KORAddResourceFolder("/registered/two");
  KORAddResourceFolder(registered.Path());
  // The host adds no folder of its own between them, and none twice.
  EXPECT_EQ(KORGetResourceFolders().Values(),
            (std::vector<KORUnicodeString>{_folder.Path(), second.Path(), registered.Path(),
                                           "/registered/two"}));

  second.WriteFile("KORTestA.txt", "second");
  std::string inRegistered = registered.WriteFile("KORTestB.txt", "registered");
  KORUnicodeString path;
  ASSERT_EQ(KORGetImagePathName("KORTestA.txt", path), S_OK);
  EXPECT_EQ(path, second.Path() + "/KORTestA.txt");
  std::string inFirst = _folder.WriteFile("images/KORTestA.txt", "first");
  ASSERT_EQ(KORGetImagePathName("KORTestA.txt", path), S_OK);
  EXPECT_EQ(path, inFirst) << "an environment folder comes before the next one";

  ASSERT_EQ(KORGetImagePathName("KORTestB.txt", path), S_OK);
  EXPECT_EQ(path, inRegistered);
  second.WriteFile("dtd/KORTestB.txt", "env");
  ASSERT_EQ(KORGetImagePathName("KORTestB.txt", path), S_OK);
  EXPECT_EQ(path, second.Path() + "/dtd/KORTestB.txt")
      << "environment folders come before registered ones";
}

TEST_F(KORResourceTest, LookupSearchesFolderThenSubfoldersInOrder) {
  KORUnicodeString path;
  // Each copy written takes the place of the ones before it: the later
  // subfolders come first, the folder itself before them all.
  for (const char* place : {"dtd/", "images/", "catalogs/", "msgcatalog/", ""}) {
    std::string written = _folder.WriteFile(std::string(place) + "KORTest.res", "");
    ASSERT_EQ(KORGetImagePathName("KORTest.res", path), S_OK) << place;
    EXPECT_EQ(path, written) << place;
  }

  _folder.WriteFile("other/KORTest2.res", "");
  EXPECT_EQ(KORGetImagePathName("KORTest2.res", path), E_FAIL) << "only the known subfolders";
  EXPECT_TRUE(path.empty());
  EXPECT_EQ(KORGetImagePathName("", path), E_INVALIDARG);
}

class KORMsgCatalogTest : public KORResourceTest {
protected:
  void WriteCatalog(const std::string& iContent) {
    _path = _folder.WriteFile("msgcatalog/KORTestCatalog.KORmsg", iContent);
  }
  std::string Message(const KORMsgCatalog& iCatalog, const std::string& iKey) {
    KORUnicodeString text;
    EXPECT_EQ(iCatalog.BuildMessage(iKey, text), S_OK) << text;
    return text;
  }

  std::string _path;
};

TEST_F(KORMsgCatalogTest, LoadsMessagesSkippingCommentsAndBlankLinesAndDecodesEscapes) {
  WriteCatalog("\xEF\xBB\xBF# Messages of the test module\n"
               "\n"
               "Model.Opened = \"Configuration opened.\"\n"
               "   # indented comment\n"
               "  Screen_2-x\t=\t\"\xC3\xA9"
               "cran \"\r\n"
               "Empty=\"\"   \n"
               R"(Escaped = "a \"quoted\" word\nsecond line \\ end\\")"
               "\n");
  KORMsgCatalog catalog;
  ASSERT_EQ(catalog.LoadCatalog("KORTestCatalog"), S_OK) << catalog.LastError();
  EXPECT_TRUE(catalog.LastError().empty());
  EXPECT_EQ(catalog.Size(), 4);
  EXPECT_EQ(Message(catalog, "Model.Opened"), "Configuration opened.");
  EXPECT_EQ(Message(catalog, "Screen_2-x"), "\xC3\xA9"
                                            "cran ");
  EXPECT_EQ(Message(catalog, "Empty"), "");
  EXPECT_EQ(Message(catalog, "Escaped"), "a \"quoted\" word\nsecond line \\ end\\");

  KORUnicodeString text;
  EXPECT_EQ(catalog.BuildMessage("Unknown", text), E_FAIL);
  EXPECT_NE(text.find("Unknown"), std::string::npos) << text;
  EXPECT_NE(text.find("KORTestCatalog"), std::string::npos) << text;
}

TEST_F(KORMsgCatalogTest, MissingCatalogIsReportedWithTheFoldersSearched) {
  KORMsgCatalog catalog;
  EXPECT_EQ(catalog.LoadCatalog("KORNoSuchCatalog"), E_FAIL);
  EXPECT_NE(catalog.LastError().find("KORNoSuchCatalog.KORmsg"), std::string::npos)
      << catalog.LastError();
  EXPECT_NE(catalog.LastError().find(_folder.Path()), std::string::npos) << catalog.LastError();
  EXPECT_EQ(catalog.LoadCatalog(""), E_FAIL);
}

TEST_F(KORMsgCatalogTest, MalformedLineNamesFileAndLine) {
  struct Case {
    std::string badLine;
    std::string reason;
  };
  const Case cases[] = {
      {"= \"no key\"", "expected a message key"},
      {"Key = unquoted", "expected a double quote"},
      {"Key = \"unterminated", "missing closing double quote"},
      {"Key = \"bad \\t escape\"", "unknown escape \\t"},
      {"Key = \"text\" trailing", "after the closing double quote"},
      {"First = \"again\"", "already defined"},
  };
  for (const Case& c : cases) {
    WriteCatalog("# header\nFirst = \"one\"\n\n" + c.badLine + "\nLast = \"x\"\n");
    KORMsgCatalog catalog;
    EXPECT_EQ(catalog.LoadCatalog("KORTestCatalog"), E_FAIL) << c.badLine;
    EXPECT_EQ(catalog.LastError().rfind(_path + ":4: ", 0), 0u) << catalog.LastError();
    EXPECT_NE(catalog.LastError().find(c.reason), std::string::npos) << catalog.LastError();
  }
}

TEST_F(KORMsgCatalogTest, FailedLoadKeepsThePreviousContent) {
  WriteCatalog("Key = \"good\"\n");
  KORMsgCatalog catalog;
  ASSERT_EQ(catalog.LoadCatalog("KORTestCatalog"), S_OK);
  std::string broken = _folder.WriteFile("broken.KORmsg", "Other = \"x\"\nbroken\n");
  EXPECT_EQ(catalog.LoadFile(broken), E_FAIL);
  EXPECT_EQ(catalog.LastError(), broken + ":2: expected '=' after key \"broken\"");
  EXPECT_EQ(catalog.Name(), "KORTestCatalog");
  EXPECT_EQ(Message(catalog, "Key"), "good");
  KORUnicodeString text;
  EXPECT_EQ(catalog.BuildMessage("Other", text), E_FAIL);
  EXPECT_EQ(catalog.LoadFile(_folder.Path()), E_FAIL) << "a directory is not a catalog";
}
