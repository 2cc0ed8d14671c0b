#pragma once
// The select-and-move behaviour of an element: what the 3D manipulator calls
// while a person drags the element. A drag is Init, BeginMove, any number of
// Move, EndMove, End. Each Move gets the displacement since BeginMove, in
// absolute coordinates, and writes the model at once, so that what shows the
// element follows during the drag; the manipulator makes the whole drag one
// undoable step, the extension keeps no undo of its own.
#include "math/KORMathTransformation.h"
#include "objectmodel/KORExtension.h"

class KORISelectMove3D : public KORBaseUnknown {
  KOR_INTERFACE(KORISelectMove3D, KORBaseUnknown)
public:
  // *ioMoveAgent comes null; the element may set an agent of its own there,
  // with one reference, which the manipulator releases when the drag ends.
  [[nodiscard]] virtual HRESULT Init(KORBaseUnknown** ioMoveAgent) = 0;
  [[nodiscard]] virtual HRESULT End() = 0;
  // Reads what Move starts from; the transformation is the manipulator's
  // placement at the start.
  [[nodiscard]] virtual HRESULT BeginMove(KORMathTransformation* iTransformation) = 0;
  // E_FAIL for a null displacement, which changes nothing.
  [[nodiscard]] virtual HRESULT Move(KORMathTransformation* ioTransformation) = 0;
  [[nodiscard]] virtual HRESULT EndMove(KORMathTransformation* iTransformation) = 0;
};
KOR_DECLARE_VAR(KORISelectMove3D)
