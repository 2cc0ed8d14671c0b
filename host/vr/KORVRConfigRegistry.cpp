#include "vr/KORVRConfigRegistry.h"

#include "system/KORSettingRepository.h"

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
  repository.ReadSetting(kCountKey, count);
  KORListValKORUnicodeString paths;
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
