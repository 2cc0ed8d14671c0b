#include "vr/KORVRConfigRegistry.h"

#include "system/KORAtomicFile.h"
#include "system/KOREnvironment.h"
#include "system/KORFileLock.h"
#include "system/KORSettingRepository.h"

#include <cerrno>
#include <filesystem>
#include <string>

namespace {

constexpr const char* kRepositoryName = "VirtualRepository";
constexpr const char* kDirectoryKey = "ConfigDirectory";
constexpr const char* kActiveKey = "ActiveConfig";
constexpr const char* kCountKey = "ConfigCount";

KORSettingRepository& Repository() {
  // The name is a constant that always names a file, so the repository exists.
  return *KORSettingRepository::GetRepository(kRepositoryName);
}

KORString EntryKey(unsigned long iPosition) {
  return "Config." + std::to_string(iPosition);
}

KORUnicodeString ReadString(const char* iKey) {
  KORUnicodeString value;
  Repository().ReadSetting(iKey, value);
  return value;
}

HRESULT WriteNonEmpty(const char* iKey, const KORUnicodeString& iValue) {
  if (iValue.empty())
    return E_INVALIDARG;
  return Repository().WriteSetting(iKey, iValue);
}

// The listed count, or nothing when it is refused.
bool ReadCount(unsigned long& oCount) {
  oCount = 0;
  Repository().ReadSetting(kCountKey, oCount);
  return oCount <= KORVRConfigMaxEntries;
}

} // namespace

KORUnicodeString KORGetVRConfigDirectory() {
  return ReadString(kDirectoryKey);
}

HRESULT KORSetVRConfigDirectory(const KORUnicodeString& iDirectory) {
  return WriteNonEmpty(kDirectoryKey, iDirectory);
}

KORListValKORUnicodeString KORGetVRConfigs() {
  KORSettingRepository& repository = Repository();
  unsigned long count = 0;
  KORListValKORUnicodeString paths;
  if (!ReadCount(count))
    return paths;
  for (unsigned long position = 1; position <= count; ++position) {
    KORUnicodeString path;
    // An entry lost from a hand-edited file is skipped rather than listed empty.
    if (SUCCEEDED(repository.ReadSetting(EntryKey(position), path)) && !path.empty())
      paths.Append(path);
  }
  return paths;
}

HRESULT KORAddVRConfig(const KORUnicodeString& iPath) {
  if (iPath.empty())
    return E_INVALIDARG;
  unsigned long listed = 0;
  if (!ReadCount(listed))
    return E_FAIL;
  KORListValKORUnicodeString paths = KORGetVRConfigs();
  if (paths.Locate(iPath) != 0)
    return S_FALSE;
  paths.Append(iPath);
  // Rewriting the whole list also compacts entries that a hand edit had lost.
  KORSettingRepository& repository = Repository();
  const auto count = static_cast<unsigned long>(paths.Size());
  for (unsigned long position = 1; position <= count; ++position)
    repository.WriteSetting(EntryKey(position), paths[static_cast<int>(position)]);
  return repository.WriteSetting(kCountKey, count);
}

HRESULT KORSetActiveVRConfig(const KORUnicodeString& iPath) {
  return WriteNonEmpty(kActiveKey, iPath);
}

KORUnicodeString KORGetActiveVRConfig() {
  return ReadString(kActiveKey);
}

HRESULT KORSaveVirtualRepository() {
  return Repository().SaveRepository() != 0 ? S_OK : E_FAIL;
}

HRESULT KORCheckVRConfigRegistry(KORUnicodeString& oError) {
  unsigned long count = 0;
  if (ReadCount(count))
    return S_OK;
  const char* folder = KORGetEnv("KORUserSettingPath");
  oError = KORMakePath(folder ? folder : "", KORString(kRepositoryName) + ".KORSettings") + ": " +
           kCountKey + " " + std::to_string(count) + " is more than the " +
           std::to_string(KORVRConfigMaxEntries) + " entries a registry can list";
  return E_FAIL;
}

HRESULT KORRegisterVRConfig(const KORUnicodeString& iDirectory, const KORUnicodeString& iPath,
                            bool iActive, KORUnicodeString& oError) {
  const char* folder = KORGetEnv("KORUserSettingPath");
  if (!folder || !*folder) {
    oError = "KORUserSettingPath is not set: nowhere to save the registry";
    return E_FAIL;
  }
  const KORUnicodeString file = KORMakePath(folder, KORString(kRepositoryName) + ".KORSettings");
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  if (made) {
    oError = KORUnicodeString(folder) + ": cannot be created: " + made.message();
    return E_FAIL;
  }
  KORFileLock lock;
  if (FAILED(lock.Lock(folder, oError)))
    return E_FAIL;
  // What another process saved while this one waited must be kept.
  KORSettingRepository::ResetAll();
  if (FAILED(KORCheckVRConfigRegistry(oError)))
    return E_FAIL;
  if (FAILED(KORSetVRConfigDirectory(iDirectory)) || FAILED(KORAddVRConfig(iPath)) ||
      (iActive && FAILED(KORSetActiveVRConfig(iPath)))) {
    oError = iPath + ": cannot be registered";
    return E_FAIL;
  }
  errno = 0;
  if (FAILED(KORSaveVirtualRepository())) {
    oError = file + ": cannot be written" + (errno ? ": " + KORSystemReason(errno) : "");
    return E_FAIL;
  }
  return S_OK;
}
