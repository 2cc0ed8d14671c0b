#include "system/KORResource.h"

#include "system/KOREnvironment.h"

#include <filesystem>
#include <mutex>

namespace {

constexpr const char* kResourceSubfolders[] = {"msgcatalog", "catalogs", "images", "dtd"};

std::mutex sFoldersMutex;
KORListValKORUnicodeString sAddedFolders;

void AppendPathList(const char* iList, KORListValKORUnicodeString& ioFolders) {
  KORUnicodeString list = iList;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    if (end == KORUnicodeString::npos)
      end = list.size();
    if (end > start)
      ioFolders.Append(list.substr(start, end - start));
    start = end + 1;
  }
}

} // namespace

KORListValKORUnicodeString KORGetResourceFolders() {
  KORListValKORUnicodeString folders;
  if (const char* fromEnvironment = KORGetEnv("KOR_RESOURCE_PATH"))
    AppendPathList(fromEnvironment, folders);
  std::lock_guard lock(sFoldersMutex);
  for (const KORUnicodeString& folder : sAddedFolders)
    folders.Append(folder);
  return folders;
}

void KORAddResourceFolder(const KORUnicodeString& iFolder) {
  std::lock_guard lock(sFoldersMutex);
  if (!iFolder.empty() && sAddedFolders.Locate(iFolder) == 0)
    sAddedFolders.Append(iFolder);
}

void KORResetResourceFolders() {
  std::lock_guard lock(sFoldersMutex);
  sAddedFolders.RemoveAll();
}

HRESULT KORGetImagePathName(const KORString& iFileName, KORUnicodeString& oPath) {
  oPath.clear();
  if (iFileName.empty())
    return E_INVALIDARG;
  if (iFileName[0] == '/') {
    std::error_code error;
    if (!std::filesystem::is_regular_file(iFileName, error))
      return E_FAIL;
    oPath = iFileName;
    return S_OK;
  }
  for (const KORUnicodeString& folder : KORGetResourceFolders()) {
    if (SUCCEEDED(KORFindPath(iFileName, folder, oPath)))
      return S_OK;
    for (const char* subfolder : kResourceSubfolders)
      if (SUCCEEDED(KORFindPath(iFileName, KORMakePath(folder, subfolder), oPath)))
        return S_OK;
  }
  return E_FAIL;
}
