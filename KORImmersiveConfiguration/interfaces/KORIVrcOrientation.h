#pragma once
// The model's heading-pitch-roll convention, offered by design documents to
// front ends that read and write placements: a rotation M = Rz(H) * Ry(P) *
// Rx(R) about the fixed axes (roll first), angles counter-clockwise in
// degrees. MatrixToHPR gives R in (-180, 180], H in [-180, 180], P in
// [-90, 90], and H 0 at gimbal lock. Both always succeed (S_OK).
#include "math/KORMath3x3Matrix.h"
#include "objectmodel/KORSmartPtr.h"

class KORIVrcOrientation : public KORBaseUnknown {
  KOR_INTERFACE(KORIVrcOrientation, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT HPRToMatrix(double iH, double iP, double iR,
                                            KORMath3x3Matrix& oMatrix) = 0;
  [[nodiscard]] virtual HRESULT MatrixToHPR(const KORMath3x3Matrix& iMatrix, double& oH, double& oP,
                                            double& oR) = 0;
};
KOR_DECLARE_VAR(KORIVrcOrientation)
