#include "KOREVrcHead.h"

#include "KORVrcElementAccess.h"
#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "interfaces/KORIVrcTracker.h"

namespace {
using KORVrcAccess::Notify;
constexpr const char* kViewPointTracker = "ViewPointTracker";
} // namespace

HRESULT KOREVrcHead::GetIPD(double* oIPD) {
  KORVrcTraceScope scope("KOREVrcHead::GetIPD");
  return KORVrcAccess::GetDouble(GetImpl(), "IPD", oIPD);
}

HRESULT KOREVrcHead::SetIPD(double iIPD) {
  KORVrcTraceScope scope("KOREVrcHead::SetIPD");
  return KORVrcAccess::SetDouble(GetImpl(), "IPD", iIPD, Notify::Yes);
}

HRESULT KOREVrcHead::GetType(KORVrcHeadType* oType) {
  KORVrcTraceScope scope("KOREVrcHead::GetType");
  int type = 0;
  if (!oType || FAILED(KORVrcAccess::GetInteger(GetImpl(), "Type", &type)))
    return E_FAIL;
  *oType = static_cast<KORVrcHeadType>(type);
  return S_OK;
}

HRESULT KOREVrcHead::SetType(KORVrcHeadType iType) {
  KORVrcTraceScope scope("KOREVrcHead::SetType");
  return KORVrcAccess::SetInteger(GetImpl(), "Type", iType, Notify::No);
}

HRESULT KOREVrcHead::GetViewPointTracker(KORIVrcTracker** oTracker) {
  KORVrcTraceScope scope("KOREVrcHead::GetViewPointTracker");
  return KORVrcAccess::GetLink(GetImpl(), kViewPointTracker, oTracker);
}

HRESULT KOREVrcHead::SetViewPointTracker(KORIVrcTracker* iTracker) {
  KORVrcTraceScope scope("KOREVrcHead::SetViewPointTracker");
  KORIVrcTracker_var previous;
  if (SUCCEEDED(GetViewPointTracker(previous.Out())))
    if (auto refresh = KORVrcAccess::Refresh(previous))
      KORIgnoreResult(refresh->Deconnect(GetImpl()), KORVrcEventNotDelivered);
  return KORVrcAccess::SetLink(GetImpl(), kViewPointTracker, iTracker);
}
