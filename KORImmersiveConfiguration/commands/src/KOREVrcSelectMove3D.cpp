#include "KOREVrcSelectMove3D.h"

#include "KORVrcControllerTrace.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcTrackedElement.h"

namespace {
// A corner of a projection area read with one of its getters.
bool ReadCorner(KORIVrcProjectionArea* iArea,
                HRESULT (KORIVrcProjectionArea::*iGetter)(double*, double*, double*),
                KORMathPoint& oCorner) {
  double x = 0, y = 0, z = 0;
  if (FAILED((iArea->*iGetter)(&x, &y, &z)))
    return false;
  oCorner = KORMathPoint(x, y, z);
  return true;
}

HRESULT WriteCorner(KORIVrcProjectionArea* iArea,
                    HRESULT (KORIVrcProjectionArea::*iSetter)(double, double, double),
                    const KORMathPoint& iCorner) {
  return (iArea->*iSetter)(iCorner.GetX(), iCorner.GetY(), iCorner.GetZ());
}
} // namespace

std::string KOREVrcSelectMove3D::Signature(const char* iOperation) const {
  return std::string(_className) + "::" + iOperation;
}

HRESULT KOREVrcSelectMove3D::Init(KORBaseUnknown**) {
  KORVrcTraceScope scope(KORVrcControllerTrace(),
                         Signature("Init(KORBaseUnknown **  ioMoveAgent)").c_str());
  return S_OK;
}

HRESULT KOREVrcSelectMove3D::End() {
  KORVrcTraceScope scope(KORVrcControllerTrace(), Signature("End()").c_str());
  return S_OK;
}

HRESULT KOREVrcSelectMove3D::BeginMove(KORMathTransformation*) {
  KORVrcTraceScope scope(KORVrcControllerTrace(),
                         Signature("BeginMove(KORMathTransformation *  iTransformation)").c_str());
  ForgetStart();
  _started = ReadStart();
  if (!_started)
    ForgetStart();
  return S_OK;
}

HRESULT KOREVrcSelectMove3D::Move(KORMathTransformation* ioTransformation) {
  KORVrcTraceScope scope(KORVrcControllerTrace(),
                         Signature("Move(KORMathTransformation *  ioTransformation)").c_str());
  if (!ioTransformation)
    return E_FAIL;
  return _started ? WriteMoved(*ioTransformation) : S_OK;
}

HRESULT KOREVrcSelectMove3D::EndMove(KORMathTransformation*) {
  KORVrcTraceScope scope(KORVrcControllerTrace(),
                         Signature("EndMove(KORMathTransformation *  iTransformation)").c_str());
  ForgetStart();
  _started = false;
  return S_OK;
}

bool KOREVrcSelectMove3DOnTracker::ReadStart() {
  _tracker = QueryImpl<KORIVrcTracker>();
  KORIVrcTrackedElement_var element;
  return _tracker && SUCCEEDED(_tracker->GetOffset(_offset)) &&
         SUCCEEDED(_tracker->GetTrackedElement(element.Out())) && element &&
         SUCCEEDED(element->GetLocation(_location)) &&
         SUCCEEDED(_location.Inverse(_locationInverse));
}

HRESULT KOREVrcSelectMove3DOnTracker::WriteMoved(const KORMathTransformation& iDisplacement) {
  return _tracker->SetOffset(_locationInverse * iDisplacement * _location * _offset);
}

bool KOREVrcSelectMove3DOnTrackingStation::ReadStart() {
  _station = QueryImpl<KORIVrcTrackingStation>();
  return _station && SUCCEEDED(_station->GetRef(_ref));
}

HRESULT KOREVrcSelectMove3DOnTrackingStation::WriteMoved(
    const KORMathTransformation& iDisplacement) {
  return _station->SetRef(iDisplacement * _ref);
}

bool KOREVrcSelectMove3dOnScreenView::ReadStart() {
  auto screen = QueryImpl<KORIVrcScreenView>();
  if (!screen || FAILED(screen->GetProjectionArea(_area.Out())) || !_area)
    return false;
  return ReadCorner(_area, &KORIVrcProjectionArea::GetLowerLeft, _lowerLeft) &&
         ReadCorner(_area, &KORIVrcProjectionArea::GetLowerRight, _lowerRight) &&
         ReadCorner(_area, &KORIVrcProjectionArea::GetUpperLeft, _upperLeft);
}

HRESULT KOREVrcSelectMove3dOnScreenView::WriteMoved(const KORMathTransformation& iDisplacement) {
  if (FAILED(WriteCorner(_area, &KORIVrcProjectionArea::SetLowerLeft, iDisplacement * _lowerLeft)) ||
      FAILED(WriteCorner(_area, &KORIVrcProjectionArea::SetLowerRight,
                         iDisplacement * _lowerRight)) ||
      FAILED(WriteCorner(_area, &KORIVrcProjectionArea::SetUpperLeft, iDisplacement * _upperLeft)))
    return E_FAIL;
  return S_OK;
}

extern "C" bool KORVrcConditionsSelectMove3DOnTrackers(KORBaseUnknown* iObject) {
  auto tracker = KORQuery<KORIVrcTracker>(iObject);
  KORIVrcTrackedElement_var element;
  return tracker && SUCCEEDED(tracker->GetTrackedElement(element.Out())) && element;
}
