#include "KOREVrcJournalNaming.h"

#include "KORVrcElementAccess.h"
#include "featurestore/KORDocument.h"
#include "interfaces/KORIVrcButtonDevice.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcView.h"
#include "interfaces/KORIVrcWindow.h"

#include <algorithm>

namespace {
struct Kind {
  const char* name;
  const KORIID& interfaceId;
};
// A tracker is named through its station, so it is looked at before the rest.
const Kind kKinds[] = {
    {"tracker", KORIVrcTracker::IID},
    {"config", KORIVrcConfig::IID},
    {"ig", KORIVrcIG::IID},
    {"window", KORIVrcWindow::IID},
    {"view", KORIVrcView::IID},
    {"head", KORIVrcHead::IID},
    {"hand", KORIVrcHandDevice::IID},
    {"station", KORIVrcTrackingStation::IID},
    {"button", KORIVrcButtonDevice::IID},
};

KORUnicodeString NameOf(KORBaseUnknown* iElement) {
  KORUnicodeString name;
  if (FAILED(KORVrcAccess::GetString(iElement, "Name", name)))
    name.clear();
  return name;
}

// STATION/NUMBER for a tracker, the name for every other element.
KORUnicodeString NameInKind(const Kind& iKind, KORBaseUnknown* iElement) {
  if (&iKind.interfaceId != &KORIVrcTracker::IID)
    return NameOf(iElement);
  KORSmartPtr<KORIVrcTrackingStation> station;
  auto tracker = KORQuery<KORIVrcTracker>(iElement);
  if (tracker && FAILED(tracker->GetTrackingStation(station.Out())))
    station = nullptr;
  return (station ? NameOf(station) : KORUnicodeString()) + "/" + NameOf(iElement);
}

// The document's configuration container, or null (none is made).
KORSmartPtr<KORIContainer> FindVrcContainer(KORIDocument* iDocument) {
  KORBaseUnknown_var root;
  if (!iDocument || FAILED(iDocument->GetRootContainer(root.Out())))
    return {};
  auto compound = KORQuery<KORICompoundContainer>(root);
  KORListValKORBaseUnknown_var* listed = nullptr;
  if (!compound || FAILED(compound->ListContainers(KORIContainer::IID, &listed)))
    return {};
  const KOROwnedList containers(listed);
  for (const KORBaseUnknown_var& entry : *containers)
    if (auto container = KORQuery<KORIContainer>(entry);
        container && container->IsAKindOf("VrcContainer"))
      return container;
  return {};
}
} // namespace

HRESULT KOREVrcJournalNaming::FindElement(const KORUnicodeString& iName, KORPathElement& oPath,
                                          KORString& oError) {
  oPath = KORPathElement();
  const std::size_t colon = iName.find(':');
  if (colon == KORUnicodeString::npos) {
    oError = "\"" + iName + "\" names no element; write KIND:NAME";
    return E_FAIL;
  }
  const KORString kindName = iName.substr(0, colon);
  const KORUnicodeString name = iName.substr(colon + 1);
  const Kind* kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                  [&](const Kind& iKind) { return kindName == iKind.name; });
  if (kind == std::end(kKinds)) {
    oError = "unknown kind \"" + kindName +
             "\" (config, ig, window, view, head, hand, station, button, tracker)";
    return E_FAIL;
  }
  auto document = QueryImpl<KORIDocument>();
  KORSmartPtr<KORIContainer> container = FindVrcContainer(document.get());
  KORListValKORBaseUnknown_var* listed = nullptr;
  if (!container || FAILED(container->ListMembers(kind->interfaceId, &listed))) {
    oError = "the document holds no configuration";
    return E_FAIL;
  }
  const KOROwnedList members(listed);
  std::vector<KORBaseUnknown_var> found;
  for (const KORBaseUnknown_var& member : *members)
    if (auto feature = KORQuery<KORISpecObject>(member);
        feature && !feature->IsDeleted() && NameInKind(*kind, member) == name)
      found.push_back(member);
  if (found.size() != 1) {
    oError = found.empty() ? "no " + kindName + " named \"" + name + "\""
                           : std::to_string(found.size()) + " elements of kind " + kindName +
                                 " are named \"" + name + "\"; the name is ambiguous";
    return E_FAIL;
  }
  // From the document down: the container, then the element's fathers.
  std::vector<KORBaseUnknown_var> chain;
  for (auto feature = KORQuery<KORISpecObject>(found.front()); feature;) {
    chain.push_back(KORQuery<KORBaseUnknown>(feature));
    KORSmartPtr<KORISpecObject> father;
    if (FAILED(feature->GetFather(father.Out())))
      break;
    feature = father;
  }
  oPath.Append(document.get());
  oPath.Append(container.get());
  for (auto link = chain.rbegin(); link != chain.rend(); ++link)
    oPath.Append(link->get());
  return S_OK;
}

HRESULT KOREVrcJournalNaming::GetJournalName(KORBaseUnknown* iElement, KORUnicodeString& oName) {
  for (const Kind& kind : kKinds) {
    void* answered = nullptr;
    if (!iElement || FAILED(iElement->QueryInterface(kind.interfaceId, &answered)))
      continue;
    static_cast<KORBaseUnknown*>(answered)->Release();
    oName = KORString(kind.name) + ":" + NameInKind(kind, iElement);
    return S_OK;
  }
  return E_FAIL;
}

HRESULT KOREVrcJournalNaming::GetConfigurationIdentifier(KORUnicodeString& oID) {
  oID.clear();
  KORSmartPtr<KORIContainer> container = FindVrcContainer(QueryImpl<KORIDocument>().get());
  KORListValKORBaseUnknown_var* listed = nullptr;
  if (!container || FAILED(container->ListMembers(KORIVrcConfig::IID, &listed)))
    return E_FAIL;
  const KOROwnedList members(listed);
  for (const KORBaseUnknown_var& member : *members) {
    auto feature = KORQuery<KORISpecObject>(member);
    auto config = KORQuery<KORIVrcConfig>(member);
    KORUuid id;
    if (feature && !feature->IsDeleted() && config && SUCCEEDED(config->GetID(id))) {
      oID = id.ToText();
      return S_OK;
    }
  }
  return E_FAIL;
}
