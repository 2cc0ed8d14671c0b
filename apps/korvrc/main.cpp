// korvrc: the command-line host of the immersive configuration module.
#include "objectmodel/KORExtensionDictionary.h"
#include "objectmodel/KORModule.h"

#include <CLI/CLI.hpp>
#include <iostream>

namespace {
constexpr const char* kModuleName = "KORVrConfig";

int PrintVersion() {
  std::cout << "korvrc " << KOR_VERSION << " (host platform KORHost " << KOR_VERSION << ")\n";
  std::string error;
  if (FAILED(KORLoadModule(kModuleName, error))) {
    std::cerr << "korvrc: " << error << '\n';
    return 1;
  }
  std::cout << "module " << kModuleName << " loaded and registered\n";
  return 0;
}
} // namespace

int main(int argc, char** argv) {
  CLI::App app{"korvrc: describe, check and export immersive display configurations"};
  bool version = false;
  app.add_flag("--version", version, "print the version and check that the module loads");
  CLI11_PARSE(app, argc, argv);
  if (version)
    return PrintVersion();
  std::cout << app.help();
  return 0;
}
