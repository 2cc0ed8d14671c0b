#include "KOREVrcDecomposition.h"

#include "KORVrcTrace.h"
#include "interfaces/KORIVrcRegion.h"

namespace {
using KORVrcAccess::Notify;
constexpr const char* kType = "Type";
constexpr const char* kOptions = "Options";
constexpr const char* kRegions = "Regions";
} // namespace

HRESULT KOREVrcDecomposition::Reconnect() {
  KORVrcTraceScope scope("KOREVrcDecomposition::Reconnect");
  return S_OK;
}

HRESULT KOREVrcDecomposition::GetType(KORVrcDecompositionType* oType) {
  KORVrcTraceScope scope("KOREVrcDecomposition::GetType");
  return KORVrcAccess::GetInteger(GetImpl(), kType, oType);
}

HRESULT KOREVrcDecomposition::SetType(KORVrcDecompositionType iType) {
  KORVrcTraceScope scope("KOREVrcDecomposition::SetType");
  return KORVrcAccess::SetInteger(GetImpl(), kType, iType, Notify::Yes);
}

HRESULT KOREVrcDecomposition::GetOptions(KORRawCollint* oOptions) {
  KORVrcTraceScope scope("KOREVrcDecomposition::GetOptions");
  if (!oOptions)
    return E_FAIL;
  oOptions->RemoveAll();
  // No stored options is an empty set of options, not a failure.
  if (auto attributes = KORVrcAccess::Attributes(GetImpl());
      attributes && FAILED(attributes->GetIntegers(kOptions, *oOptions)))
    oOptions->RemoveAll();
  return S_OK;
}

HRESULT KOREVrcDecomposition::SetOptions(KORRawCollint iOptions) {
  KORVrcTraceScope scope("KOREVrcDecomposition::SetOptions");
  auto attributes = KORVrcAccess::Attributes(GetImpl());
  return attributes ? attributes->SetIntegers(kOptions, iOptions) : E_FAIL;
}

HRESULT KOREVrcDecomposition::AddRegion(KORIVrcRegion* iRegion) {
  KORVrcTraceScope scope("KOREVrcDecomposition::AddRegion");
  // A reference list: the region stays where it is in the event chain.
  return KORVrcAccess::AddToList(
      GetImpl(), kRegions, iRegion,
      KORVrcAccess::ChildHooking{KORVrcAccess::Hook::None, false, false, "VrcRegion"});
}

HRESULT KOREVrcDecomposition::RemoveRegion(KORIVrcRegion* iRegion) {
  KORVrcTraceScope scope("KOREVrcDecomposition::RemoveRegion");
  return KORVrcAccess::RemoveFromList(GetImpl(), kRegions, iRegion);
}

HRESULT KOREVrcDecomposition::ListRegions(KORListValKORBaseUnknown_var** oList) {
  KORVrcTraceScope scope("KOREVrcDecomposition::ListRegions");
  return KORVrcAccess::GetList<KORIVrcRegion>(GetImpl(), kRegions, oList);
}
