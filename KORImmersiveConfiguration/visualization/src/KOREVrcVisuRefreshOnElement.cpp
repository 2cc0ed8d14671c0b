#include "KOREVrcVisuRefreshOnElement.h"

#include "KORVrcTrace.h"
#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORISpecObject.h"

namespace {
const KORTrace& ViewTrace() {
  static const KORTrace trace(KORVrcViewTraceName);
  return trace;
}

HRESULT Dispatch(KORBaseUnknown* iElement, KORNotification& iNotification) {
  auto events = KORQuery<KORIModelEvents>(iElement);
  return events ? events->Dispatch(iNotification) : E_FAIL;
}

enum class Relative { Father, RootFather };
KORISpecObject_var RelativeOf(KORBaseUnknown* iElement, Relative iRelative) {
  KORISpecObject_var relative;
  auto object = KORQuery<KORISpecObject>(iElement);
  if (!object)
    return relative;
  HRESULT found = iRelative == Relative::Father ? object->GetFather(relative.Out())
                                                : object->GetRootFather(relative.Out());
  // A failed look-up is reported as no relative, whatever it left behind.
  return SUCCEEDED(found) ? relative : KORISpecObject_var();
}
} // namespace

HRESULT KOREVrcVisuRefreshOnElement::NotifyChange() {
  KORModify changed(GetImpl(), /*iMode=*/1);
  return Dispatch(GetImpl(), changed);
}

HRESULT KOREVrcVisuRefreshOnElement::NotifyCreate(KORBaseUnknown* iFather) {
  KORCreate created(GetImpl(), iFather, /*iMode=*/0);
  HRESULT result = Dispatch(GetImpl(), created);
  // The father's listeners learn of the new element even when the element is
  // not connected to its father for events (heads, devices): the creation is
  // handed to the father unless the dispatch already reached it.
  auto identity = KORQuery<KORBaseUnknown>(iFather);
  auto fatherEvents = KORQuery<KORIModelEvents>(iFather);
  if (fatherEvents && created.MarkReached(identity.get())) {
    HRESULT received = fatherEvents->Receive(created);
    if (SUCCEEDED(result) && FAILED(received))
      result = received;
  }
  return result;
}

HRESULT KOREVrcVisuRefreshOnElement::NotifyDelete() {
  KORDelete deleted(GetImpl());
  return Dispatch(GetImpl(), deleted);
}

HRESULT KOREVrcVisuRefreshOnElement::Connect(KORBaseUnknown* iFather) {
  if (!iFather)
    return E_FAIL;
  auto fatherEvents = KORQuery<KORIModelEvents>(iFather);
  if (!fatherEvents) {
    ViewTrace().Write("Connect : father does not implement KORIModelEvents");
    return E_FAIL;
  }
  return SUCCEEDED(fatherEvents->ConnectTo(GetImpl())) ? S_OK : E_FAIL;
}

HRESULT KOREVrcVisuRefreshOnElement::Deconnect(KORBaseUnknown* iFather) {
  if (!iFather)
    return E_FAIL;
  auto fatherEvents = KORQuery<KORIModelEvents>(iFather);
  if (!fatherEvents) {
    ViewTrace().Write("Deconnect : father does not implement KORIModelEvents");
    return E_FAIL;
  }
  return SUCCEEDED(fatherEvents->DeconnectFrom(GetImpl())) ? S_OK : E_FAIL;
}

HRESULT KOREVrcVisuRefreshOnElement::ConnectWithFather() {
  auto father = RelativeOf(GetImpl(), Relative::Father);
  if (!father) {
    ViewTrace().Write("ConnectWithFather : No father");
    return E_FAIL;
  }
  return Connect(father);
}

HRESULT KOREVrcVisuRefreshOnElement::DeconnectFromFather() {
  auto father = RelativeOf(GetImpl(), Relative::Father);
  if (!father) {
    ViewTrace().Write("DeconnectFromFather : No father");
    return E_FAIL;
  }
  return Deconnect(father);
}

HRESULT KOREVrcVisuRefreshOnElement::ConnectWithRootFather() {
  auto root = RelativeOf(GetImpl(), Relative::RootFather);
  if (!root) {
    ViewTrace().Write("ConnectWithRootFather : No father");
    return S_OK;
  }
  return Connect(root);
}

HRESULT KOREVrcVisuRefreshOnElement::DeconnectFromRootFather() {
  auto root = RelativeOf(GetImpl(), Relative::RootFather);
  if (!root) {
    ViewTrace().Write("DeconnectFromRootFather : No father");
    return S_OK;
  }
  return Deconnect(root);
}
