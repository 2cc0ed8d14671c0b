#pragma once
// Scaffolding shared by the system tests: a private temporary directory and
// scoped environment variables.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <set>
#include <string>

// A fresh directory under /tmp, removed with its content at the end of scope.
class KORTemporaryDirectory {
public:
  KORTemporaryDirectory() {
    char pattern[] = "/tmp/kor_system_test_XXXXXX";
    if (::mkdtemp(pattern) != nullptr)
      _path = pattern;
    EXPECT_FALSE(_path.empty()) << "cannot create a temporary directory";
  }
  ~KORTemporaryDirectory() {
    std::error_code error;
    std::filesystem::remove_all(_path, error);
  }
  KORTemporaryDirectory(const KORTemporaryDirectory&) = delete;
  KORTemporaryDirectory& operator=(const KORTemporaryDirectory&) = delete;

  const std::string& Path() const { return _path; }

  // Writes iContent to iRelativePath (creating its folders); returns the full path.
  std::string WriteFile(const std::string& iRelativePath, const std::string& iContent) const {
    std::filesystem::path full = std::filesystem::path(_path) / iRelativePath;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << iContent;
    return full.string();
  }

  // The names of the entries directly inside iRelativePath.
  std::set<std::string> List(const std::string& iRelativePath = "") const {
    std::set<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(_path) / iRelativePath))
      names.insert(entry.path().filename().string());
    return names;
  }

private:
  std::string _path;
};

inline std::string KORReadWholeFile(const std::string& iPath) {
  std::ifstream file(iPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Sets (or unsets, with nullptr) an environment variable for the scope.
class KOREnvironmentOverride {
public:
  KOREnvironmentOverride(const char* iName, const char* iValue) : _name(iName) {
    if (const char* previous = std::getenv(iName))
      _previous = previous;
    Set(iValue);
  }
  ~KOREnvironmentOverride() { Set(_previous ? _previous->c_str() : nullptr); }
  KOREnvironmentOverride(const KOREnvironmentOverride&) = delete;
  KOREnvironmentOverride& operator=(const KOREnvironmentOverride&) = delete;

  void Set(const char* iValue) const {
    if (iValue != nullptr)
      ::setenv(_name.c_str(), iValue, 1);
    else
      ::unsetenv(_name.c_str());
  }

private:
  std::string _name;
  std::optional<std::string> _previous;
};
