#include "system/KORModule.h"

#include "objectmodel/KORLateType.h"
#include "system/KORResource.h"
#include "system/KORTrace.h"

#include <dlfcn.h>
#include <filesystem>
#include <map>
#include <sstream>
#include <vector>

namespace {
std::map<std::string, void*>& LoadedModules() {
  static std::map<std::string, void*> modules;
  return modules;
}

std::vector<std::string> ModuleFolders() {
  std::vector<std::string> folders;
  if (const char* path = std::getenv("KOR_MODULE_PATH")) {
    std::stringstream list(path);
    for (std::string folder; std::getline(list, folder, ':');)
      if (!folder.empty())
        folders.push_back(folder);
  }
  folders.emplace_back(KOR_DEFAULT_MODULE_PATH);
  return folders;
}

// The module's resource folder as an absolute path (empty when it has none),
// or false with oError when the folder is not there.
bool ResolveResourceFolder(const KORModuleTable& iTable, const std::string& iLibraryPath,
                           std::string& oFolder, std::string& oError) {
  oFolder.clear();
  if (!iTable.resourceFolder || !*iTable.resourceFolder)
    return true;
  std::filesystem::path folder(iTable.resourceFolder);
  if (folder.is_relative())
    folder = std::filesystem::absolute(iLibraryPath).parent_path() / folder;
  folder = folder.lexically_normal();
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    oError = "its resource folder " + folder.string() + " does not exist";
    return false;
  }
  oFolder = folder.string();
  return true;
}

struct DragCondition {
  std::string lateType;
  KORDragCondition function;
};
// Of every loaded module, in load order.
std::vector<DragCondition>& DragConditions() {
  static std::vector<DragCondition> conditions;
  return conditions;
}

// The table's drag conditions as functions of the library, or false with
// oError naming the first one it does not export.
bool ResolveDragConditions(const KORModuleTable& iTable, void* iHandle,
                           std::vector<DragCondition>& oConditions, std::string& oError) {
  for (const KORDragConditionRow& row : iTable.dragConditions) {
    auto function = reinterpret_cast<KORDragCondition>(dlsym(iHandle, row.function));
    if (!function) {
      oError = "it exports no drag condition " + std::string(row.function) + " for " + row.lateType;
      return false;
    }
    oConditions.push_back({row.lateType, function});
  }
  return true;
}

// What a module offers besides its component map; registered last because
// it cannot fail.
void RegisterServices(const KORModuleTable& iTable, const std::string& iResourceFolder,
                      const std::vector<DragCondition>& iConditions) {
  DragConditions().insert(DragConditions().end(), iConditions.begin(), iConditions.end());
  for (const KORTraceModuleRow& row : iTable.traceModules)
    KORIgnoreResult(KORRegisterTraceModule({row.name, row.description, row.output}),
                    "a name another module registered first keeps its first description");
  if (!iResourceFolder.empty())
    KORAddResourceFolder(iResourceFolder);
}
} // namespace

HRESULT KORLoadModule(const std::string& iName, std::string& oError) {
  if (LoadedModules().count(iName))
    return S_OK;
  const std::string fileName = "lib" + iName + ".so";
  std::string looked;
  for (const std::string& folder : ModuleFolders()) {
    const std::string path = (std::filesystem::path(folder) / fileName).string();
    looked += "\n  " + path;
    if (!std::filesystem::exists(path))
      continue;
    // Functions are bound on first call: a run uses a small part of a module,
    // and binding all of them would cost every run. A module is linked with
    // every symbol resolved, so none is missing later.
    void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!handle) {
      oError = "cannot load module " + iName + " from " + path + ": " + dlerror();
      return E_FAIL;
    }
    auto entry = reinterpret_cast<KORModuleEntryFunction>(dlsym(handle, KOR_MODULE_ENTRY_SYMBOL));
    const KORModuleTable* table = entry ? entry() : nullptr;
    if (!table) {
      oError = "module " + iName + " (" + path + ") exports no " KOR_MODULE_ENTRY_SYMBOL;
      dlclose(handle);
      return E_FAIL;
    }
    std::string registrationError, resourceFolder;
    std::vector<DragCondition> conditions;
    if (!ResolveResourceFolder(*table, path, resourceFolder, registrationError) ||
        !ResolveDragConditions(*table, handle, conditions, registrationError) ||
        !KORExtensionDictionary::Get().Register(*table, registrationError)) {
      oError = "module " + iName + " cannot be registered: " + registrationError;
      dlclose(handle);
      return E_FAIL;
    }
    RegisterServices(*table, resourceFolder, conditions);
    // Modules stay loaded until the process ends: their tables are in use.
    LoadedModules()[iName] = handle;
    return S_OK;
  }
  oError = "module " + iName + " not found; looked for:" + looked;
  return E_FAIL;
}

void* KORFindModuleFunction(const std::string& iModule, const std::string& iSymbol,
                            std::string& oError) {
  auto found = LoadedModules().find(iModule);
  if (found == LoadedModules().end()) {
    oError = "module " + iModule + " is not loaded";
    return nullptr;
  }
  dlerror();
  void* function = dlsym(found->second, iSymbol.c_str());
  if (!function)
    oError = "module " + iModule + " exports no function " + iSymbol;
  return function;
}

KORDragCondition KORFindDragCondition(const KORLateType* iType) {
  // The nearest type first; for one type, the module loaded first.
  for (const KORLateType* type = iType; type; type = type->Parent())
    for (const DragCondition& condition : DragConditions())
      if (condition.lateType == type->Name())
        return condition.function;
  return nullptr;
}
