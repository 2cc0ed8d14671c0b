#include "KOREVrc3DCompassSnap.h"

#include "KORVrcControllerTrace.h"
#include "KORVrcTools.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"

#define KORVRC_SNAP_SIGNATURE(Class)                                                               \
  #Class "::Snap(KORPathElement *  iPath, KORMathDirection *  iEyeDirection, KORMathAxis *  "       \
         "ioTargetAxis, int *  ioTargetDimension)"

HRESULT KOREVrc3DCompassSnap::Snap(KORPathElement*, KORMathDirection*, KORMathAxis* ioTargetAxis,
                                   int*) {
  KORVrcTraceScope scope(KORVrcControllerTrace(), _traceSignature);
  if (!ioTargetAxis)
    return S_OK;
  KORMathTransformation frame;
  if (!ReadFrame(frame))
    return E_FAIL;
  *ioTargetAxis = KORMathAxis(frame);
  return S_OK;
}

KOREVrc3DCompassSnapOnTrackingStation::KOREVrc3DCompassSnapOnTrackingStation()
    : KOREVrc3DCompassSnap(KORVRC_SNAP_SIGNATURE(KOREVrc3DCompassSnapOnTrackingStation)) {}

bool KOREVrc3DCompassSnapOnTrackingStation::ReadFrame(KORMathTransformation& oFrame) {
  auto station = QueryImpl<KORIVrcTrackingStation>();
  return station && SUCCEEDED(station->GetRef(oFrame));
}

KOREVrc3DCompassSnapOnTracker::KOREVrc3DCompassSnapOnTracker()
    : KOREVrc3DCompassSnap(KORVRC_SNAP_SIGNATURE(KOREVrc3DCompassSnapOnTracker)) {}

bool KOREVrc3DCompassSnapOnTracker::ReadFrame(KORMathTransformation& oFrame) {
  auto tracker = QueryImpl<KORIVrcTracker>();
  KORMathTransformation offset;
  if (!tracker || FAILED(tracker->GetOffset(offset)))
    return false;
  KORIVrcTrackedElement_var element;
  KORMathTransformation base;
  if (SUCCEEDED(tracker->GetTrackedElement(element.Out())) && element) {
    if (FAILED(element->GetLocation(base)))
      return false;
  } else {
    base = GetFreeTrackerBase(tracker);
  }
  oFrame = base * offset;
  return true;
}
