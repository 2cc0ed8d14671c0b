#include "KORVrcElementAccess.h"

#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "featurestore/KORIRedrawEvent.h"
#include "interfaces/KORIVrcElement.h"

#include <array>

namespace KORVrcAccess {

KORSmartPtr<KORISpecAttrAccess> Attributes(KORBaseUnknown* iElement) {
  return KORQuery<KORISpecAttrAccess>(iElement);
}

KORSmartPtr<KORIVrcVisuRefreshOnElement> Refresh(KORBaseUnknown* iElement) {
  return KORQuery<KORIVrcVisuRefreshOnElement>(iElement);
}

void NotifyChange(KORBaseUnknown* iElement) {
  if (auto refresh = Refresh(iElement))
    KORIgnoreResult(refresh->NotifyChange(), KORVrcEventNotDelivered);
}

void Redraw(KORBaseUnknown* iElement) {
  if (auto redraw = KORQuery<KORIRedrawEvent>(iElement))
    KORIgnoreResult(redraw->Redraw(), KORVrcEventNotDelivered);
}

void TraceNoRefresh(const char* iKind) {
  KORVrcModelTrace().Printf("KORIVrcVisuRefreshOnElement interface NOT FOUND on %s", iKind);
}

HRESULT GetInteger(KORBaseUnknown* iElement, const char* iKey, int* oValue,
                   std::optional<int> iReadDefault) {
  if (!oValue)
    return E_FAIL;
  if (iReadDefault)
    *oValue = *iReadDefault;
  auto attributes = Attributes(iElement);
  return attributes ? attributes->GetInteger(iKey, *oValue) : E_FAIL;
}

HRESULT GetDouble(KORBaseUnknown* iElement, const char* iKey, double* oValue,
                  std::optional<double> iReadDefault) {
  if (!oValue)
    return E_FAIL;
  if (iReadDefault)
    *oValue = *iReadDefault;
  auto attributes = Attributes(iElement);
  return attributes ? attributes->GetDouble(iKey, *oValue) : E_FAIL;
}

HRESULT GetString(KORBaseUnknown* iElement, const char* iKey, KORUnicodeString& oValue) {
  auto attributes = Attributes(iElement);
  return attributes ? attributes->GetString(iKey, oValue) : E_FAIL;
}

HRESULT GetTransformation(KORBaseUnknown* iElement, const char* iKey,
                          KORMathTransformation& oValue) {
  auto attributes = Attributes(iElement);
  std::vector<double> coefficients;
  if (!attributes || FAILED(attributes->GetDoubles(iKey, coefficients)) ||
      coefficients.size() != 12)
    return E_FAIL;
  std::array<double, 12> coef;
  std::copy(coefficients.begin(), coefficients.end(), coef.begin());
  oValue.SetCoef(coef);
  return S_OK;
}

namespace {
HRESULT Notified(HRESULT iResult, KORBaseUnknown* iElement, Notify iNotify) {
  if (SUCCEEDED(iResult) && iNotify == Notify::Yes)
    NotifyChange(iElement);
  return iResult;
}
} // namespace

HRESULT SetInteger(KORBaseUnknown* iElement, const char* iKey, int iValue, Notify iNotify) {
  auto attributes = Attributes(iElement);
  return Notified(attributes ? attributes->SetInteger(iKey, iValue) : E_FAIL, iElement, iNotify);
}

HRESULT SetDouble(KORBaseUnknown* iElement, const char* iKey, double iValue, Notify iNotify) {
  auto attributes = Attributes(iElement);
  return Notified(attributes ? attributes->SetDouble(iKey, iValue) : E_FAIL, iElement, iNotify);
}

HRESULT SetString(KORBaseUnknown* iElement, const char* iKey, const KORUnicodeString& iValue,
                  Notify iNotify) {
  auto attributes = Attributes(iElement);
  return Notified(attributes ? attributes->SetString(iKey, iValue) : E_FAIL, iElement, iNotify);
}

HRESULT SetTransformation(KORBaseUnknown* iElement, const char* iKey,
                          const KORMathTransformation& iValue, Notify iNotify) {
  auto attributes = Attributes(iElement);
  std::array<double, 12> coef;
  iValue.GetCoef(coef);
  HRESULT result = attributes ? attributes->SetDoubles(iKey, {coef.begin(), coef.end()}) : E_FAIL;
  return Notified(result, iElement, iNotify);
}

HRESULT SetLink(KORBaseUnknown* iElement, const char* iKey, KORBaseUnknown* iTarget) {
  auto attributes = Attributes(iElement);
  if (!attributes)
    return E_FAIL;
  if (!iTarget)
    return attributes->SetLink(iKey, nullptr);
  auto feature = KORQuery<KORISpecObject>(iTarget);
  return feature ? attributes->SetLink(iKey, feature) : E_FAIL;
}

HRESULT GetList(KORBaseUnknown* iElement, const char* iKey, const KORIID& iIID,
                KORListValKORBaseUnknown_var** oList) {
  if (!oList)
    return E_FAIL;
  *oList = nullptr;
  auto attributes = Attributes(iElement);
  return attributes ? attributes->ListLinks(iKey, iIID, oList) : E_FAIL;
}

namespace {
void HookChild(KORBaseUnknown* iElement, KORBaseUnknown* iChild, const ChildHooking& iHooking) {
  if (auto refresh = Refresh(iChild)) {
    if (iHooking.hook == Hook::Father)
      KORIgnoreResult(refresh->ConnectWithFather(), KORVrcEventNotDelivered);
    else if (iHooking.hook == Hook::RootFather)
      KORIgnoreResult(refresh->ConnectWithRootFather(), KORVrcEventNotDelivered);
    if (iHooking.notifyCreate) {
      KORISpecObject_var father;
      auto child = KORQuery<KORISpecObject>(iChild);
      if (child && SUCCEEDED(child->GetFather(father.Out())))
        KORIgnoreResult(refresh->NotifyCreate(KORQuery<KORBaseUnknown>(father).get()),
                        KORVrcEventNotDelivered);
    }
  } else if (iHooking.hook != Hook::None || iHooking.notifyCreate) {
    TraceNoRefresh(iHooking.kind);
  }
  if (iHooking.redraw)
    Redraw(iElement);
}
} // namespace

HRESULT AddToList(KORBaseUnknown* iElement, const char* iKey, KORBaseUnknown* iChild,
                  const ChildHooking& iHooking) {
  auto attributes = Attributes(iElement);
  auto child = KORQuery<KORISpecObject>(iChild);
  if (!attributes || !child || FAILED(attributes->AppendLink(iKey, child)))
    return E_FAIL;
  HookChild(iElement, iChild, iHooking);
  return S_OK;
}

HRESULT SetAggregated(KORBaseUnknown* iElement, const char* iKey, KORBaseUnknown* iChild,
                      const ChildHooking& iHooking) {
  auto attributes = Attributes(iElement);
  auto child = KORQuery<KORISpecObject>(iChild);
  if (!attributes || !child || FAILED(attributes->SetLink(iKey, child)))
    return E_FAIL;
  HookChild(iElement, iChild, iHooking);
  return S_OK;
}

void RejoinEach(KORBaseUnknown* iElement, const char* iKey) {
  KORListValKORBaseUnknown_var* listed = nullptr;
  if (FAILED(GetList<KORIVrcElement>(iElement, iKey, &listed)))
    return;
  const KOROwnedList list(listed);
  for (const KORBaseUnknown_var& entry : *list) {
    if (auto refresh = Refresh(entry))
      KORIgnoreResult(refresh->ConnectWithFather(), KORVrcEventNotDelivered);
    KORIgnoreResult(KORQuery<KORIVrcElement>(entry)->Reconnect(), KORVrcEventNotDelivered);
  }
}

HRESULT RemoveFromList(KORBaseUnknown* iElement, const char* iKey, KORBaseUnknown* iChild) {
  if (!iChild)
    return E_FAIL;
  auto attributes = Attributes(iElement);
  auto child = KORQuery<KORISpecObject>(iChild);
  if (!attributes || !child)
    return E_FAIL;
  return attributes->RemoveLink(iKey, child);
}

} // namespace KORVrcAccess
