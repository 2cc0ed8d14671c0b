// Module libraries that must not load, each with one fault (chosen by the
// build): late types that derive from each other, a resource folder that
// does not exist, or a drag condition that the library does not export. Each
// names a trace module, which must not be registered.
#include "TestInterfaces.h"
#include "system/KORModule.h"

namespace {
#if defined(KOR_TEST_FAULT_LOOP)
const KORLateTypeRow kLateTypes[] = {{"BrokenFirst", "BrokenSecond"},
                                     {"BrokenSecond", "BrokenFirst"}};
const char* const kResourceFolder = ".";
const std::span<const KORDragConditionRow> kDragConditions;
#elif defined(KOR_TEST_FAULT_CONDITION)
const KORLateTypeRow kLateTypes[] = {{"BrokenConditionType", ""}};
const char* const kResourceFolder = ".";
const KORDragConditionRow kDragConditions[] = {{"BrokenConditionType", "NoSuchDragCondition"}};
#else
const KORLateTypeRow kLateTypes[] = {{"BrokenFolderType", ""}};
const char* const kResourceFolder = "no-such-resource-folder";
const std::span<const KORDragConditionRow> kDragConditions;
#endif
const KORTraceModuleRow kTraceModules[] = {{KOR_TEST_MODULE_NAME "Trace", "Broken", "STDERR"}};
const KORModuleTable kTable{KOR_TEST_MODULE_NAME, kLateTypes,      {}, {}, kTraceModules,
                            kResourceFolder,      kDragConditions};
} // namespace

extern "C" const KORModuleTable* KORModuleEntry() {
  return &kTable;
}
