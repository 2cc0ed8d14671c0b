// The server is a library korvrc loads for `serve` only: the other commands
// neither link nor need it.
#include "KorvrcTestSupport.h"

#include <cstdio>

namespace {
// What the dynamic loader resolves for iBinary, one library a line.
std::string LinkedLibraries(const std::string& iBinary) {
  std::string listing;
  if (FILE* pipe = ::popen(("ldd '" + iBinary + "'").c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
      listing += buffer;
    EXPECT_EQ(::pclose(pipe), 0) << listing;
  }
  return listing;
}
} // namespace

TEST_F(KorvrcTest, OnlyTheServerLibraryLinksHttpTlsAndCompression) {
  const std::string korvrc = LinkedLibraries(KORVRC_BINARY);
  ASSERT_NE(korvrc.find("libKORHost.so"), std::string::npos) << korvrc;
  const fs::path server =
      fs::path(KORVRC_BINARY).parent_path().parent_path() / "lib" / "libKORVrcServe.so";
  const std::string serve = LinkedLibraries(server.string());
  EXPECT_NE(serve.find("libcpp-httplib"), std::string::npos) << serve;
  for (const char* library : {"libcpp-httplib", "libssl", "libcrypto", "libz.", "libbrotli"})
    EXPECT_EQ(korvrc.find(library), std::string::npos) << library << " in\n" << korvrc;
}

TEST_F(KorvrcTest, WithoutTheServerLibraryServeSaysSoAndExportStillWorks) {
  // A copy of korvrc whose lib folder beside it has no server library.
  fs::create_directories(folder / "alone" / "bin");
  const fs::path copy = folder / "alone" / "bin" / "korvrc";
  fs::copy_file(KORVRC_BINARY, copy);

  const Result serve = Run("serve --port 0", copy.string());
  EXPECT_EQ(serve.status, 1);
  EXPECT_NE(serve.err.find("serve needs the server library libKORVrcServe.so"), std::string::npos)
      << serve.err;
  EXPECT_NE(serve.err.find((folder / "alone" / "lib" / "libKORVrcServe.so").string()),
            std::string::npos)
      << serve.err;
  EXPECT_EQ(serve.out.find("serving"), std::string::npos) << serve.out;

  const Result exported = Run("export --dir out", copy.string());
  EXPECT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(Names("out"), std::vector<std::string>{"FourWallRoom.xml"});
}
