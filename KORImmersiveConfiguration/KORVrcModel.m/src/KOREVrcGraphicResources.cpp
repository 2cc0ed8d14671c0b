#include "KOREVrcGraphicResources.h"

#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcWindow.h"

#include <memory>

using namespace KORVrcAccess;

HRESULT KOREVrcGraphicResources::Reconnect() {
  KORVrcTraceScope scope("KOREVrcGraphicResources::Reconnect");
  KORListValKORBaseUnknown_var* raw = nullptr;
  if (FAILED(GetIGs(&raw)))
    return S_OK;
  KOROwnedList igs(raw);
  for (const KORBaseUnknown_var& entry : *igs)
    if (auto ig = KORQuery<KORIVrcIG>(entry))
      KORIgnoreResult(ig->Reconnect(), KORVrcEventNotDelivered);
  return S_OK;
}

HRESULT KOREVrcGraphicResources::GetMainWindow(KORIVrcWindow** oWindow) {
  KORVrcTraceScope scope("KOREVrcGraphicResources::GetMainWindow");
  return GetLink(GetImpl(), "MainWindow", oWindow);
}

HRESULT KOREVrcGraphicResources::SetMainWindow(KORIVrcWindow* iWindow) {
  KORVrcTraceScope scope("KOREVrcGraphicResources::SetMainWindow");
  if (FAILED(SetLink(GetImpl(), "MainWindow", iWindow)))
    return E_FAIL;
  NotifyChange(GetImpl());
  Redraw(GetImpl());
  return S_OK;
}

HRESULT KOREVrcGraphicResources::GetIGs(KORListValKORBaseUnknown_var** oList) {
  KORVrcTraceScope scope("KOREVrcGraphicResources::GetIGs");
  return GetList<KORIVrcIG>(GetImpl(), "IGs", oList);
}

HRESULT KOREVrcGraphicResources::AddIG(KORIVrcIG* iIG) {
  KORVrcTraceScope scope("KOREVrcGraphicResources::AddIG");
  return AddToList(GetImpl(), "IGs", iIG,
                   {Hook::Father, /*notifyCreate=*/true, /*redraw=*/true, "VrcIG"});
}

HRESULT KOREVrcGraphicResources::RemoveIG(KORIVrcIG* iIG, unsigned char iPlainRemove) {
  KORVrcTraceScope scope("KOREVrcGraphicResources::RemoveIG");
  if (!iIG)
    return E_FAIL;
  if (iPlainRemove)
    return RemoveFromList(GetImpl(), "IGs", iIG);

  // The entry is emptied rather than removed. Emptying an aggregating entry
  // also forgets the generator's feature father, which DeconnectFromFather
  // needs to find the chain to leave: the generator leaves it first.
  auto attributes = Attributes(GetImpl());
  auto feature = KORQuery<KORISpecObject>(iIG);
  if (!attributes || !feature)
    return E_FAIL;
  int position = 0;
  if (FAILED(attributes->LocateLink("IGs", feature, position)))
    return E_FAIL;
  // A generator listed elsewhere keeps its father and its connections.
  if (position == 0)
    return S_OK;
  if (auto refresh = Refresh(iIG))
    KORIgnoreResult(refresh->DeconnectFromFather(), KORVrcEventNotDelivered);
  else
    TraceNoRefresh("VrcIG");
  const HRESULT emptied = attributes->EmptyPosition("IGs", position);
  Redraw(GetImpl());
  return emptied;
}
