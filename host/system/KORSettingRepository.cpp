#include "system/KORSettingRepository.h"

#include "system/KORAtomicFile.h"
#include "system/KOREnvironment.h"
#include "system/KORQuotedText.h"

#include <charconv>
#include <fstream>
#include <string_view>

namespace {

constexpr const char* kDirectoryVariable = "KORUserSettingPath";

// Type names in the saved file, in the order of the value variant.
constexpr std::string_view kTypeNames[] = {"ulong", "float", "string"};

std::mutex sRepositoriesMutex;
std::map<KORString, std::unique_ptr<KORSettingRepository>, std::less<>> sRepositories;

bool IsValidKey(std::string_view iKey) {
  if (iKey.empty() || iKey[0] == '#')
    return false;
  for (unsigned char c : iKey)
    if (c <= ' ' || c == 0x7F)
      return false;
  return true;
}

bool IsValidName(std::string_view iName) {
  return !iName.empty() && iName != "." && iName != ".." &&
         iName.find('/') == std::string_view::npos;
}

// The saved file's path; empty when no setting directory is configured.
KORUnicodeString SavedFilePath(const KORString& iName) {
  const char* directory = KORGetEnv(kDirectoryVariable);
  if (directory == nullptr || *directory == '\0')
    return {};
  return KORMakePath(directory, iName + ".KORSettings");
}

template <class T> void AppendNumber(KORUnicodeString& ioLine, T iValue) {
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, iValue);
  ioLine.append(buffer, end);
}

template <class T> bool ReadNumber(std::string_view iText, T& oValue) {
  const char* end = iText.data() + iText.size();
  auto [stop, error] = std::from_chars(iText.data(), end, oValue);
  return error == std::errc() && stop == end;
}

} // namespace

KORSettingRepository* KORSettingRepository::GetRepository(const KORString& iName) {
  if (!IsValidName(iName))
    return nullptr;
  std::lock_guard lock(sRepositoriesMutex);
  auto found = sRepositories.find(iName);
  if (found != sRepositories.end())
    return found->second.get();
  std::unique_ptr<KORSettingRepository> repository(new KORSettingRepository(iName));
  repository->LoadSavedFile();
  return sRepositories.emplace(iName, std::move(repository)).first->second.get();
}

void KORSettingRepository::ResetAll() {
  std::lock_guard lock(sRepositoriesMutex);
  sRepositories.clear();
}

HRESULT KORSettingRepository::WriteSetting(const KORString& iKey, unsigned long iValue) {
  return Write(iKey, iValue);
}

HRESULT KORSettingRepository::WriteSetting(const KORString& iKey, float iValue) {
  return Write(iKey, iValue);
}

HRESULT KORSettingRepository::WriteSetting(const KORString& iKey, const KORUnicodeString& iValue) {
  return Write(iKey, iValue);
}

HRESULT KORSettingRepository::ReadSetting(const KORString& iKey, unsigned long& oValue) const {
  return Read(iKey, oValue);
}

HRESULT KORSettingRepository::ReadSetting(const KORString& iKey, float& oValue) const {
  return Read(iKey, oValue);
}

HRESULT KORSettingRepository::ReadSetting(const KORString& iKey, KORUnicodeString& oValue) const {
  return Read(iKey, oValue);
}

HRESULT KORSettingRepository::RemoveSetting(const KORString& iKey) {
  std::lock_guard lock(_mutex);
  return _values.erase(iKey) == 1 ? S_OK : S_FALSE;
}

HRESULT KORSettingRepository::Write(const KORString& iKey, Value iValue) {
  if (!IsValidKey(iKey))
    return E_INVALIDARG;
  std::lock_guard lock(_mutex);
  _values.insert_or_assign(iKey, std::move(iValue));
  return S_OK;
}

template <class T> HRESULT KORSettingRepository::Read(const KORString& iKey, T& oValue) const {
  std::lock_guard lock(_mutex);
  auto found = _values.find(iKey);
  if (found == _values.end() || !std::holds_alternative<T>(found->second))
    return E_FAIL;
  oValue = std::get<T>(found->second);
  return S_OK;
}

int KORSettingRepository::SaveRepository() const {
  KORUnicodeString path = SavedFilePath(_name);
  if (path.empty())
    return 0;
  KORUnicodeString content = "# KOR setting repository ";
  KORAppendQuoted(content, _name);
  content += '\n';
  {
    std::lock_guard lock(_mutex);
    for (const auto& [key, value] : _values) {
      content += key;
      content += ' ';
      content += kTypeNames[value.index()];
      content += ' ';
      if (const auto* number = std::get_if<unsigned long>(&value))
        AppendNumber(content, *number);
      else if (const auto* real = std::get_if<float>(&value))
        AppendNumber(content, *real);
      else
        KORAppendQuoted(content, std::get<KORUnicodeString>(value));
      content += '\n';
    }
  }
  HRESULT written = KORWriteFileAtomically(
      path, 0644, [&](int iDescriptor) { return KORWriteAll(iDescriptor, content); });
  return SUCCEEDED(written) ? 1 : 0;
}

void KORSettingRepository::LoadSavedFile() {
  KORUnicodeString path = SavedFilePath(_name);
  std::ifstream file;
  if (!path.empty())
    file.open(path, std::ios::binary);
  KORUnicodeString line;
  while (file.is_open() && std::getline(file, line)) {
    std::string_view content = line;
    std::size_t keyEnd = content.find(' ');
    std::size_t typeEnd = keyEnd == std::string_view::npos ? keyEnd : content.find(' ', keyEnd + 1);
    if (typeEnd == std::string_view::npos)
      continue;
    std::string_view key = content.substr(0, keyEnd);
    std::string_view type = content.substr(keyEnd + 1, typeEnd - keyEnd - 1);
    std::string_view text = content.substr(typeEnd + 1);
    if (!IsValidKey(key))
      continue;

    Value value;
    unsigned long number = 0;
    float real = 0;
    KORUnicodeString quoted;
    KORUnicodeString error;
    std::size_t end = 0;
    if (type == kTypeNames[0] && ReadNumber(text, number))
      value = number;
    else if (type == kTypeNames[1] && ReadNumber(text, real))
      value = real;
    else if (type == kTypeNames[2] && KORReadQuoted(text, end, quoted, error) && end == text.size())
      value = std::move(quoted);
    else
      continue;
    _values.insert_or_assign(KORString(key), std::move(value));
  }
}
