#pragma once
// What screen views and camera views share: the head whose eyes the view uses,
// written once. Each view extension derives from KORAdapterVrcView<its
// interface>. RelinkConnected is the pattern of every link whose target's
// events must reach the view: a moved head, a moved projection area.
#include "KORAdapterVrcName.h"
#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "interfaces/KORIVrcHead.h"

template <class ViewInterface> class KORAdapterVrcView : public KORAdapterVrcName<ViewInterface> {
public:
  HRESULT GetHead(KORIVrcHead** oHead) override {
    KORVrcTraceScope scope("KORAdapterVrcView::GetHead");
    return KORVrcAccess::GetLink(this->GetImpl(), "Head", oHead);
  }
  HRESULT SetHead(KORIVrcHead* iHead) override {
    KORVrcTraceScope scope("KORAdapterVrcView::SetHead");
    return RelinkConnected("Head", iHead, "VrcHead");
  }

protected:
  // Links iTarget under iKey and moves the event connection with it: the
  // previous target stops reaching this view, the new one reaches it; then the
  // view notifies its change. A null target or one that is not a feature fails
  // and changes nothing. A target without refresh interface is traced as iKind
  // and does not stop the call.
  HRESULT RelinkConnected(const char* iKey, KORBaseUnknown* iTarget, const char* iKind) {
    KORBaseUnknown* view = this->GetImpl();
    auto attributes = KORVrcAccess::Attributes(view);
    if (!iTarget || !attributes || !KORQuery<KORISpecObject>(iTarget))
      return E_FAIL;
    KORISpecObject_var previous;
    if (SUCCEEDED(attributes->GetLink(iKey, previous.Out())))
      ApplyConnection(previous, &KORIVrcVisuRefreshOnElement::Deconnect, view, iKind);
    if (FAILED(KORVrcAccess::SetLink(view, iKey, iTarget)))
      return E_FAIL;
    ApplyConnection(iTarget, &KORIVrcVisuRefreshOnElement::Connect, view, iKind);
    KORVrcAccess::NotifyChange(view);
    return S_OK;
  }

private:
  using ConnectionOperation = HRESULT (KORIVrcVisuRefreshOnElement::*)(KORBaseUnknown*);
  static void ApplyConnection(KORBaseUnknown* iTarget, ConnectionOperation iOperation,
                              KORBaseUnknown* iView, const char* iKind) {
    if (auto refresh = KORVrcAccess::Refresh(iTarget))
      KORIgnoreResult((refresh.get()->*iOperation)(iView), KORVrcEventNotDelivered);
    else
      KORVrcAccess::TraceNoRefresh(iKind);
  }
};
