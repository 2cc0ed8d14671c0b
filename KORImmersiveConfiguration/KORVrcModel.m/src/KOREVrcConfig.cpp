#include "KOREVrcConfig.h"

#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "featurestore/KORDocument.h"
#include "featurestore/KORILinkableObject.h"
#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORISpecObject.h"
#include "featurestore/KORITransactions.h"
#include "interfaces/KORIVrcDevices.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcGraphicSpecs.h"
#include "interfaces/KORIVrcRendering.h"

#include <algorithm>
#include <cctype>
#include <memory>

using namespace KORVrcAccess;

namespace {
// A branch is owned by the root: it joins the root's event chain through its
// feature father and announces itself there.
ChildHooking BranchHooking(const char* iKind) {
  return {Hook::Father, /*notifyCreate=*/true, /*redraw=*/true, iKind};
}

void ConnectWithRootFather(KORBaseUnknown* iElement) {
  if (auto refresh = Refresh(iElement))
    KORIgnoreResult(refresh->ConnectWithRootFather(), KORVrcEventNotDelivered);
}

// The events of the root of the configuration's feature tree: the
// configuration itself unless it hangs below another feature.
KORIModelEvents_var RootEvents(KORBaseUnknown* iConfig) {
  auto object = KORQuery<KORISpecObject>(iConfig);
  KORISpecObject_var root;
  if (object && SUCCEEDED(object->GetRootFather(root.Out())))
    return KORQuery<KORIModelEvents>(root);
  return KORQuery<KORIModelEvents>(iConfig);
}

// Connects each element of a list that a getter returned (and owns the list)
// to the root. The elements lie in the configuration's tree, so the root
// found once is theirs: their refresh extensions are not made to find it.
template <class Owner>
void ConnectEachWithRootFather(KORIModelEvents* iRoot, Owner* iOwner,
                               HRESULT (Owner::*iGetter)(KORListValKORBaseUnknown_var**)) {
  KORListValKORBaseUnknown_var* raw = nullptr;
  if (!iRoot || FAILED((iOwner->*iGetter)(&raw)))
    return;
  KOROwnedList elements(raw);
  for (const KORBaseUnknown_var& element : *elements)
    KORIgnoreResult(iRoot->ConnectTo(element), KORVrcEventNotDelivered);
}
} // namespace

HRESULT KOREVrcConfig::Reconnect() {
  KORVrcTraceScope scope("KOREVrcConfig::Reconnect");
  // Heads, views, hand devices and tracking stations hang their events on the
  // root directly, so that a change reaches the views of the host in one step;
  // each branch joins the root as well, for what lies below it.
  const KORIModelEvents_var root = RootEvents(GetImpl());
  KORIVrcGraphicSpecs_var specs;
  if (SUCCEEDED(GetGraphicSpecs(specs.Out()))) {
    ConnectWithRootFather(specs);
    ConnectEachWithRootFather(root.get(), specs.get(), &KORIVrcGraphicSpecs::GetHeads);
    ConnectEachWithRootFather(root.get(), specs.get(), &KORIVrcGraphicSpecs::GetViews);
    KORIgnoreResult(specs->Reconnect(), KORVrcEventNotDelivered);
  }
  KORIVrcGraphicResources_var resources;
  if (SUCCEEDED(GetGraphicResources(resources.Out()))) {
    ConnectWithRootFather(resources);
    KORIgnoreResult(resources->Reconnect(), KORVrcEventNotDelivered);
  }
  KORIVrcDevices_var devices;
  if (SUCCEEDED(GetDevices(devices.Out()))) {
    ConnectWithRootFather(devices);
    ConnectEachWithRootFather(root.get(), devices.get(), &KORIVrcDevices::GetHandDevices);
    ConnectEachWithRootFather(root.get(), devices.get(), &KORIVrcDevices::GetTrackingStations);
    KORIgnoreResult(devices->Reconnect(), KORVrcEventNotDelivered);
  }
  return S_OK;
}

HRESULT KOREVrcConfig::SetGraphicResources(KORIVrcGraphicResources* iGraphicResources) {
  KORVrcTraceScope scope("KOREVrcConfig::SetGraphicResources");
  return SetAggregated(GetImpl(), "GraphicResources", iGraphicResources,
                       BranchHooking("VrcGraphicResources"));
}

HRESULT KOREVrcConfig::GetGraphicResources(KORIVrcGraphicResources** oGraphicResources) {
  KORVrcTraceScope scope("KOREVrcConfig::GetGraphicResources");
  return GetLink(GetImpl(), "GraphicResources", oGraphicResources);
}

