// Feeds arbitrary bytes to the document loader and its two JSON readers. A loaded document must
// then survive what a user does next with it: reading its configuration back as a description and
// writing it out, as `korvrc describe` does.
#include "KORFuzzModule.h"
#include "KORVrcDescriptionModel.h"
#include "featurestore/KORDocumentIO.h"
#include "featurestore/KORJsonTree.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  KORFuzzLoadModuleOnce();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* iData, std::size_t iSize) {
  KORSmartPtr<KORDocument> document;
  std::string error;
  const std::string_view text(reinterpret_cast<const char*>(iData), iSize);
  // The loader's quick reader may decline any text, but one it takes must
  // read as the full parser reads it.
  KORJsonTree quick, full;
  if (quick.ParsePlain(text) &&
      !(full.ParseChecked(text, error) && KORSameJson(quick.Root(), full.Root())))
    std::abort();
  if (FAILED(KORLoadDocumentText(text, "(fuzz input)", document, error)))
    return 0;
  KORIVrcFactory_var factory = KORQuery<KORIVrcFactory>(document);
  KORVrcDescription description;
  // Refusing what the description format cannot hold is a fine outcome;
  // crashing, leaking or reading out of bounds is not.
  if (factory && SUCCEEDED(KORVrcDescribe(factory, description, error)) &&
      KORVrcWriteDescription(description).empty())
    std::abort(); // a description always has at least its format member
  return 0;
}
