#include "KORVrcCommands.h"

#include "KORVrcDescriptionModel.h"
#include "featurestore/KORDocumentIO.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcConfigure.h"
#include "interfaces/KORIVrcDevices.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcXML.h"
#include "system/KORAtomicFile.h"
#include "system/KOREnvironment.h"
#include "vr/KORVRConfigRegistry.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

namespace {

int Failure(const std::string& iMessage) {
  std::cerr << "korvrc: " << iMessage << '\n';
  return 1;
}

bool ReadText(const std::string& iPath, std::string& oText) {
  std::ifstream file(iPath, std::ios::binary);
  if (!file)
    return false;
  std::ostringstream text;
  text << file.rdbuf();
  oText = text.str();
  return !file.bad();
}

// A document built from a description text; null with oError on failure.
KORSmartPtr<KORDocument> ImportDescription(const std::string& iPath, const std::string& iText,
                                           std::string& oError) {
  KORVrcDescription description;
  std::string error;
  if (!KORVrcReadDescription(iText, KORVrcModelHasBestOffset, description, error)) {
    oError = iPath + ": " + error;
    return nullptr;
  }
  KORSmartPtr<KORDocument> document = KORDocument::Create();
  KORIVrcFactory_var factory = KORQuery<KORIVrcFactory>(document);
  if (!factory) {
    oError = "documents offer no configuration factory: is the module loaded?";
    return nullptr;
  }
  if (FAILED(KORVrcBuildDescription(description, factory, error))) {
    oError = iPath + ": " + error;
    return nullptr;
  }
  return document;
}

bool IsDescriptionText(const std::string& iText) {
  const auto json = nlohmann::json::parse(iText, nullptr, false);
  return json.is_object() && json.contains("format") && json["format"] == KORVrcDescriptionFormat;
}

// The document a command works on: a saved document, or a description (told
// apart by its "format"), or the bundled example when iInput is empty.
KORSmartPtr<KORDocument> OpenInput(const std::string& iInput, std::string& oError) {
  const std::string path = iInput.empty() ? KORVrcExamplePath() : iInput;
  std::string text;
  if (!ReadText(path, text)) {
    oError = path + ": cannot be read";
    return nullptr;
  }
  if (IsDescriptionText(text))
    return ImportDescription(path, text, oError);
  KORSmartPtr<KORDocument> document;
  if (FAILED(KORLoadDocument(path, document, oError)))
    return nullptr;
  return document;
}

KORIVrcConfig_var ConfigOf(KORDocument* iDocument) {
  KORIVrcFactory_var factory = KORQuery<KORIVrcFactory>(iDocument);
  KORIVrcConfig_var config;
  if (factory)
    factory->RetrieveConfig(config.Out());
  return config;
}

HRESULT WriteText(const std::string& iPath, const std::string& iText, std::string& oError) {
  const HRESULT result = KORWriteFileAtomically(
      iPath, 0644, [&](int iDescriptor) { return KORWriteAll(iDescriptor, iText); });
  if (FAILED(result))
    oError = iPath + ": cannot be written";
  return result;
}

void PrintMessages(const KORUnicodeString& iMessages) {
  if (!iMessages.empty())
    std::cerr << iMessages << (iMessages.back() == '\n' ? "" : "\n");
}

// A directory given on the command line, made absolute; created when missing
// only by the caller, once nothing can fail any more.
bool ResolveDirectory(const std::string& iDirectory, std::string& oPhysical, std::string& oError) {
  if (FAILED(KORGetRealPath(iDirectory, oPhysical))) {
    oError = "--dir " + iDirectory + ": cannot be resolved";
    return false;
  }
  if (std::filesystem::exists(oPhysical) && !std::filesystem::is_directory(oPhysical)) {
    oError = "--dir " + iDirectory + ": is not a directory";
    return false;
  }
  return true;
}

bool CreateDirectory(const std::string& iPath, std::string& oError) {
  std::error_code error;
  std::filesystem::create_directories(iPath, error);
  if (error)
    oError = iPath + ": cannot be created: " + error.message();
  return !error;
}

// Characters of a station name that are safe in a file name; others become '_'.
std::string FileNamePart(const std::string& iName) {
  std::string part = iName.empty() ? "station" : iName;
  for (char& c : part)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_')
      c = '_';
  return part;
}

struct OutputFile {
  std::string fileName;
  std::string text;
};

// The multipipe, display and per-station daemon files, named after iName.
bool LooseFiles(KORIVrcConfig* iConfig, const std::string& iName, std::vector<OutputFile>& ioFiles,
                std::string& oError) {
  KORIVrcConfigure_var configure = KORQuery<KORIVrcConfigure>(iConfig);
  if (!configure) {
    oError = "the configuration offers no runtime file writers";
    return false;
  }
  KORUnicodeString messages;
  std::ostringstream multipipe, display;
  if (FAILED(configure->GenerateMPK(multipipe, messages, 1))) {
    oError = "the multipipe file cannot be written: " + messages;
    return false;
  }
  if (FAILED(configure->GenerateFSConfig(display, messages, 1))) {
    oError = "the display file cannot be written: " + messages;
    return false;
  }
  ioFiles.push_back({iName + ".mpk", multipipe.str()});
  ioFiles.push_back({iName + ".display", display.str()});

  KORIVrcDevices_var devices;
  KORListValKORBaseUnknown_var* stations = nullptr;
  if (FAILED(iConfig->GetDevices(devices.Out())) ||
      FAILED(devices->GetTrackingStations(&stations))) {
    oError = "the tracking stations cannot be listed";
    return false;
  }
  std::unique_ptr<KORListValKORBaseUnknown_var> owned(stations);
  std::set<std::string> used;
  for (const KORBaseUnknown_var& entry : *owned) {
    KORIVrcTrackingStation_var station = KORQuery<KORIVrcTrackingStation>(entry);
    if (!station)
      continue;
    KORUnicodeString stationName;
    station->GetName(stationName);
    std::ostringstream daemon;
    if (FAILED(configure->GenerateTrackingStationConfigFile(daemon, station, messages, 1))) {
      oError = "the daemon file of \"" + stationName + "\" cannot be written: " + messages;
      return false;
    }
    // Two station names may clean up to the same text: number the later ones.
    std::string fileName = iName + "." + FileNamePart(stationName) + ".tracking";
    for (int n = 2; !used.insert(fileName).second; ++n)
      fileName = iName + "." + FileNamePart(stationName) + "-" + std::to_string(n) + ".tracking";
    ioFiles.push_back({fileName, daemon.str()});
  }
  return true;
}

bool Register(const std::string& iDirectory, const std::string& iXmlPath, bool iActive,
              std::string& oError) {
  const char* settings = KORGetEnv("KORUserSettingPath");
  if (!settings || !*settings) {
    oError = "KORUserSettingPath is not set and HOME is unknown: nowhere to save the registry";
    return false;
  }
  if (!CreateDirectory(settings, oError))
    return false;
  KORSetVRConfigDirectory(iDirectory);
  KORAddVRConfig(iXmlPath);
  if (iActive)
    KORSetActiveVRConfig(iXmlPath);
  if (FAILED(KORSaveVirtualRepository())) {
    oError = KORMakePath(settings, "VirtualRepository.KORSettings") + ": cannot be written";
    return false;
  }
  std::cout << "registered " << iXmlPath << '\n';
  if (iActive)
    std::cout << "active configuration: " << iXmlPath
              << " (the immersive runtime loads it at its next start)\n";
  return true;
}

} // namespace

