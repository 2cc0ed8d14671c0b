#pragma once
// The 2D schematic as a viewpoint of the current 3D window's viewer: it shows
// the configuration container's schematic reps, fitted to a fixed box that
// holds two rows of image generators, refitted on every model event of the
// container and every resize of the window, and ends with its window.
#include "featurestore/KORIModelEvents.h"
#include "visu/KORFrmWindow.h"

class KORFrmEditor;

class KORVrc2DViewpoint : public KOR2DViewpoint {
public:
  // Sets itself up in the current layout's current window; stays
  // unattached (showing nothing) when that fails.
  KORVrc2DViewpoint();

  // E_FAIL without a current window, editor or visualization manager, when
  // the window is no 3D window with a navigation viewer, or when the
  // editor's document holds no configuration container.
  HRESULT InitViewpoint();
  // Refits the view on the fixed schematic box.
  void AttachedSceneModified();
  // Ends the viewpoint when iWindow is its window.
  void FrmWindowDestroyedCB(KORFrmWindow& iWindow);
  // Takes the viewpoint out of its viewer.
  void DestroyVrcViewpoint();

  bool IsAttached() const { return _attached; }
  KORFrmWindow* GetWindow() const { return _window; }
  // The schematic's box: six image generators a row, two rows.
  static Eigen::AlignedBox2d FixedBox();

protected:
  ~KORVrc2DViewpoint() override;

private:
  KORFrmWindow* _window = nullptr;
  KORFrmEditor* _editor = nullptr;
  KORNavigation3DViewer* _viewer = nullptr;
  KORPathElement _path;
  KORIModelEvents_var _containerEvents;
  int _windowDeletedCB = 0;
  int _resizeCB = 0;
  int _connexionCB = 0;
  bool _attached = false;
};
