#pragma once
// The window's dialog: its name, the image generator and view chosen by
// picking them (shown by name), its viewport on the image generator's output
// (fractions; left + width and top + height never pass 1), its rendering and
// mirror modes, and whether it is the configuration's main window.
#include "dialog/KORDlgWidgets.h"
#include "interfaces/KORVrcEnums.h"

struct KORVrcViewportValues {
  double left = 0, top = 0, width = 1, height = 1;
};

class KORVrcWindowDlg : public KORDlgDialog {
public:
  explicit KORVrcWindowDlg(KORCommand* iFather);
  void Build();

  KORUnicodeString GetWindowName() const;
  void SetWindowName(const KORUnicodeString& iName);
  void SetIGName(const KORUnicodeString& iName);
  KORUnicodeString GetViewName() const;
  // An empty name shows "(none)".
  void SetViewName(const KORUnicodeString& iName);
  KORVrcViewportValues GetViewport() const;
  void SetViewport(const KORVrcViewportValues& iViewport);
  KORVrcRenderingMode GetRenderingMode() const;
  void SetRenderingMode(KORVrcRenderingMode iMode);
  KORVrcMirrorMode GetMirrorMode() const;
  void SetMirrorMode(KORVrcMirrorMode iMode);
  bool GetMain() const;
  void SetMain(bool iMain);

private:
  // The extent spinner may reach 1 - the origin spinner's value at most.
  static void LimitExtent(const KORDlgSpinner& iOrigin, KORDlgSpinner& ioExtent);

  KORDlgEditor* _name = nullptr;
  KORDlgEditor* _igName = nullptr;
  KORDlgEditor* _viewName = nullptr;
  KORDlgSpinner* _left = nullptr;
  KORDlgSpinner* _top = nullptr;
  KORDlgSpinner* _width = nullptr;
  KORDlgSpinner* _height = nullptr;
  KORDlgCombo* _renderingMode = nullptr;
  KORDlgCombo* _mirrorMode = nullptr;
  KORDlgCheckButton* _main = nullptr;
};
