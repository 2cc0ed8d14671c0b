#pragma once
// The 3D manipulator and the 3D compass of a viewer: how a person drags an
// element and drops the compass onto one. Both act on the element at the end
// of a picked path, through its KORISelectMove3D and KORI3DCompassSnap
// extensions; the host knows no element kind.
//
// An element may be dragged when it answers KORISelectMove3D and the drag
// condition that a module declared for its late type (KORFindDragCondition)
// accepts it; a type without a declared condition is accepted. An observer is
// told where a drag starts and ends, so that the whole drag can be recorded as
// one undoable step.
#include "math/KORMathAxis.h"
#include "objectmodel/KORPathElement.h"
#include "system/KORString.h"
#include "visu/KORISelectMove3D.h"

class KORDragObserver {
public:
  virtual ~KORDragObserver() = default;
  // Before the element's first read of the drag.
  virtual void OnDragStarted() = 0;
  // After its last write.
  virtual void OnDragEnded() = 0;
};

class KOR3DManipulator {
public:
  KOR3DManipulator() = default;
  KOR3DManipulator(const KOR3DManipulator&) = delete;
  KOR3DManipulator& operator=(const KOR3DManipulator&) = delete;
  // Ends a drag still going on.
  ~KOR3DManipulator();

  // Not owned; null for none.
  void SetObserver(KORDragObserver* iObserver) { _observer = iObserver; }

  // S_OK when the element at the end of iPath may be dragged; S_FALSE with
  // oWhy when it may not.
  HRESULT CanDrag(const KORPathElement& iPath, KORString& oWhy) const;
  // Takes the element at the end of iPath (Init, BeginMove). E_FAIL with
  // oError when it may not be dragged, the element refuses, or a drag is
  // going on already.
  HRESULT BeginDrag(const KORPathElement& iPath, KORString& oError);
  // Moves the element by iDisplacement since BeginDrag, in absolute
  // coordinates. E_FAIL outside a drag or when the element fails.
  HRESULT Drag(const KORMathTransformation& iDisplacement);
  // Lets the element go (EndMove, End). E_FAIL outside a drag or when the
  // element fails to end; the drag is over all the same.
  HRESULT EndDrag();
  bool IsDragging() const { return static_cast<bool>(_element); }

private:
  KORISelectMove3D_var _element;
  KORBaseUnknown_var _agent;
  KORMathTransformation _start;
  KORDragObserver* _observer = nullptr;
};

class KOR3DCompass {
public:
  // The absolute axis system until the compass is snapped.
  const KORMathAxis& GetAxis() const { return _axis; }
  int GetDimension() const { return _dimension; }
  // Drops the compass onto the element at the end of iPath, seen along
  // iEyeDirection. E_FAIL with oError, the compass where it was, when the
  // element has no compass snapping or it fails.
  HRESULT SnapOnto(const KORPathElement& iPath, const KORMathDirection& iEyeDirection,
                   KORString& oError);
  // Back to the absolute axis system.
  void Reset();

private:
  KORMathAxis _axis;
  int _dimension = 3;
};
