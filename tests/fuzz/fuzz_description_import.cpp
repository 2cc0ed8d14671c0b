// Feeds arbitrary bytes to the installation-description importer: the reader
// checks the text, then a new document is built from it through the element
// factory, as `korvrc import` does.
#include "KORFuzzModule.h"
#include "KORVrcDescriptionModel.h"
#include "featurestore/KORDocument.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  KORFuzzLoadModuleOnce();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* iData, std::size_t iSize) {
  const std::string text(reinterpret_cast<const char*>(iData), iSize);
  KORVrcDescription description;
  std::string error;
  if (!KORVrcReadDescription(text, KORVrcModelHasBestOffset, description, error))
    return 0;
  KORSmartPtr<KORDocument> document = KORDocument::Create();
  KORIVrcFactory_var factory = KORQuery<KORIVrcFactory>(document);
  if (!factory)
    std::abort();
  // A checked description that cannot be built is a finding: every rule the
  // builder relies on must have been checked by the reader.
  if (FAILED(KORVrcBuildDescription(description, factory, error))) {
    std::fprintf(stderr, "a checked description failed to build: %s\n", error.c_str());
    std::abort();
  }
  return 0;
}