std::string KORVrcExamplePath() {
  const char* overridden = KORGetEnv("KORVRC_EXAMPLE");
  return overridden && *overridden ? overridden : KORVRC_EXAMPLE_PATH;
}

int KORVrcRunNew(const std::string& iDocument) {
  KORSmartPtr<KORDocument> document = KORDocument::Create();
  if (!ConfigOf(document))
    return Failure("the default configuration cannot be made: is the module loaded?");
  std::string error;
  if (FAILED(KORSaveDocument(*document, iDocument, error)))
    return Failure(error);
  std::cout << "wrote " << iDocument << '\n';
  return 0;
}

int KORVrcRunImport(const std::string& iDescription, const std::string& iDocument) {
  std::string text, error;
  if (!ReadText(iDescription, text))
    return Failure(iDescription + ": cannot be read");
  KORSmartPtr<KORDocument> document = ImportDescription(iDescription, text, error);
  if (!document)
    return Failure(error);
  if (FAILED(KORSaveDocument(*document, iDocument, error)))
    return Failure(error);
  std::cout << "wrote " << iDocument << '\n';
  return 0;
}

int KORVrcRunDescribe(const std::string& iInput) {
  std::string error;
  KORSmartPtr<KORDocument> document = OpenInput(iInput, error);
  if (!document)
    return Failure(error);
  KORVrcDescription description;
  if (FAILED(KORVrcDescribe(KORQuery<KORIVrcFactory>(document).get(), description, error)))
    return Failure("cannot describe: " + error);
  std::cout << KORVrcWriteDescription(description);
  return 0;
}

