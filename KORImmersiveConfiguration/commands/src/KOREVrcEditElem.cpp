#include "KOREVrcEditElem.h"

#include "KORVrcControllerTrace.h"
#include "command/KORCommandHeader.h"
#include "interfaces/KORIVrcButtonDevice.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcView.h"
#include "interfaces/KORIVrcWindow.h"

namespace {
// Starts header iHeaderId with the element as interface I; false when the
// element does not answer I.
template <class I> bool StartAs(KORBaseUnknown* iElement, const char* iHeaderId) {
  KORSmartPtr<I> element = KORQuery<I>(iElement);
  if (!element)
    return false;
  if (KORCommandHeader* header = KORCommandHeader::GetHeaderFromList(iHeaderId)) {
    header->SetArgument(element.get());
    KORString error;
    // A header that cannot make its command tells the user itself; one that
    // is unavailable starts nothing, as its button would.
    if (FAILED(header->StartCommand(error)))
      KORVrcControllerTrace().Printf("KOREVrcEditElem::Activate: %s", error.c_str());
    header->SetArgument(nullptr);
  }
  return true;
}

using KORVrcEditStarter = bool (*)(KORBaseUnknown*, const char*);

// The first kind the element answers, in this order, decides.
const std::pair<KORVrcEditStarter, const char*> kEditHeaders[] = {
    {&StartAs<KORIVrcView>, "KORVrcViewCmdHdr"},
    {&StartAs<KORIVrcIG>, "KORVrcIGCmdHdr"},
    {&StartAs<KORIVrcHead>, "KORVrcHeadEdtCmdHdr"},
    {&StartAs<KORIVrcWindow>, "KORVrcWindowCmdHdr"},
    {&StartAs<KORIVrcConfig>, "KORVrcConfigCmdHdr"},
    {&StartAs<KORIVrcTrackingStation>, "KORVrcTrackingStationCmdHdr"},
    {&StartAs<KORIVrcButtonDevice>, "KORVrcButtonDeviceCmdHdr"},
    {&StartAs<KORIVrcTracker>, "KORVrcTrackerCmdHdr"},
    {&StartAs<KORIVrcHandDevice>, "KORVrcHandDeviceCmdHdr"},
};
} // namespace

KORCommand* KOREVrcEditElem::Activate(KORPathElement*) {
  KORBaseUnknown* element = GetImpl();
  for (const auto& [start, headerId] : kEditHeaders)
    if (start(element, headerId))
      break;
  return nullptr;
}
