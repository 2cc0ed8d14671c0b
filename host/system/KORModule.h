#pragma once
// Loading of module libraries. A module named N is the shared library libN.so,
// searched in the folders of the environment variable KOR_MODULE_PATH
// (':'-separated) and then in the build's module folder. It exports
//   extern "C" const KORModuleTable* KORModuleEntry();
// whose table the host registers: its component map in the extension
// dictionary, its trace modules in the trace registry and its resource folder
// in the resource lookup, and the drag conditions it declares. It may export any number of functions that the host
// finds by name (KORFindModuleFunction).
#include "objectmodel/KORExtensionDictionary.h"

#include <string>

// The symbol every module exports.
#define KOR_MODULE_ENTRY_SYMBOL "KORModuleEntry"
using KORModuleEntryFunction = const KORModuleTable* (*)();

// Loads module iName once per process and registers its table; loading it
// again does nothing. On failure oError says what is missing and where it was
// looked for, and nothing of the module is registered.
[[nodiscard]] HRESULT KORLoadModule(const std::string& iName, std::string& oError);
// The address of function iSymbol exported by the loaded module iModule, or
// null with oError set.
[[nodiscard]] void* KORFindModuleFunction(const std::string& iModule, const std::string& iSymbol,
                                          std::string& oError);

class KORLateType;
// Whether the 3D manipulator may drag iObject: a module's exported function,
// declared for a late type in its table (KORDragConditionRow).
using KORDragCondition = bool (*)(KORBaseUnknown* iObject);
// The drag condition a loaded module declared for iType or for its nearest
// ancestor that has one; null when none has.
KORDragCondition KORFindDragCondition(const KORLateType* iType);
