#pragma once
// The head's dialog: eye distance, head type and location (position in
// millimetres; heading, pitch and roll in degrees).
#include "KORVrcPlacementFields.h"
#include "dialog/KORDlgWidgets.h"
#include "interfaces/KORVrcEnums.h"
#include "math/KORMathTransformation.h"

class KORVrcHeadEditDlg : public KORDlgDialog {
public:
  explicit KORVrcHeadEditDlg(KORCommand* iFather);
  void Build();

  void SetValues(double iIPD, KORVrcHeadType iType, const KORMathTransformation& iLocation);
  void GetValues(double& oIPD, KORVrcHeadType& oType, KORMathTransformation& oLocation) const;

private:
  KORDlgSpinner* _ipd = nullptr;
  KORDlgCombo* _type = nullptr;
  KORVrcPlacementFields _location;
};
