#include "system/KOREnvironment.h"
#include "KORSystemTestSupport.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

TEST(KOREnvironment, GetEnvTellsUnsetFromEmpty) {
  KOREnvironmentOverride set("KOR_TEST_VARIABLE", "");
  ASSERT_NE(KORGetEnv("KOR_TEST_VARIABLE"), nullptr);
  EXPECT_STREQ(KORGetEnv("KOR_TEST_VARIABLE"), "");
  set.Set(nullptr);
  EXPECT_EQ(KORGetEnv("KOR_TEST_VARIABLE"), nullptr);
  EXPECT_EQ(KORGetEnv(nullptr), nullptr);
}

TEST(KOREnvironment, MakePathJoinsWithExactlyOneSlash) {
  EXPECT_EQ(KORMakePath("a", "b"), "a/b");
  EXPECT_EQ(KORMakePath("a/", "b"), "a/b");
  EXPECT_EQ(KORMakePath("a//", "//b/c"), "a/b/c");
  EXPECT_EQ(KORMakePath("/", "b"), "/b");
  EXPECT_EQ(KORMakePath("/x/y", "/b"), "/x/y/b");
  EXPECT_EQ(KORMakePath("", "b"), "b");
  EXPECT_EQ(KORMakePath("a", ""), "a");
}

TEST(KOREnvironment, FindPathAcceptsOnlyExistingRegularFiles) {
  KORTemporaryDirectory directory;
  std::string file = directory.WriteFile("sub/f.txt", "x");
  KORUnicodeString found = "stale";
  EXPECT_EQ(KORFindPath("f.txt", directory.Path() + "/sub/", found), S_OK);
  EXPECT_EQ(found, file);
  EXPECT_EQ(KORFindPath("missing.txt", directory.Path(), found), E_FAIL);
  EXPECT_TRUE(found.empty());
  EXPECT_EQ(KORFindPath("sub", directory.Path(), found), E_FAIL);
  EXPECT_EQ(KORFindPath("", directory.Path(), found), E_INVALIDARG);
}

TEST(KOREnvironment, RealPathExpandsLeadingReferenceAndCanonicalises) {
  KORTemporaryDirectory directory;
  directory.WriteFile("a/f.txt", "x");
  std::string expected = fs::canonical(directory.Path() + "/a/f.txt").string();
  KOREnvironmentOverride root("KOR_TEST_ROOT", directory.Path().c_str());

  KORUnicodeString physical;
  EXPECT_EQ(KORGetRealPath("${KOR_TEST_ROOT}/a/../a//f.txt", physical), S_OK);
  EXPECT_EQ(physical, expected);
  EXPECT_EQ(KORGetRealPath("$KOR_TEST_ROOT/a/f.txt", physical), S_OK);
  EXPECT_EQ(physical, expected);

  // A path that does not exist yet still resolves, lexically.
  EXPECT_EQ(KORGetRealPath("$KOR_TEST_ROOT/a/./new.txt", physical), S_FALSE);
  EXPECT_EQ(physical, directory.Path() + "/a/new.txt");

  // Relative paths are made absolute against the current directory.
  EXPECT_EQ(KORGetRealPath("relative/x", physical), S_FALSE);
  EXPECT_EQ(physical, (fs::current_path() / "relative/x").lexically_normal().string());
}

TEST(KOREnvironment, RealPathFailsOnUnresolvableReference) {
  KOREnvironmentOverride unset("KOR_TEST_UNSET", nullptr);
  KORUnicodeString physical = "stale";
  EXPECT_EQ(KORGetRealPath("${KOR_TEST_UNSET}/x", physical), E_FAIL);
  EXPECT_TRUE(physical.empty());
  for (const char* unresolvable : {"$KOR_TEST_UNSET", "${HOME/x", "${}/x"})
    EXPECT_EQ(KORGetRealPath(unresolvable, physical), E_FAIL) << unresolvable;
  EXPECT_EQ(KORGetRealPath("", physical), E_INVALIDARG);
}

TEST(KOREnvironment, PrintablePathExpandsOnlyALeadingReference) {
  KOREnvironmentOverride data("KOR_TEST_DATA_DIR", "/data");
  KOREnvironmentOverride unset("KOR_TEST_UNSET", nullptr);
  EXPECT_EQ(KORGetPrintablePath("${KOR_TEST_DATA_DIR}/m.xml"), "/data/m.xml");
  EXPECT_EQ(KORGetPrintablePath("$KOR_TEST_DATA_DIR/m.xml"), "/data/m.xml");
  EXPECT_EQ(KORGetPrintablePath("$KOR_TEST_DATA_DIR"), "/data");
  EXPECT_EQ(KORGetPrintablePath("/x/$KOR_TEST_DATA_DIR/m"), "/x/$KOR_TEST_DATA_DIR/m");
  EXPECT_EQ(KORGetPrintablePath("$KOR_TEST_UNSET/m.xml"), "$KOR_TEST_UNSET/m.xml");
}

TEST(KOREnvironment, FCopyReplacesTheTargetWholeOrNotAtAll) {
  KORTemporaryDirectory directory;
  const std::string bytes("line\n\0binary\xff", 13);
  std::string source = directory.WriteFile("source.bin", bytes);
  ::chmod(source.c_str(), 0640);
  std::string target = directory.WriteFile("target.bin", "old and longer content");

  ASSERT_EQ(KORFCopy(source, target), S_OK);
  EXPECT_EQ(KORReadWholeFile(target), bytes);
  struct stat status {};
  ASSERT_EQ(::stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
  EXPECT_EQ(directory.List(), (std::set<std::string>{"source.bin", "target.bin"}));

  // Failures leave no partial target.
  EXPECT_EQ(KORFCopy(directory.Path() + "/missing.txt", target), E_FAIL);
  EXPECT_EQ(KORReadWholeFile(target), bytes);
  EXPECT_EQ(KORFCopy(directory.Path(), target), E_FAIL) << "a directory is not a file to copy";
  EXPECT_EQ(KORFCopy(source, directory.Path() + "/no/such/dir/t.txt"), E_FAIL);

  // The rename over a directory fails after the content was written: the
  // temporary file must go away too.
  fs::create_directory(directory.Path() + "/occupied");
  EXPECT_EQ(KORFCopy(source, directory.Path() + "/occupied"), E_FAIL);
  EXPECT_EQ(directory.List(), (std::set<std::string>{"source.bin", "target.bin", "occupied"}));
  EXPECT_TRUE(directory.List("occupied").empty());
}
