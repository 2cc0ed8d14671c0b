// A module library for the header tests: it exports a creation function that
// makes nothing, which a header naming it must report cleanly.
#include "command/KORCommand.h"
#include "system/KORModule.h"

namespace {
const KORModuleTable kTable{"KORTestCmdModule", {}, {}, {}};
} // namespace

extern "C" const KORModuleTable* KORModuleEntry() {
  return &kTable;
}
extern "C" KORCommand* fctCreateNullCmd(void*) {
  return nullptr;
}
