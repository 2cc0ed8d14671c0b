#pragma once
// What every harness does once per process: load the configuration module,
// as the command line does, so that documents answer the element factory and
// the module's feature catalog is found.
#include "system/KORModule.h"

#include <cstdio>
#include <cstdlib>
#include <string>

inline void KORFuzzLoadModuleOnce() {
  [[maybe_unused]] static const bool loaded = [] {
    std::string error;
    if (FAILED(KORLoadModule("KORVrConfig", error))) {
      std::fprintf(stderr, "cannot load the configuration module: %s\n", error.c_str());
      std::abort();
    }
    return true;
  }();
}
