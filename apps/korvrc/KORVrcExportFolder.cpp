#include "KORVrcExportFolder.h"

#include "system/KOREnvironment.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

HRESULT KORVrcExportFolder::Open(const std::string& iFolder, std::string& oError) {
  std::error_code error;
  fs::create_directories(iFolder, error);
  if (!error && !fs::is_directory(iFolder, error))
    error = std::make_error_code(std::errc::not_a_directory);
  const fs::path canonical = error ? fs::path() : fs::canonical(iFolder, error);
  if (error) {
    oError = "the export folder " + iFolder + " cannot be used: " + error.message();
    return E_FAIL;
  }
  _path = canonical.string();
  return S_OK;
}

HRESULT KORVrcExportFolder::Resolve(const std::string& iPath, std::string& oResolved,
                                    std::string& oError) const {
  oResolved.clear();
  if (!IsOpen()) {
    oError = "no export folder is set: nothing may be written from the page";
    return E_INVALIDARG;
  }
  fs::path path = iPath;
  if (!iPath.empty() && iPath[0] == '$') {
    KORUnicodeString physical;
    if (FAILED(KORGetRealPath(iPath, physical))) {
      oError = iPath + " names an environment variable that is not set";
      return E_INVALIDARG;
    }
    path = physical;
  }
  if (path.is_relative())
    path = fs::path(_path) / path;
  std::error_code error;
  const fs::path resolved = fs::weakly_canonical(path, error).lexically_normal();
  const fs::path relative = resolved.lexically_relative(_path);
  const bool inside = !error && !relative.empty() && *relative.begin() != "..";
  if (!inside) {
    oError = iPath + " is outside the export folder " + _path;
    return E_INVALIDARG;
  }
  // "folder/." names the folder itself.
  oResolved = relative == "." ? _path : resolved.string();
  if (oResolved.size() > 1 && oResolved.back() == '/')
    oResolved.pop_back();
  return S_OK;
}

std::string KORVrcExportFolder::DefaultFor(const std::string& iDocument) {
  if (iDocument.empty())
    return (fs::current_path() / "korvrc-export").string();
  const fs::path document = fs::absolute(iDocument);
  return (document.parent_path() / (document.stem().string() + "-export")).string();
}