HRESULT KOREVrcConfig::SetGraphicSpecs(KORIVrcGraphicSpecs* iGraphicSpecs) {
  KORVrcTraceScope scope("KOREVrcConfig::SetGraphicSpecs");
  return SetAggregated(GetImpl(), "GraphicSpecs", iGraphicSpecs, BranchHooking("VrcGraphicSpecs"));
}

HRESULT KOREVrcConfig::GetGraphicSpecs(KORIVrcGraphicSpecs** oGraphicSpecs) {
  KORVrcTraceScope scope("KOREVrcConfig::GetGraphicSpecs");
  return GetLink(GetImpl(), "GraphicSpecs", oGraphicSpecs);
}

HRESULT KOREVrcConfig::SetDevices(KORIVrcDevices* iDevices) {
  KORVrcTraceScope scope("KOREVrcConfig::SetDevices");
  return SetAggregated(GetImpl(), "Devices", iDevices, BranchHooking("VrcDevices"));
}

HRESULT KOREVrcConfig::GetDevices(KORIVrcDevices** oDevices) {
  KORVrcTraceScope scope("KOREVrcConfig::GetDevices");
  return GetLink(GetImpl(), "Devices", oDevices);
}

HRESULT KOREVrcConfig::GetRenderings(KORListValKORBaseUnknown_var** oList) {
  KORVrcTraceScope scope("KOREVrcConfig::GetRenderings");
  return GetList<KORIVrcRendering>(GetImpl(), "Renderings", oList);
}

HRESULT KOREVrcConfig::AddRendering(KORIVrcRendering* iRendering) {
  KORVrcTraceScope scope("KOREVrcConfig::AddRendering");
  return AddToList(GetImpl(), "Renderings", iRendering,
                   {Hook::Father, /*notifyCreate=*/true, /*redraw=*/true, "VrcRendering"});
}

HRESULT KOREVrcConfig::RemoveRendering(KORIVrcRendering* iRendering) {
  KORVrcTraceScope scope("KOREVrcConfig::RemoveRendering");
  return RemoveFromList(GetImpl(), "Renderings", iRendering);
}

HRESULT KOREVrcConfig::GetID(KORUuid& oID) {
  KORVrcTraceScope scope("KOREVrcConfig::GetID");
  KORUnicodeString text;
  if (FAILED(GetString(GetImpl(), "ConfigID", text)))
    return E_FAIL;
  // The identifier is made on first demand; reading it back keeps the stored
  // text the one source of truth.
  if (text.empty() && (FAILED(MakeID()) || FAILED(GetString(GetImpl(), "ConfigID", text))))
    return E_FAIL;
  // Identifiers written by other tools may spell the digits in upper case.
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char iChar) { return static_cast<char>(std::tolower(iChar)); });
  KORUuid id;
  if (!KORUuid::FromText(text, id))
    return E_FAIL;
  oID = id;
  return S_OK;
}

HRESULT KOREVrcConfig::MakeID() {
  // A write outside a transaction would end the document's undo history. The
  // identifier names the state the user's last edit left, so it joins that
  // edit's transaction: undo then takes back the edit, not just the
  // identifier. Inside an open transaction it simply belongs to it.
  auto linkable = QueryImpl<KORILinkableObject>();
  auto history = KORQuery<KORITransactions>(linkable ? linkable->GetDocument() : nullptr);
  if (!history || history->GetTransactionDepth() > 0 || history->GetUndoCount() == 0)
    return SetID(KORUuid::Generate());
  if (FAILED(history->OpenTransaction()))
    return E_FAIL;
  if (FAILED(SetID(KORUuid::Generate()))) {
    KORIgnoreResult(history->AbortTransaction(), "nothing was written to take back");
    return E_FAIL;
  }
  if (FAILED(history->CommitTransaction()))
    return E_FAIL;
  return history->JoinLastTransactions(2);
}

HRESULT KOREVrcConfig::SetID(KORUuid iID) {
  KORVrcTraceScope scope("KOREVrcConfig::SetID");
  if (!FindIDAttribute())
    return E_FAIL;
  iID.WriteText(_idText);
  return _attributes->SetStringAt(_idIndex, _idText);
}

HRESULT KOREVrcConfig::RenewID() {
  KORVrcTraceScope scope("KOREVrcConfig::RenewID");
  if (!FindIDAttribute())
    return E_FAIL;
  return _attributes->RenewStringAt(
      _idIndex, [](KORUnicodeString& oText) { KORUuid::Generate().WriteText(oText); });
}

bool KOREVrcConfig::FindIDAttribute() {
  if (!_attributes) {
    _attributes = Attributes(GetImpl()).get();
    _idIndex = _attributes ? _attributes->GetAttributeIndex("ConfigID") : -1;
  }
  return _attributes != nullptr;
}
