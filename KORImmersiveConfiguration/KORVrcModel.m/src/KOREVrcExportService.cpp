#include "KOREVrcExportService.h"

#include "KOREVrcXML.h"
#include "KORVrcTools.h"

#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcConfigure.h"
#include "interfaces/KORIVrcDevices.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcXML.h"
#include "system/KORAtomicFile.h"
#include "system/KOREnvironment.h"
#include "system/KORFileLock.h"
#include "system/KORMsgCatalog.h"
#include "vr/KORVRConfigRegistry.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxFileNameLength = 255;

// Why iName cannot be the stem of a file name; empty when it can.
KORUnicodeString FileNameProblem(const KORUnicodeString& iName) {
  if (iName.empty())
    return "is empty";
  if (iName == "." || iName == "..")
    return "is \"" + iName + "\"";
  if (iName.size() + 4 > kMaxFileNameLength)
    return "is longer than " + std::to_string(kMaxFileNameLength - 4) + " characters";
  for (char c : iName) {
    if (c == '/' || c == '\\')
      return "holds a path separator";
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
      return "holds a control character";
  }
  return {};
}

HRESULT CheckFileName(const KORUnicodeString& iName, KORUnicodeString& oFailure) {
  const KORUnicodeString problem = FileNameProblem(iName);
  if (problem.empty())
    return S_OK;
  oFailure = "cannot name a file: it " + problem;
  return E_INVALIDARG;
}

// Characters of a station name that are safe in a file name; others become '_'.
KORUnicodeString FileNamePart(const KORUnicodeString& iName) {
  KORUnicodeString part = iName.empty() ? "station" : iName.substr(0, 64);
  for (char& c : part)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_')
      c = '_';
  return part;
}

// Appends the lines of iMessages that ioAll does not hold yet: the XML
// document and the loose files run the same generators, whose complaints are
// worth reading once.
void MergeMessages(const KORUnicodeString& iMessages, KORUnicodeString& ioAll) {
  std::istringstream lines(iMessages);
  for (KORUnicodeString line; std::getline(lines, line);)
    if (!line.empty() && ioAll.find(line + "\n") == KORUnicodeString::npos)
      ioAll += line + "\n";
}

// The tracking stations of iConfig, each with the name of its daemon file
// beside NAME.xml; false when the stations cannot be listed.
using StationFiles = std::vector<std::pair<KORIVrcTrackingStation_var, KORUnicodeString>>;
bool ListStationFiles(KORIVrcConfig* iConfig, const KORUnicodeString& iName, StationFiles& oFiles) {
  KORIVrcDevices_var devices;
  KORListValKORBaseUnknown_var* stations = nullptr;
  if (FAILED(iConfig->GetDevices(devices.Out())) || FAILED(devices->GetTrackingStations(&stations)))
    return false;
  std::unique_ptr<KORListValKORBaseUnknown_var> owned(stations);
  std::set<KORUnicodeString> used;
  for (const KORBaseUnknown_var& entry : *owned) {
    KORIVrcTrackingStation_var station = KORQuery<KORIVrcTrackingStation>(entry);
    if (!station)
      continue;
    KORUnicodeString stationName;
    if (FAILED(station->GetName(stationName)))
      stationName.clear();
    // Two station names may clean up to the same text: number the later ones.
    const KORUnicodeString stem = iName + "." + FileNamePart(stationName);
    KORUnicodeString fileName = stem + ".tracking";
    for (int n = 2; !used.insert(fileName).second; ++n)
      fileName = stem + "-" + std::to_string(n) + ".tracking";
    oFiles.emplace_back(station, fileName);
  }
  return true;
}

bool HoldsError(const KORUnicodeString& iMessages) {
  KORMsgCatalog catalog;
  KORUnicodeString errorText;
  if (FAILED(catalog.LoadCatalog("KORVrcConfigure")) ||
      FAILED(catalog.BuildMessage("Error", errorText)) || errorText.empty())
    return true; // without the catalog a failure cannot be told harmless
  return iMessages.find(errorText) != KORUnicodeString::npos;
}

bool Exists(const KORUnicodeString& iPath, struct stat& oStatus) {
  return ::lstat(iPath.c_str(), &oStatus) == 0;
}

