#include "system/KORAtomicFile.h"
#include "KORSystemTestSupport.h"
#include "system/KORFileLock.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

struct TogetherCase {
  const char* what;
  std::vector<std::string> names; // relative to the folder; "dir/" entries exist as folders
  const char* failingName;        // the file the error names; null when all are written
  const char* reason = "";        // the system's, in lower case
};

TEST(KORAtomicFileTest, FilesWrittenTogetherAreAllReplacedOrNoneIs) {
  const TogetherCase cases[] = {
      {"all free", {"a.xml", "a.mpk", "a.display"}, nullptr},
      {"last target is a directory", {"a.xml", "a.mpk", "a.display/"}, "a.display"},
      {"first target's folder is missing",
       {"none/a.xml", "a.mpk"},
       "none/a.xml",
       "no such file or directory"},
  };
  for (const TogetherCase& test : cases) {
    KORTemporaryDirectory folder;
    std::vector<KORFileToWrite> files;
    for (std::string name : test.names) {
      if (name.ends_with('/')) {
        name.pop_back();
        std::filesystem::create_directory(folder.Path() + "/" + name);
      } else if (!name.starts_with("none/"))
        folder.WriteFile(name, "old");
      files.push_back({folder.Path() + "/" + name, "new " + name});
    }
    KORUnicodeString error;
    const HRESULT result = KORWriteFilesTogether(files, 0644, error);
    for (const KORFileToWrite& file : files) {
      if (std::filesystem::is_directory(file.path) || !std::filesystem::exists(file.path))
        continue;
      EXPECT_EQ(KORReadWholeFile(file.path), test.failingName ? "old" : file.text)
          << test.what << ": " << file.path;
    }
    if (test.failingName) {
      EXPECT_EQ(result, E_FAIL) << test.what;
      EXPECT_NE(error.find(folder.Path() + "/" + test.failingName +
                           ": cannot be written: " + test.reason),
                std::string::npos)
          << test.what << ": " << error;
    } else
      EXPECT_EQ(result, S_OK) << test.what << ": " << error;
    for (const std::string& name : folder.List())
      EXPECT_EQ(name.find(".tmp."), std::string::npos) << test.what << ": " << name;
  }
}

TEST(KORAtomicFileTest, ASecondLockerWaitsForTheFirst) {
  KORTemporaryDirectory folder;
  const std::string marks = folder.Path() + "/marks";
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  // Forked before the lock is taken: a child holding a copy of the locked
  // descriptor would hold the lock too.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    char go = 0;
    const bool started = ::read(ready[0], &go, 1) == 1;
    KORFileLock second;
    KORUnicodeString childError;
    const bool locked = started && SUCCEEDED(second.Lock(folder.Path(), childError));
    std::ofstream(marks, std::ios::app) << (locked ? "child\n" : "child failed\n");
    ::_exit(0);
  }
  KORFileLock lock;
  KORUnicodeString error;
  ASSERT_EQ(lock.Lock(folder.Path(), error), S_OK) << error;
  ASSERT_EQ(::write(ready[1], "g", 1), 1);
  ::usleep(200 * 1000);
  // The child must still be waiting: the parent's mark comes first.
  std::ofstream(marks, std::ios::app) << "parent\n";
  lock.Unlock();
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  EXPECT_EQ(KORReadWholeFile(marks), "parent\nchild\n");
}

} // namespace
