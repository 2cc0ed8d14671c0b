#pragma once
// The heading-pitch-roll convention of the model tools, for front ends.
#include "interfaces/KORIVrcOrientation.h"
#include "objectmodel/KORExtension.h"

class KOREVrcOrientation : public KORExtensionOf<KORIVrcOrientation> {
public:
  HRESULT HPRToMatrix(double iH, double iP, double iR, KORMath3x3Matrix& oMatrix) override;
  HRESULT MatrixToHPR(const KORMath3x3Matrix& iMatrix, double& oH, double& oP, double& oR) override;
};
