#pragma once
// Running korvrc as a process in a private temporary folder, with HOME and
// KORUserSettingPath pointing inside it, for the end-to-end tests.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& iPath) {
  std::ifstream file(iPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void WriteFile(const fs::path& iPath, const std::string& iText) {
  std::ofstream(iPath, std::ios::binary) << iText;
}

// Element identifiers and the configuration identifier differ between two
// documents by construction; everything else of the XML must not.
inline std::string MaskIdentifiers(const std::string& iXml) {
  static const std::regex elementId("ID[0-9A-Fa-f]{8}(_[0-9A-Fa-f]{8}){3}");
  static const std::regex configId("ConfigID=\"[^\"]*\"");
  return std::regex_replace(std::regex_replace(iXml, elementId, "ID*"), configId, "ConfigID=*");
}

struct Result {
  int status;
  std::string out, err;
};

class KorvrcTest : public testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/korvrc_test_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder = pattern;
    settings = folder / "settings";
  }
  void TearDown() override { fs::remove_all(folder); }

  // The shell command that runs iBinary (korvrc unless told) with iArguments
  // in the test's folder.
  std::string Command(const std::string& iArguments,
                      const std::string& iBinary = KORVRC_BINARY) const {
    return "cd '" + folder.string() + "' && HOME='" + folder.string() + "' KORUserSettingPath='" +
           settings.string() + "' exec '" + iBinary + "' " + iArguments;
  }

  Result Run(const std::string& iArguments, const std::string& iBinary = KORVRC_BINARY) const {
    const std::string command = Command(iArguments, iBinary) + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return {WEXITSTATUS(status), ReadFile(folder / "out.txt"), ReadFile(folder / "err.txt")};
  }

  // Starts korvrc without waiting; its output goes to iLog.out and iLog.err.
  // The process is korvrc itself (the shell execs it), so signals reach it.
  pid_t Start(const std::string& iArguments, const std::string& iLog) const {
    const std::string command = Command(iArguments) + " >'" + iLog + ".out' 2>'" + iLog + ".err'";
    const pid_t child = ::fork();
    if (child == 0) {
      ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    return child;
  }

  // The exit status of a started process, or minus the signal that ended it.
  static int Wait(pid_t iChild) {
    int status = 0;
    if (::waitpid(iChild, &status, 0) != iChild)
      return -1000;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

  // Waits (up to a minute, the machine may be busy) until iCondition holds.
  static bool WaitFor(const std::function<bool()>& iCondition) {
    for (int tries = 0; tries < 6000; ++tries) {
      if (iCondition())
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  // How long a run of iArguments takes here, so that random stops fall inside
  // runs whatever the machine and the build (sanitizers are slower).
  int MicrosecondsOf(const std::string& iArguments) const {
    const auto start = std::chrono::steady_clock::now();
    Wait(Start(iArguments, "timing"));
    return static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count());
  }

  // A description made of the format line and iMembers.
  std::string Description(const std::string& iMembers,
                          const std::string& iFile = "description.json") const {
    const fs::path path = folder / iFile;
    WriteFile(path, R"({"format": "installation-description/1")" +
                        (iMembers.empty() ? "" : ", " + iMembers) + "}");
    return path.string();
  }

  // The names in iDirectory (relative to the folder), sorted.
  std::vector<std::string> Names(const std::string& iDirectory) const {
    std::vector<std::string> names;
    if (fs::is_directory(folder / iDirectory))
      for (const auto& entry : fs::directory_iterator(folder / iDirectory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder, settings;
};
