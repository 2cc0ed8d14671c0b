// Module libraries that must not load, each with one fault (chosen by the
// build): late types that derive from each other, or a resource folder that
// does not exist. Both name a trace module, which must not be registered.
#include "TestInterfaces.h"
#include "system/KORModule.h"

namespace {
#if defined(KOR_TEST_FAULT_LOOP)
const KORLateTypeRow kLateTypes[] = {{"BrokenFirst", "BrokenSecond"},
                                     {"BrokenSecond", "BrokenFirst"}};
const char* const kResourceFolder = ".";
#else
const KORLateTypeRow kLateTypes[] = {{"BrokenFolderType", ""}};
const char* const kResourceFolder = "no-such-resource-folder";
#endif
const KORTraceModuleRow kTraceModules[] = {{KOR_TEST_MODULE_NAME "Trace", "Broken", "STDERR"}};
const KORModuleTable kTable{KOR_TEST_MODULE_NAME, kLateTypes,     {}, {},
                            kTraceModules,        kResourceFolder};
} // namespace

extern "C" const KORModuleTable* KORModuleEntry() {
  return &kTable;
}