// The directory and its missing parents; oMade tells whether it was missing.
HRESULT MakeDirectory(const KORUnicodeString& iPath, bool& oMade, KORUnicodeString& oFailure) {
  struct stat status = {};
  oMade = false;
  if (::stat(iPath.c_str(), &status) == 0) {
    if (S_ISDIR(status.st_mode))
      return S_OK;
    oFailure = iPath + ": is not a directory";
    return E_FAIL;
  }
  const std::size_t slash = iPath.find_last_of('/');
  if (slash != KORUnicodeString::npos && slash > 0) {
    bool parentMade = false;
    if (FAILED(MakeDirectory(iPath.substr(0, slash), parentMade, oFailure)))
      return E_FAIL;
  }
  if (::mkdir(iPath.c_str(), 0777) != 0 && errno != EEXIST) {
    oFailure = iPath + ": cannot be created: " + KORSystemReason(errno);
    return E_FAIL;
  }
  oMade = true;
  return S_OK;
}

} // namespace

HRESULT KOREVrcExportService::MakeFiles(const KORVrcExportRequest& iRequest,
                                        std::vector<KORFileToWrite>& oFiles,
                                        KORUnicodeString& oMessages, KORUnicodeString& oFailure) {
  if (FAILED(CheckFileName(iRequest.name, oFailure)))
    return E_INVALIDARG;
  KORIVrcXML_var xmlInterface = QueryImpl<KORIVrcXML>();
  auto* xml = dynamic_cast<KOREVrcXML*>(xmlInterface.get());
  KORIVrcConfigure_var configure = QueryImpl<KORIVrcConfigure>();
  KORIVrcConfig_var config = QueryImpl<KORIVrcConfig>();
  if (!xml || !configure || !config) {
    oFailure = "the configuration offers no export";
    return E_FAIL;
  }
  const auto path = [&](const KORUnicodeString& iFileName) {
    return KORMakePath(iRequest.directory, iFileName);
  };
  const KORUnicodeString where = "the configuration \"" + iRequest.name + "\": ";
  KORUnicodeString text, messages;
  std::vector<KORVrcGeneratedFile> generated;
  const HRESULT exported = xml->CreateXMLConfigFile(text, messages, generated);
  MergeMessages(messages, oMessages);
  if (FAILED(exported)) {
    oFailure = where + "the export reported an error: nothing written";
    return E_FAIL;
  }
  oFiles.push_back({path(iRequest.name + ".xml"), std::move(text)});
  if (!iRequest.loose)
    return S_OK;

  // One runtime file: kept as iFileName when written; a failure fails the
  // export, except one that reports only warnings where iMayBeLeftOut. The
  // text generated for the XML document is taken as it is; a file the
  // document did not embed is generated by iWrite.
  using Writer = std::function<HRESULT(std::ostream&, KORUnicodeString&)>;
  const auto generate = [&](const KORUnicodeString& iFileName, bool iMayBeLeftOut, const char* iTag,
                            KORBaseUnknown* iStation, const Writer& iWrite) {
    KORVrcGeneratedFile file;
    const auto same = [&](const KORVrcGeneratedFile& iFile) {
      return KORUnicodeString(iFile.tag) == iTag &&
             (!iStation || CompareInterfacePointers(iFile.station, iStation));
    };
    if (auto found = std::find_if(generated.begin(), generated.end(), same);
        found != generated.end()) {
      file = std::move(*found);
    } else {
      std::ostringstream content;
      file.result = iWrite(content, file.messages);
      file.text = content.str();
    }
    MergeMessages(file.messages, oMessages);
    if (SUCCEEDED(file.result))
      oFiles.push_back({path(iFileName), std::move(file.text)});
    else if (!iMayBeLeftOut || HoldsError(file.messages))
      oFailure = where + iFileName + " cannot be made: nothing written";
    return oFailure.empty();
  };
  // Image generators on another host leave the multipipe file out with a warning only.
  if (!generate(iRequest.name + ".mpk", true, "MPK", nullptr,
                [&](std::ostream& oOut, KORUnicodeString& oText) {
                  return configure->GenerateMPK(oOut, oText, 1);
                }) ||
      !generate(iRequest.name + ".display", false, "FSConfig", nullptr,
                [&](std::ostream& oOut, KORUnicodeString& oText) {
                  return configure->GenerateFSConfig(oOut, oText, 1);
                }))
    return E_FAIL;

  StationFiles stationFiles;
  if (!ListStationFiles(config, iRequest.name, stationFiles)) {
    oFailure = where + "the tracking stations cannot be listed: nothing written";
    return E_FAIL;
  }
  for (const auto& stationFile : stationFiles) {
    const KORIVrcTrackingStation_var& station = stationFile.first;
    if (!generate(stationFile.second, false, "ConfigFile", station,
                  [&](std::ostream& oOut, KORUnicodeString& oText) {
                    return configure->GenerateTrackingStationConfigFile(oOut, station, oText, 1);
                  }))
      return E_FAIL;
  }
  return S_OK;
}

