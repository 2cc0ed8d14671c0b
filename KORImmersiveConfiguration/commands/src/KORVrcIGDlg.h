#pragma once
// The image generator's dialog: its display name and its size in pixels.
#include "dialog/KORDlgWidgets.h"

class KORVrcIGDlg : public KORDlgDialog {
public:
  explicit KORVrcIGDlg(KORCommand* iFather);
  void Build();

  KORUnicodeString GetIGName() const;
  void SetIGName(const KORUnicodeString& iName);
  void GetIGWidthHeight(int& oWidth, int& oHeight) const;
  void SetIGWidthHeight(int iWidth, int iHeight);

private:
  KORDlgEditor* _name = nullptr;
  KORDlgSpinner* _width = nullptr;
  KORDlgSpinner* _height = nullptr;
};