int KORVrcRunExport(const KORVrcExportOptions& iOptions) {
  std::string error, directory;
  KORSmartPtr<KORDocument> document = OpenInput(iOptions.input, error);
  if (!document)
    return Failure(error);
  if (!ResolveDirectory(iOptions.directory, directory, error))
    return Failure(error);
  KORIVrcConfig_var config = ConfigOf(document);
  KORIVrcXML_var xml = KORQuery<KORIVrcXML>(config);
  if (!xml)
    return Failure("the document has no configuration to export");
  std::string name = iOptions.name;
  if (name.empty())
    config->GetName(name);
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
    return Failure("--name \"" + name + "\": cannot name a file");

  KORUnicodeString text, messages;
  const HRESULT exported = xml->CreateXMLConfigFile(text, messages);
  PrintMessages(messages);
  if (FAILED(exported))
    return Failure("the export of \"" + name + "\" failed: nothing written");

  std::vector<OutputFile> files{{name + ".xml", text}};
  if (iOptions.loose && !LooseFiles(config, name, files, error))
    return Failure(error);
  for (const OutputFile& file : files) {
    KORUnicodeString existing;
    if (!iOptions.force && SUCCEEDED(KORFindPath(file.fileName, directory, existing)))
      return Failure(existing + ": already exists (use --force to replace it)");
  }
  if (!CreateDirectory(directory, error))
    return Failure(error);
  for (const OutputFile& file : files) {
    const std::string path = KORMakePath(directory, file.fileName);
    if (FAILED(WriteText(path, file.text, error)))
      return Failure(error);
    std::cout << "wrote " << path << '\n';
  }
  if (iOptions.registerConfig || iOptions.active) {
    // A directory given through an environment reference stays logical, so
    // that the registry follows the variable.
    const std::string logical =
        iOptions.directory.starts_with('$') ? iOptions.directory : directory;
    if (!Register(logical, KORMakePath(logical, name + ".xml"), iOptions.active, error))
      return Failure(error);
  }
  return 0;
}

int KORVrcRunSettings(const std::string& iInput, const std::string& iDirectory) {
  std::string error, directory;
  KORSmartPtr<KORDocument> document = OpenInput(iInput, error);
  if (!document)
    return Failure(error);
  if (!ResolveDirectory(iDirectory, directory, error))
    return Failure(error);
  KORIVrcConfigure_var configure = KORQuery<KORIVrcConfigure>(ConfigOf(document));
  if (!configure)
    return Failure("the document has no configuration");
  const char* settings = KORGetEnv("KORUserSettingPath");
  if (!settings || !*settings)
    return Failure("KORUserSettingPath is not set and HOME is unknown: nowhere to save settings");
  if (!CreateDirectory(settings, error) || !CreateDirectory(directory, error))
    return Failure(error);

  using Writer =
      HRESULT (KORIVrcConfigure::*)(const KORUnicodeString&, KORUnicodeString&, unsigned char);
  const std::pair<const char*, Writer> files[] = {
      {"VirtualRealityTemp.KORSettings", &KORIVrcConfigure::GenerateVirtualRealitySettingFile},
      {"VRCommandsTemp.KORSettings", &KORIVrcConfigure::GenerateVRCommandsSettingFile}};
  for (const auto& [fileName, writer] : files) {
    const std::string path = KORMakePath(directory, fileName);
    KORUnicodeString messages;
    const HRESULT result = (configure.get()->*writer)(path, messages, 1);
    PrintMessages(messages);
    if (FAILED(result))
      return Failure(path + ": cannot be written (settings saved in " + settings + ")");
    std::cout << "wrote " << path << '\n';
  }
  return 0;
}

KORSmartPtr<KORDocument> KORVrcOpenInput(const std::string& iInput, std::string& oError) {
  return OpenInput(iInput, oError);
}