HRESULT KOREVrcExportService::FindExistingTargets(const KORVrcExportRequest& iRequest,
                                                  KORListValKORUnicodeString& oExisting,
                                                  KORUnicodeString& oFailure) {
  if (FAILED(CheckFileName(iRequest.name, oFailure)))
    return E_INVALIDARG;
  // Every file the export could write; only when one of them exists does it
  // take generating the files to know which of them the export will write.
  std::vector<KORUnicodeString> candidates{iRequest.name + ".xml"};
  StationFiles stationFiles;
  KORIVrcConfig_var config = QueryImpl<KORIVrcConfig>();
  if (iRequest.loose) {
    candidates.insert(candidates.end(), {iRequest.name + ".mpk", iRequest.name + ".display"});
    if (!config || !ListStationFiles(config, iRequest.name, stationFiles))
      candidates.clear(); // unknown: generating tells
    for (const auto& stationFile : stationFiles)
      candidates.push_back(stationFile.second);
  }
  struct stat status = {};
  if (!candidates.empty() &&
      std::none_of(candidates.begin(), candidates.end(), [&](const KORUnicodeString& iName) {
        return Exists(KORMakePath(iRequest.directory, iName), status);
      }))
    return S_OK;

  std::vector<KORFileToWrite> files;
  KORUnicodeString messages;
  const HRESULT made = MakeFiles(iRequest, files, messages, oFailure);
  if (FAILED(made))
    return made;
  for (const KORFileToWrite& file : files)
    if (Exists(file.path, status))
      oExisting.Append(file.path);
  return S_OK;
}

HRESULT KOREVrcExportService::Export(const KORVrcExportRequest& iRequest,
                                     KORListValKORUnicodeString& oWritten,
                                     KORUnicodeString& oMessages, KORUnicodeString& oFailure) {
  std::vector<KORFileToWrite> files;
  const HRESULT made = MakeFiles(iRequest, files, oMessages, oFailure);
  if (FAILED(made))
    return made;

  // A registry that would refuse the entry is found before anything is written.
  if (iRequest.addToList || iRequest.makeActive) {
    KORUnicodeString refused;
    if (FAILED(KORCheckVRConfigRegistry(refused))) {
      oFailure = refused + ": nothing written";
      return E_FAIL;
    }
  }
  bool directoryMade = false;
  if (FAILED(MakeDirectory(iRequest.directory, directoryMade, oFailure)))
    return E_FAIL;
  KORUnicodeString written;
  {
    KORFileLock folderLock;
    HRESULT result = folderLock.Lock(iRequest.directory, oFailure);
    // Checked under the lock: another export may have written here meanwhile.
    struct stat status = {};
    for (const KORFileToWrite& file : files) {
      if (FAILED(result) || !Exists(file.path, status))
        continue;
      if (S_ISDIR(status.st_mode)) {
        oFailure = file.path + ": is a directory";
        result = E_FAIL;
      } else if (!iRequest.replace) {
        oFailure = file.path + ": already exists";
        result = E_FAIL;
      }
    }
    if (SUCCEEDED(result) && ::access(iRequest.directory.c_str(), W_OK | X_OK) != 0) {
      oFailure = iRequest.directory + ": cannot be written: " + KORSystemReason(errno);
      result = E_FAIL;
    }
    if (SUCCEEDED(result))
      result = KORWriteFilesTogether(files, 0644, oFailure);
    if (FAILED(result)) {
      if (directoryMade)
        ::rmdir(iRequest.directory.c_str()); // only when still empty
      return E_FAIL;
    }
  }
  for (const KORFileToWrite& file : files)
    oWritten.Append(file.path);

  if (!iRequest.addToList && !iRequest.makeActive)
    return S_OK;
  const KORUnicodeString logical =
      iRequest.registryDirectory.empty() ? iRequest.directory : iRequest.registryDirectory;
  return KORRegisterVRConfig(logical, KORMakePath(logical, iRequest.name + ".xml"),
                             iRequest.makeActive != 0, oFailure);
}
