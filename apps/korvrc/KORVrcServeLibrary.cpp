#include "KORVrcServeLibrary.h"

#include "KORVrcCommands.h"

extern "C" __attribute__((visibility("default"))) int
KORVrcServeEntry(const KORVrcServeOptions* iOptions) {
  return KORVrcGuarded(iOptions->input, [&] { return KORVrcRunServe(*iOptions); });
}
