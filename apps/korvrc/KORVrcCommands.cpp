#include "KORVrcCommands.h"

#include "KORVrcDescriptionModel.h"
#include "featurestore/KORContainer.h"
#include "featurestore/KORDocumentIO.h"
#include "featurestore/KORISpecAttrAccess.h"
#include "frame/KORDriver.h"
#include "frame/KORFrame.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcConfigure.h"
#include "interfaces/KORIVrcExportService.h"
#include "system/KORAtomicFile.h"
#include "system/KOREnvironment.h"
#include "system/KORJsonDepth.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kContainerType = "VrcContainer";

int Failure(const std::string& iWhere, const std::string& iWhat) {
  std::cerr << "korvrc: " << iWhere << ": " << iWhat << '\n';
  return 1;
}

bool ReadText(const std::string& iPath, std::string& oText, std::string& oError) {
  struct stat status = {};
  if (::stat(iPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
    oError = "cannot be read: " + KORSystemReason(EISDIR);
    return false;
  }
  errno = 0;
  std::ifstream file(iPath, std::ios::binary);
  if (!file) {
    oError = "cannot be read: " + KORSystemReason(errno ? errno : EIO);
    return false;
  }
  // Read straight into one string of the file's size: going through a string
  // stream would hold a large document two or three times over.
  oText.clear();
  if (S_ISREG(status.st_mode) && status.st_size > 0)
    oText.reserve(static_cast<std::size_t>(status.st_size));
  char buffer[1 << 16];
  while (file.read(buffer, sizeof buffer) || file.gcount() > 0)
    oText.append(buffer, static_cast<std::size_t>(file.gcount()));
  if (file.bad()) {
    oError = "cannot be read: " + KORSystemReason(errno ? errno : EIO);
    return false;
  }
  return true;
}

// True when both paths name one file, through links or other spellings too.
bool SameFile(const std::string& iFirst, const std::string& iSecond) {
  struct stat first = {}, second = {};
  return ::stat(iFirst.c_str(), &first) == 0 && ::stat(iSecond.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Why iTarget may not be written, or empty when it may.
std::string OutputProblem(const std::string& iTarget, const std::string& iInput, bool iForce) {
  struct stat status = {};
  if (::lstat(iTarget.c_str(), &status) != 0)
    return {};
  if (!iInput.empty() && SameFile(iTarget, iInput))
    return "is the input being read: it is not written over";
  if (S_ISDIR(status.st_mode))
    return "is a directory";
  if (!iForce)
    return "already exists (use --force to replace it)";
  return {};
}

// A document built from a description text; null with oError on failure.
KORSmartPtr<KORDocument> ImportDescription(const std::string& iText, std::string& oError) {
  KORVrcDescription description;
  if (!KORVrcReadDescription(iText, KORVrcModelHasBestOffset, description, oError))
    return nullptr;
  KORSmartPtr<KORDocument> document = KORDocument::Create();
  KORIVrcFactory_var factory = KORQuery<KORIVrcFactory>(document);
  if (!factory) {
    oError = "documents offer no configuration factory: is the module loaded?";
    return nullptr;
  }
  if (FAILED(KORVrcBuildDescription(description, factory, oError)))
    return nullptr;
  return document;
}

// Reads events up to the top-level "format" member's value and stops there:
// telling a description from a document needs no more of the text. The
// verdict is known once that value is read, or once the text shows it is not
// an object; a text that breaks first leaves it unknown.
class FormatReader {
public:
  std::optional<bool> IsDescription() const { return _isDescription; }

  bool null() { return Value(); }
  bool boolean(bool) { return Value(); }
  bool number_integer(std::int64_t) { return Value(); }
  bool number_unsigned(std::uint64_t) { return Value(); }
  bool number_float(double, const std::string&) { return Value(); }
  bool binary(std::vector<std::uint8_t>&) { return Value(); }
  bool string(std::string& iValue) { return Value(iValue == KORVrcDescriptionFormat); }
  bool start_object(std::size_t) { return Open(/*iObject=*/true); }
  bool start_array(std::size_t) { return Open(/*iObject=*/false); }
  bool end_object() { return Close(); }
  bool end_array() { return Close(); }
  bool key(std::string& iKey) {
    _atFormat = _depth == 1 && iKey == "format";
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
    return false;
  }

private:
  bool Value(bool iIsDescriptionFormat = false) {
    if (_depth == 0 || (_depth == 1 && _atFormat))
      _isDescription = _depth == 1 && iIsDescriptionFormat;
    return !_isDescription;
  }
  bool Open(bool iObject) {
    if ((_depth > 0 || !iObject) && !Value())
      return false;
    ++_depth;
    return true;
  }
  bool Close() {
    --_depth;
    return true;
  }

  std::size_t _depth = 0;
  bool _atFormat = false;
  std::optional<bool> _isDescription;
};

// Told apart by the "format" member. A text that does not parse is a
// description when it says so, so that the description reader reports where
// it breaks.
bool IsDescriptionText(const std::string& iText) {
  FormatReader reader;
  bool whole = false;
  try {
    whole = nlohmann::json::sax_parse(iText, &reader);
  } catch (const nlohmann::json::exception&) {
    whole = false;
  }
  if (reader.IsDescription())
    return *reader.IsDescription();
  std::string tooDeep;
  if (whole && KORCheckJsonDepth(iText, tooDeep))
    return false;
  return iText.find(KORVrcDescriptionFormat) != std::string::npos;
}

bool HoldsConfiguration(KORDocument& iDocument) {
  for (const auto& container : iDocument.GetCompoundContainer()->Containers())
    if (std::string(container->GetTypeName()) == kContainerType)
      return true;
  return false;
}

// The document a command works on: a saved document, or a description (told
// apart by its "format"), or the bundled example when iInput is empty. On
// failure oWhere and oError say what is wrong.
KORSmartPtr<KORDocument> ReadInput(const std::string& iInput, std::string& oWhere,
                                   std::string& oError) {
  oWhere = iInput.empty() ? KORVrcExamplePath() : iInput;
  std::string text;
  if (!ReadText(oWhere, text, oError))
    return nullptr;
  if (IsDescriptionText(text))
    return ImportDescription(text, oError);
  KORSmartPtr<KORDocument> document;
  std::string error;
  if (FAILED(KORLoadDocumentText(text, oWhere, document, error))) {
    // The loader's messages name the file themselves.
    oError = error.starts_with(oWhere + ": ") ? error.substr(oWhere.size() + 2) : error;
    return nullptr;
  }
  // Asking such a document for its configuration would make a default one.
  if (!HoldsConfiguration(*document)) {
    oError = std::string("holds no configuration container (\"") + kContainerType +
             "\"): it is not an installation";
    return nullptr;
  }
  return document;
}

// The same, made the document of the run's editor, as a user's open document is.
KORSmartPtr<KORDocument> OpenInput(const std::string& iInput, std::string& oWhere,
                                   std::string& oError) {
  KORSmartPtr<KORDocument> document = ReadInput(iInput, oWhere, oError);
  if (document && KORFrame::Current())
    KORFrame::Current()->Editor().SetDocument(document->Identity());
  return document;
}

KORIVrcConfig_var ConfigOf(KORDocument* iDocument) {
  KORIVrcFactory_var factory = KORQuery<KORIVrcFactory>(iDocument);
  KORIVrcConfig_var config;
  if (factory && FAILED(factory->RetrieveConfig(config.Out())))
    config = nullptr;
  return config;
}

void PrintMessages(const KORUnicodeString& iMessages) {
  if (!iMessages.empty())
    std::cerr << iMessages << (iMessages.back() == '\n' ? "" : "\n");
}

// A directory given on the command line, made absolute.
bool ResolveDirectory(const std::string& iDirectory, std::string& oPhysical, std::string& oError) {
  if (FAILED(KORGetRealPath(iDirectory, oPhysical))) {
    oError = "cannot be resolved";
    return false;
  }
  struct stat status = {};
  if (::stat(oPhysical.c_str(), &status) == 0 && !S_ISDIR(status.st_mode)) {
    oError = "is not a directory";
    return false;
  }
  return true;
}

bool CreateDirectory(const std::string& iPath, std::string& oError) {
  std::error_code error;
  std::filesystem::create_directories(iPath, error);
  if (error)
    oError = "cannot be created: " + error.message();
  return !error;
}

int SaveDocument(KORDocument& iDocument, const std::string& iPath) {
  std::string error;
  if (FAILED(KORSaveDocument(iDocument, iPath, error)))
    return Failure(iPath, error.starts_with(iPath + ": ") ? error.substr(iPath.size() + 2) : error);
  std::cout << "wrote " << iPath << '\n';
  return 0;
}

// Whether the configuration has no identifier yet: a document saved by an
// older release. Descriptions and new documents are given one when made.
bool LacksIdentifier(KORIVrcConfig* iConfig) {
  auto attributes = KORQuery<KORISpecAttrAccess>(iConfig);
  KORUnicodeString id;
  return attributes && SUCCEEDED(attributes->GetString("ConfigID", id)) && id.empty();
}

} // namespace

std::string KORVrcExamplePath() {
  const char* overridden = KORGetEnv("KORVRC_EXAMPLE");
  return overridden && *overridden ? overridden : KORVRC_EXAMPLE_PATH;
}

int KORVrcGuarded(const std::string& iWhere, const std::function<int()>& iCommand) {
  try {
    return iCommand();
  } catch (const std::exception& error) {
    return Failure(iWhere, std::string("cannot be processed: ") + error.what());
  } catch (...) {
    return Failure(iWhere, "cannot be processed");
  }
}

int KORVrcRunNew(const std::string& iDocument, bool iForce) {
  if (const std::string problem = OutputProblem(iDocument, "", iForce); !problem.empty())
    return Failure(iDocument, problem);
  KORSmartPtr<KORDocument> document = KORDocument::Create();
  if (!ConfigOf(document))
    return Failure(iDocument, "the default configuration cannot be made: is the module loaded?");
  return SaveDocument(*document, iDocument);
}

int KORVrcRunImport(const std::string& iDescription, const std::string& iDocument, bool iForce) {
  std::string text, error;
  if (!ReadText(iDescription, text, error))
    return Failure(iDescription, error);
  if (const std::string problem = OutputProblem(iDocument, iDescription, iForce); !problem.empty())
    return Failure(iDocument, problem);
  KORSmartPtr<KORDocument> document = ImportDescription(text, error);
  if (!document)
    return Failure(iDescription, error);
  return SaveDocument(*document, iDocument);
}

int KORVrcRunDescribe(const std::string& iInput) {
  std::string where, error;
  KORSmartPtr<KORDocument> document = OpenInput(iInput, where, error);
  if (!document)
    return Failure(where, error);
  KORVrcDescription description;
  if (FAILED(KORVrcDescribe(KORQuery<KORIVrcFactory>(document).get(), description, error)))
    return Failure(where, "cannot be described: " + error);
  const std::string text = KORVrcWriteDescription(description);
  // The dialogs let through a few values that the format's ranges refuse (an
  // IPD of 0, a tab in a name): a description that import would refuse is
  // not printed, and the error names the value as import would.
  KORVrcDescription readBack;
  if (!KORVrcReadDescription(text, KORVrcModelHasBestOffset, readBack, error))
    return Failure(where, "cannot be described in a form that imports: " + error);
  std::cout << text;
  return 0;
}

int KORVrcRunExport(const KORVrcExportOptions& iOptions) {
  std::string where, error, directory;
  KORSmartPtr<KORDocument> document = OpenInput(iOptions.input, where, error);
  if (!document)
    return Failure(where, error);
  if (!ResolveDirectory(iOptions.directory, directory, error))
    return Failure("--dir " + iOptions.directory, error);
  KORIVrcConfig_var config = ConfigOf(document);
  KORIVrcExportService_var service = KORQuery<KORIVrcExportService>(config);
  if (!service)
    return Failure(where, "has no configuration to export");

  KORVrcExportRequest request;
  request.directory = directory;
  // A directory given through an environment reference stays logical, so
  // that the registry follows the variable.
  request.registryDirectory = iOptions.directory.starts_with('$') ? iOptions.directory : directory;
  request.name = iOptions.name;
  if (request.name.empty() && FAILED(config->GetName(request.name)))
    return Failure(where, "the configuration's name cannot be read");
  request.loose = iOptions.loose;
  request.replace = iOptions.force;
  request.addToList = iOptions.registerConfig || iOptions.active;
  request.makeActive = iOptions.active;
  const std::string nameWhere =
      (iOptions.name.empty() ? "the configuration's name " : "--name ") + KORVrcEcho(request.name);

  // The identifier this export makes is kept in the document, so that the
  // runtime that loads the file knows the document by it on the next run too.
  const bool keepIdentifier = !iOptions.input.empty() && LacksIdentifier(config);

  KORUnicodeString messages, failure;
  if (!iOptions.force) {
    KORListValKORUnicodeString existing;
    const HRESULT found = service->FindExistingTargets(request, existing, failure);
    if (found == E_INVALIDARG)
      return Failure(nameWhere, failure);
    if (SUCCEEDED(found) && existing.Size() > 0)
      return Failure(existing[1], "already exists (use --force to replace it)");
  }
  KORListValKORUnicodeString written;
  failure.clear();
  const HRESULT exported = service->Export(request, written, messages, failure);
  PrintMessages(messages);
  for (const KORUnicodeString& path : written)
    std::cout << "wrote " << path << '\n';
  if (exported == E_INVALIDARG)
    return Failure(nameWhere, failure);
  if (FAILED(exported)) {
    std::cerr << "korvrc: " << failure << '\n';
    return 1;
  }
  if (keepIdentifier) {
    KORUuid id;
    if (FAILED(config->GetID(id)))
      return Failure(where, "the configuration identifier of the export cannot be read back");
    std::cout << "the document had no configuration identifier: " << id.ToText()
              << " is saved into it\n";
    if (SaveDocument(*document, iOptions.input) != 0)
      return 1;
  }
  if (request.addToList) {
    const std::string xml = KORMakePath(request.registryDirectory, request.name + ".xml");
    std::cout << "registered " << xml << '\n';
    if (request.makeActive)
      std::cout << "active configuration: " << xml
                << " (the immersive runtime loads it at its next start)\n";
  }
  return 0;
}

int KORVrcRunSettings(const std::string& iInput, const std::string& iDirectory, bool iForce) {
  std::string where, error, directory;
  KORSmartPtr<KORDocument> document = OpenInput(iInput, where, error);
  if (!document)
    return Failure(where, error);
  if (!ResolveDirectory(iDirectory, directory, error))
    return Failure("--dir " + iDirectory, error);
  KORIVrcConfigure_var configure = KORQuery<KORIVrcConfigure>(ConfigOf(document));
  if (!configure)
    return Failure(where, "has no configuration");
  const char* settings = KORGetEnv("KORUserSettingPath");
  if (!settings || !*settings)
    return Failure("KORUserSettingPath",
                   "is not set and HOME is unknown: nowhere to save settings");

  using Writer =
      HRESULT (KORIVrcConfigure::*)(const KORUnicodeString&, KORUnicodeString&, unsigned char);
  const std::pair<const char*, Writer> files[] = {
      {"VirtualRealityTemp.KORSettings", &KORIVrcConfigure::GenerateVirtualRealitySettingFile},
      {"VRCommandsTemp.KORSettings", &KORIVrcConfigure::GenerateVRCommandsSettingFile}};
  for (const auto& [fileName, writer] : files) {
    const std::string path = KORMakePath(directory, fileName);
    if (const std::string problem = OutputProblem(path, where, iForce); !problem.empty())
      return Failure(path, problem);
  }
  if (!CreateDirectory(settings, error))
    return Failure(settings, error);
  // Both files are made in the settings folder first and copied together, as
  // the export writes its files: a failure leaves the directory as it was.
  std::vector<KORFileToWrite> copies;
  for (const auto& [fileName, writer] : files) {
    const std::string saved = KORMakePath(settings, fileName);
    KORUnicodeString messages;
    errno = 0;
    const HRESULT result = (configure.get()->*writer)(saved, messages, 0);
    const int reason = errno;
    PrintMessages(messages);
    KORFileToWrite copy{KORMakePath(directory, fileName), {}};
    if (FAILED(result) || !ReadText(saved, copy.text, error))
      return Failure(saved, "cannot be saved" + (reason ? ": " + KORSystemReason(reason) : "") +
                                " (nothing written in " + directory + ")");
    copies.push_back(std::move(copy));
  }
  const bool directoryExisted = std::filesystem::exists(directory);
  if (!CreateDirectory(directory, error))
    return Failure(directory, error);
  KORUnicodeString failure;
  if (FAILED(KORWriteFilesTogether(copies, 0644, failure))) {
    if (!directoryExisted)
      ::rmdir(directory.c_str()); // only when still empty
    return Failure(directory, "nothing written: " + failure);
  }
  for (const KORFileToWrite& copy : copies)
    std::cout << "wrote " << copy.path << '\n';
  return 0;
}

KORSmartPtr<KORDocument> KORVrcOpenInput(const std::string& iInput, std::string& oWhere,
                                         std::string& oError) {
  return OpenInput(iInput, oWhere, oError);
}

int KORVrcRunPlay(const std::string& iJournal, const std::string& iDocument,
                  const std::string& iOutput) {
  const std::string& target = iOutput.empty() ? iDocument : iOutput;
  if (target.empty())
    return Failure(iJournal, "say where to save the result: -o OUTPUT (no DOCUMENT was given)");
  std::ifstream journal(iJournal, std::ios::binary);
  if (!journal)
    return Failure(iJournal, "cannot be read: " + KORSystemReason(errno));
  KORFrame* frame = KORFrame::Current();
  if (!frame)
    return Failure(iJournal, "no application frame is running");
  std::string where, error;
  KORSmartPtr<KORDocument> document;
  if (iDocument.empty()) {
    document = KORDocument::Create();
    frame->Editor().SetDocument(document->Identity());
    if (!ConfigOf(document))
      return Failure(iJournal, "the default configuration cannot be made: is the module loaded?");
  } else if (!(document = OpenInput(iDocument, where, error))) {
    return Failure(where, error);
  }
  frame->SetReplayingUserInteraction(true);
  // Without the module's workbench (S_FALSE) a journal can still select,
  // edit and check; `start` then says that no workbench is loaded.
  KORString workbenchError;
  if (FAILED(frame->LoadWorkbench("KORVrcWorkbench", workbenchError)))
    return Failure(iJournal, workbenchError);
  KORDriver driver(*frame, std::cout);
  driver.SetMessageCallback([](const KORDriverMessage& iMessage) {
    std::cout << "message: " << iMessage.title << ": " << iMessage.text << " -> " << iMessage.answer
              << '\n';
  });
  const HRESULT played = driver.PerformJournal(journal, iJournal, error);
  frame->Commands().CancelActiveCommand();
  frame->SetReplayingUserInteraction(false);
  if (FAILED(played)) {
    std::cerr << "korvrc: " << error << '\n';
    return 1;
  }
  return SaveDocument(*document, target);
}
