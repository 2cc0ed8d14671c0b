#include "system/KORMsgCatalog.h"

#include "system/KORQuotedText.h"
#include "system/KORResource.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace {

constexpr std::string_view kBlanks = " \t";

bool IsKeyCharacter(char iCharacter) {
  return std::isalnum(static_cast<unsigned char>(iCharacter)) || iCharacter == '_' ||
         iCharacter == '.' || iCharacter == '-';
}

std::size_t SkipBlanks(std::string_view iLine, std::size_t iPosition) {
  std::size_t next = iLine.find_first_not_of(kBlanks, iPosition);
  return next == std::string_view::npos ? iLine.size() : next;
}

// Reads one `Key = "text"` line; false with oError telling what is wrong.
bool ParseEntry(std::string_view iLine, KORString& oKey, KORUnicodeString& oText,
                KORUnicodeString& oError) {
  std::size_t position = SkipBlanks(iLine, 0);
  std::size_t keyStart = position;
  while (position < iLine.size() && IsKeyCharacter(iLine[position]))
    ++position;
  if (position == keyStart) {
    oError = "expected a message key";
    return false;
  }
  oKey = iLine.substr(keyStart, position - keyStart);
  position = SkipBlanks(iLine, position);
  if (position == iLine.size() || iLine[position] != '=') {
    oError = "expected '=' after key \"" + oKey + "\"";
    return false;
  }
  position = SkipBlanks(iLine, position + 1);
  if (!KORReadQuoted(iLine, position, oText, oError))
    return false;
  if (SkipBlanks(iLine, position) != iLine.size()) {
    oError = "unexpected text after the closing double quote";
    return false;
  }
  return true;
}

} // namespace

HRESULT KORMsgCatalog::LoadCatalog(const KORString& iCatalogName) {
  KORUnicodeString path;
  if (iCatalogName.empty() || FAILED(KORGetImagePathName(iCatalogName + ".KORmsg", path))) {
    _lastError = "Message catalog \"" + iCatalogName + "\" (" + iCatalogName +
                 ".KORmsg) not found in the resource folders:";
    for (const KORUnicodeString& folder : KORGetResourceFolders())
      _lastError += " " + folder;
    return E_FAIL;
  }
  return Parse(path, iCatalogName);
}

HRESULT KORMsgCatalog::LoadFile(const KORUnicodeString& iPath) {
  return Parse(iPath, std::filesystem::path(iPath).stem().string());
}

HRESULT KORMsgCatalog::Parse(const KORUnicodeString& iPath, const KORString& iName) {
  std::error_code fileError;
  std::ifstream file;
  if (std::filesystem::is_regular_file(iPath, fileError))
    file.open(iPath, std::ios::binary);
  if (!file.is_open()) {
    _lastError = iPath + ": cannot be read";
    return E_FAIL;
  }
  std::map<KORString, KORUnicodeString, std::less<>> messages;
  KORUnicodeString line;
  for (int lineNumber = 1; std::getline(file, line); ++lineNumber) {
    std::string_view content = line;
    if (lineNumber == 1 && content.substr(0, 3) == "\xEF\xBB\xBF")
      content.remove_prefix(3);
    if (!content.empty() && content.back() == '\r')
      content.remove_suffix(1);
    std::size_t first = SkipBlanks(content, 0);
    if (first == content.size() || content[first] == '#')
      continue;

    KORString key;
    KORUnicodeString text;
    KORUnicodeString error;
    if (ParseEntry(content, key, text, error) && !messages.emplace(key, text).second)
      error = "key \"" + key + "\" is already defined";
    if (!error.empty()) {
      _lastError = iPath + ":" + std::to_string(lineNumber) + ": " + error;
      return E_FAIL;
    }
  }
  if (file.bad()) {
    _lastError = iPath + ": read error";
    return E_FAIL;
  }
  _messages = std::move(messages);
  _name = iName;
  _lastError.clear();
  return S_OK;
}

HRESULT KORMsgCatalog::BuildMessage(const KORString& iKey, KORUnicodeString& oText) const {
  auto found = _messages.find(iKey);
  if (found == _messages.end()) {
    oText = "Message \"" + iKey + "\" not found in catalog \"" + _name + "\"";
    return E_FAIL;
  }
  oText = found->second;
  return S_OK;
}

HRESULT KORLoadSharedMsgCatalog(const KORString& iName,
                                std::shared_ptr<const KORMsgCatalog>& oCatalog,
                                KORUnicodeString& oError) {
  auto catalog = std::make_shared<KORMsgCatalog>();
  if (FAILED(catalog->LoadCatalog(iName))) {
    oError = catalog->LastError();
    return E_FAIL;
  }
  oCatalog = std::move(catalog);
  return S_OK;
}

HRESULT KORMsgCatalogCache::FindCatalog(const KORString& iName,
                                        std::shared_ptr<const KORMsgCatalog>& oCatalog,
                                        KORUnicodeString& oError) {
  if (auto found = _catalogs.find(iName); found != _catalogs.end()) {
    oCatalog = found->second;
    return S_OK;
  }
  if (FAILED(KORLoadSharedMsgCatalog(iName, oCatalog, oError)))
    return E_FAIL;
  _catalogs.emplace(iName, oCatalog);
  return S_OK;
}
