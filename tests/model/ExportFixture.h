#pragma once
// What the export tests share: the document's default configuration, a
// builder over its factory, the configuration root's writers, the messages of
// the last writer call, the texts written by hand under tests/data/export and
// the catalog's texts of what the writers report.
#include "ConfigBuilder.h"
#include "interfaces/KORIVrcConfigure.h"
#include "system/KORMsgCatalog.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

// A quarter turn about z, given by the images of the axes so that every
// coefficient is exact.
inline const KORMath3x3Matrix kQuarterTurnAboutZ(KORMathVector(0, 1, 0), KORMathVector(-1, 0, 0),
                                                 KORMathVector(0, 0, 1));

class ExportTest : public BuildTest {
protected:
  void SetUp() override {
    BuildTest::SetUp();
    config = Config();
    configure = KORQuery<KORIVrcConfigure>(config);
    ASSERT_TRUE(configure);
  }

  // The golden file iName.txt of tests/data/export/iKind; a newline that ends
  // the file belongs to the file, not to the expected text.
  static std::string Golden(const char* iKind, const std::string& iName) {
    namespace fs = std::filesystem;
    const char* data = std::getenv("KOR_TEST_DATA");
    const fs::path root = data ? fs::path(data) : fs::path(__FILE__).parent_path() / "../data";
    std::ifstream file(root / "export" / iKind / (iName + ".txt"), std::ios::binary);
    EXPECT_TRUE(file) << "missing golden file " << iKind << "/" << iName;
    std::ostringstream text;
    text << file.rdbuf();
    std::string expected = text.str();
    if (!expected.empty() && expected.back() == '\n')
      expected.pop_back();
    return expected;
  }

  // A report as the writers give it: the text of iKind ("Error", "Warning"),
  // then the text of iKey when there is one.
  static std::string Message(const char* iKind, const char* iKey = nullptr) {
    KORMsgCatalog catalog;
    EXPECT_EQ(catalog.LoadCatalog("KORVrcConfigure"), S_OK);
    KORUnicodeString kind, problem;
    EXPECT_EQ(catalog.BuildMessage(iKind, kind), S_OK);
    if (iKey) {
      EXPECT_EQ(catalog.BuildMessage(iKey, problem), S_OK);
    }
    return kind + problem;
  }

  KORIVrcConfig_var config;
  KORIVrcConfigure_var configure;
  KORUnicodeString messages = "left over from a previous call";
};
