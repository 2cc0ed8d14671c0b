#include "KOREVrcRenderingSpec.h"

#include "KORVrcTrace.h"

using namespace KORVrcAccess;

HRESULT KOREVrcRenderingSpec::GetRenderingMode(KORVrcRenderingMode* oMode) {
  KORVrcTraceScope scope("KOREVrcRenderingSpec::GetRenderingMode");
  int mode = 0;
  if (!oMode || FAILED(GetInteger(GetImpl(), "Mode", &mode)))
    return E_FAIL;
  *oMode = static_cast<KORVrcRenderingMode>(mode);
  return S_OK;
}

HRESULT KOREVrcRenderingSpec::SetRenderingMode(KORVrcRenderingMode iMode) {
  KORVrcTraceScope scope("KOREVrcRenderingSpec::SetRenderingMode");
  return SetInteger(GetImpl(), "Mode", iMode, Notify::Yes);
}

HRESULT KOREVrcRenderingSpec::GetMirrorMode(KORVrcMirrorMode* oMode) {
  KORVrcTraceScope scope("KOREVrcRenderingSpec::GetMirrorMode");
  if (!oMode)
    return E_FAIL;
  int mode = KORVrcMirrorNone;
  const HRESULT result = GetInteger(GetImpl(), "MirrorMode", &mode, KORVrcMirrorNone);
  *oMode = static_cast<KORVrcMirrorMode>(mode);
  return result;
}

HRESULT KOREVrcRenderingSpec::SetMirrorMode(KORVrcMirrorMode iMode) {
  KORVrcTraceScope scope("KOREVrcRenderingSpec::SetMirrorMode");
  return SetInteger(GetImpl(), "MirrorMode", iMode, Notify::Yes);
}
