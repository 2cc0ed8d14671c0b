#pragma once
// A placement (a rotation and a translation) edited as six spinners: the
// position "XSpinEdit", "YSpinEdit", "ZSpinEdit" in millimetres and the
// heading, pitch and roll "HSpinEdit", "PSpinEdit", "RSpinEdit", each bound to
// a knowledge parameter ("XSpinEditParm", ...). The angle parameters hold
// radians and the fields show degrees; the rotation is made and read with HPR
// and GetHPR.
#include "dialog/KORDlgWidgets.h"
#include "math/KORMathTransformation.h"

#include <array>

class KORVrcPlacementFields {
public:
  // Makes the six spinners in iFather, position first.
  void Build(KORCommand* iFather);
  void Set(const KORMathTransformation& iPlacement);
  KORMathTransformation Get() const;

private:
  std::array<KORDlgSpinner*, 3> _position{};
  std::array<KORDlgSpinner*, 3> _angles{}; // heading, pitch, roll
};
