#include "KOREVrcInit.h"

#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "featurestore/KORDocument.h"
#include "featurestore/KORILinkableObject.h"
#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORISpecObject.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcElement.h"
#include "interfaces/KORIVrcIG.h"

#include <memory>

namespace {
// A value the migration cannot set keeps what the older release stored.
constexpr char kMigrationKeeps[] = "the element keeps its stored value";

// The container's members answering I, in the host's order.
template <class I> KOROwnedList Members(KORIContainer* iContainer) {
  KORListValKORBaseUnknown_var* list = nullptr;
  if (FAILED(iContainer->ListMembers(I::IID, &list)))
    return std::make_unique<KORListValKORBaseUnknown_var>();
  return KOROwnedList(list);
}

int StoredVersion(const KORListValKORUnicodeString& iFlags) {
  if (iFlags.Locate("Vrc J6R14"))
    return 14;
  if (iFlags.Locate("Vrc J6R12"))
    return 12;
  return 10;
}
} // namespace

void KOREVrcInit::Init(bool /*iDestroyExistingData*/) {
  KORVrcTraceScope scope("KOREVrcInit::Init");
  auto container = QueryImpl<KORIContainer>();
  auto events = QueryImpl<KORIModelEvents>();
  if (!container || !events)
    return;
  const bool configurationContainer = container->IsAKindOf("VrcContainer");
  auto linkable = QueryImpl<KORILinkableObject>();
  KORDocument* document = linkable ? linkable->GetDocument() : nullptr;
  if (configurationContainer && document) {
    Migrate(document);
    KORBaseUnknown_var root;
    if (SUCCEEDED(document->GetRootContainer(root.Out())))
      if (auto rootEvents = KORQuery<KORIModelEvents>(root))
        KORIgnoreResult(rootEvents->ConnectTo(GetImpl()), KORVrcEventNotDelivered);
  }
  const auto elements = Members<KORIVrcElement>(container);
  for (const KORBaseUnknown_var& element : *elements) {
    // Every element passes its events to the container, as its refresh
    // extension's Connect would make it do; asking the container directly
    // spares making that extension for each element of a large document.
    KORIgnoreResult(events->ConnectTo(element), KORVrcEventNotDelivered);
    if (KORQuery<KORIVrcConfig>(element))
      KORIgnoreResult(KORQuery<KORIVrcElement>(element)->Reconnect(), KORVrcEventNotDelivered);
  }
  if (configurationContainer)
    KORIgnoreResult(container->SpecBindNativeFormat("VrcContainer"),
                    "binding a format to a loaded container does not fail");
}

KORBaseUnknown* KOREVrcInit::GetRootContainer(const char* /*iInterfaceID*/) {
  return nullptr;
}

void KOREVrcInit::Migrate(KORDocument* /*iDocument*/) {
  KORVrcTraceScope scope("KOREVrcInit::Migrate");
  auto stored = QueryImpl<KORIStoredProjectFlag>();
  auto container = QueryImpl<KORIContainer>();
  if (!stored || !container)
    return;
  // No stored flags is the oldest version.
  KORListValKORUnicodeString flags;
  if (FAILED(stored->GetStoredFlags(flags)))
    flags.RemoveAll();
  const int version = StoredVersion(flags);
  if (version < 12) {
    const auto elements = Members<KORIVrcElement>(container);
    for (const KORBaseUnknown_var& entry : *elements) {
      // Our store keeps a feature name only for features named when they were
      // made; an element without one keeps its "Name".
      KORUnicodeString featureName;
      auto feature = KORQuery<KORISpecObject>(entry);
      if (feature && SUCCEEDED(feature->GetFeatureName(featureName)) && !featureName.empty())
        KORIgnoreResult(KORQuery<KORIVrcElement>(entry)->SetName(featureName), kMigrationKeeps);
    }
  }
  if (version < 14) {
    const auto igs = Members<KORIVrcIG>(container);
    for (const KORBaseUnknown_var& entry : *igs) {
      auto ig = KORQuery<KORIVrcIG>(entry);
      KORIgnoreResult(ig->SetPixelWidth(1024), kMigrationKeeps);
      KORIgnoreResult(ig->SetPixelHeight(768), kMigrationKeeps);
    }
  }
}
