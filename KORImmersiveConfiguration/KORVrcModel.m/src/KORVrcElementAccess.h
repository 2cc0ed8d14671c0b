#pragma once
// The accessor conventions shared by every element kind (see
// interfaces/KORIVrcElement.h), written once over the feature's attributes.
// Each helper takes the element (any interface of it) and a key.
#include "featurestore/KORIContainer.h"
#include "featurestore/KORISpecAttrAccess.h"
#include "featurestore/KORISpecObject.h"
#include "interfaces/KORIVrcVisuRefreshOnElement.h"
#include "math/KORMathTransformation.h"

#include <optional>

namespace KORVrcAccess {

KORSmartPtr<KORISpecAttrAccess> Attributes(KORBaseUnknown* iElement);
KORSmartPtr<KORIVrcVisuRefreshOnElement> Refresh(KORBaseUnknown* iElement);

// Raises a change notification when the element has a refresh interface.
void NotifyChange(KORBaseUnknown* iElement);
// Asks the host to redraw the element's node.
void Redraw(KORBaseUnknown* iElement);
// Writes "KORIVrcVisuRefreshOnElement interface NOT FOUND on <iKind>".
void TraceNoRefresh(const char* iKind);

// Value getters: a null output fails; a read default is written first.
HRESULT GetInteger(KORBaseUnknown* iElement, const char* iKey, int* oValue,
                   std::optional<int> iReadDefault = std::nullopt);
HRESULT GetDouble(KORBaseUnknown* iElement, const char* iKey, double* oValue,
                  std::optional<double> iReadDefault = std::nullopt);
HRESULT GetString(KORBaseUnknown* iElement, const char* iKey, KORUnicodeString& oValue);
HRESULT GetTransformation(KORBaseUnknown* iElement, const char* iKey,
                          KORMathTransformation& oValue);

enum class Notify { No, Yes };
HRESULT SetInteger(KORBaseUnknown* iElement, const char* iKey, int iValue, Notify iNotify);
HRESULT SetDouble(KORBaseUnknown* iElement, const char* iKey, double iValue, Notify iNotify);
HRESULT SetString(KORBaseUnknown* iElement, const char* iKey, const KORUnicodeString& iValue,
                  Notify iNotify);
HRESULT SetTransformation(KORBaseUnknown* iElement, const char* iKey,
                          const KORMathTransformation& iValue, Notify iNotify);

// The linked feature as interface I; fails without link or when it does not answer I.
template <class I> HRESULT GetLink(KORBaseUnknown* iElement, const char* iKey, I** oLinked) {
  if (!oLinked)
    return E_FAIL;
  *oLinked = nullptr;
  auto attributes = Attributes(iElement);
  KORISpecObject_var linked;
  if (!attributes || FAILED(attributes->GetLink(iKey, linked.Out())))
    return E_FAIL;
  return KORReturn(KORQuery<I>(linked), oLinked);
}
// Stores a link to iTarget's feature; a null target removes the link. Fails
// when iTarget is not a feature.
HRESULT SetLink(KORBaseUnknown* iElement, const char* iKey, KORBaseUnknown* iTarget);

// A new list of the listed features answering I, in list order.
HRESULT GetList(KORBaseUnknown* iElement, const char* iKey, const KORIID& iIID,
                KORListValKORBaseUnknown_var** oList);
template <class I>
HRESULT GetList(KORBaseUnknown* iElement, const char* iKey, KORListValKORBaseUnknown_var** oList) {
  return GetList(iElement, iKey, I::IID, oList);
}

// How a newly linked child joins its father's event chain.
enum class Hook { None, Father, RootFather };
struct ChildHooking {
  Hook hook = Hook::Father;
  bool notifyCreate = true;
  bool redraw = true;
  const char* kind = ""; // for the trace when the child has no refresh interface
};
// Appends iChild to list iKey, then hooks it as iHooking says.
HRESULT AddToList(KORBaseUnknown* iElement, const char* iKey, KORBaseUnknown* iChild,
                  const ChildHooking& iHooking);
// Stores iChild in the aggregating link iKey, then hooks it as iHooking says.
HRESULT SetAggregated(KORBaseUnknown* iElement, const char* iKey, KORBaseUnknown* iChild,
                      const ChildHooking& iHooking);
// After a load: each element listed under iKey joins its father's event chain
// again, then reconnects what lies below it.
void RejoinEach(KORBaseUnknown* iElement, const char* iKey);
// Removes iChild from list iKey; absent: no effect. Fails on null and on an
// element without attribute access or a child that is not a feature.
HRESULT RemoveFromList(KORBaseUnknown* iElement, const char* iKey, KORBaseUnknown* iChild);

// The father feature of the element, as interface I (null when none).
template <class I> KORSmartPtr<I> Father(KORBaseUnknown* iElement) {
  auto object = KORQuery<KORISpecObject>(iElement);
  KORISpecObject_var father;
  if (!object || FAILED(object->GetFather(father.Out())))
    return {};
  return KORQuery<I>(father);
}

// The first feature of the element's container that answers I, in creation
// order (the configuration root, for I = KORIVrcConfig); null when none.
template <class I> KORSmartPtr<I> FirstInContainer(KORBaseUnknown* iElement) {
  auto object = KORQuery<KORISpecObject>(iElement);
  KORIContainer_var container;
  void* first = nullptr;
  if (!object || FAILED(object->GetContainer(container.Out())) ||
      FAILED(container->FindFirstMember(I::IID, &first)))
    return {};
  return KORSmartPtr<I>::Adopt(static_cast<I*>(first));
}

} // namespace KORVrcAccess
