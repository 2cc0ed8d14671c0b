#include "visu/KOR3DManipulator.h"

#include "objectmodel/KORImplementation.h"
#include "system/KORModule.h"
#include "visu/KORI3DCompassSnap.h"

KOR3DManipulator::~KOR3DManipulator() {
  if (IsDragging())
    KORIgnoreResult(EndDrag(), "the drag ends with the manipulator whatever the element says");
}

HRESULT KOR3DManipulator::CanDrag(const KORPathElement& iPath, KORString& oWhy) const {
  KORBaseUnknown* element = iPath.GetLastElement();
  if (!KORQuery<KORISelectMove3D>(element)) {
    oWhy = "it cannot be moved in 3D";
    return S_FALSE;
  }
  const KORImplementation* implementation = KORGetImplementation(element);
  KORDragCondition condition =
      KORFindDragCondition(implementation ? implementation->GetLateType() : nullptr);
  if (condition && !condition(element)) {
    oWhy = "its drag condition refuses it";
    return S_FALSE;
  }
  return S_OK;
}

HRESULT KOR3DManipulator::BeginDrag(const KORPathElement& iPath, KORString& oError) {
  if (IsDragging()) {
    oError = "a drag is going on already";
    return E_FAIL;
  }
  KORString why;
  if (CanDrag(iPath, why) != S_OK) {
    oError = "cannot be dragged: " + why;
    return E_FAIL;
  }
  auto element = KORQuery<KORISelectMove3D>(iPath.GetLastElement());
  if (_observer)
    _observer->OnDragStarted();
  KORBaseUnknown* agent = nullptr;
  const HRESULT initialised = element->Init(&agent);
  _agent = KORBaseUnknown_var::Adopt(agent);
  if (FAILED(initialised)) {
    oError = "refuses to be moved";
    _agent = nullptr;
    if (_observer)
      _observer->OnDragEnded();
    return E_FAIL;
  }
  _element = element;
  _start = KORMathTransformation();
  if (FAILED(_element->BeginMove(&_start))) {
    oError = "refuses to be moved";
    KORIgnoreResult(EndDrag(), "the element refused already; its end changes nothing more");
    return E_FAIL;
  }
  return S_OK;
}

HRESULT KOR3DManipulator::Drag(const KORMathTransformation& iDisplacement) {
  if (!IsDragging())
    return E_FAIL;
  KORMathTransformation displacement = iDisplacement;
  return _element->Move(&displacement);
}

HRESULT KOR3DManipulator::EndDrag() {
  if (!IsDragging())
    return E_FAIL;
  KORMathTransformation end = _start;
  const HRESULT moveEnded = _element->EndMove(&end);
  const HRESULT ended = _element->End();
  _element = nullptr;
  _agent = nullptr;
  if (_observer)
    _observer->OnDragEnded();
  return FAILED(moveEnded) || FAILED(ended) ? E_FAIL : S_OK;
}

HRESULT KOR3DCompass::SnapOnto(const KORPathElement& iPath, const KORMathDirection& iEyeDirection,
                               KORString& oError) {
  auto snap = KORQuery<KORI3DCompassSnap>(iPath.GetLastElement());
  if (!snap) {
    oError = "the compass cannot be snapped onto it";
    return E_FAIL;
  }
  KORPathElement path = iPath;
  KORMathDirection eye = iEyeDirection;
  KORMathAxis axis = _axis;
  int dimension = _dimension;
  if (FAILED(snap->Snap(&path, &eye, &axis, &dimension))) {
    oError = "the compass could not be snapped onto it";
    return E_FAIL;
  }
  _axis = axis;
  _dimension = dimension;
  return S_OK;
}

void KOR3DCompass::Reset() {
  _axis = KORMathAxis();
  _dimension = 3;
}
