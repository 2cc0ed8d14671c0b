#pragma once
// The compass snapping of an element: where the 3D compass goes when a person
// drops it onto the element.
#include "math/KORMathAxis.h"
#include "objectmodel/KORExtension.h"
#include "objectmodel/KORPathElement.h"

class KORI3DCompassSnap : public KORBaseUnknown {
  KOR_INTERFACE(KORI3DCompassSnap, KORBaseUnknown)
public:
  // iPath: the element as it was picked; iEyeDirection: the viewer's sight.
  // Writes the element's axis frame into *ioTargetAxis when it is given;
  // *ioTargetDimension is the compass's dimension, which the element may
  // change.
  [[nodiscard]] virtual HRESULT Snap(KORPathElement* iPath, KORMathDirection* iEyeDirection,
                                     KORMathAxis* ioTargetAxis, int* ioTargetDimension) = 0;
};
KOR_DECLARE_VAR(KORI3DCompassSnap)
