#include "KOREVrcOrientation.h"

#include "KORVrcTools.h"

HRESULT KOREVrcOrientation::HPRToMatrix(double iH, double iP, double iR,
                                        KORMath3x3Matrix& oMatrix) {
  HPR(oMatrix, iH, iP, iR);
  return S_OK;
}

HRESULT KOREVrcOrientation::MatrixToHPR(const KORMath3x3Matrix& iMatrix, double& oH, double& oP,
                                        double& oR) {
  GetHPR(iMatrix, oH, oP, oR);
  return S_OK;
}
