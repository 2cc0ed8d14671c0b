#pragma once
// The windows of an application frame and what draws in them.
//
// A layout holds the frame's windows and knows the current one. A window
// has a class name ("KORAsmGraphAnd3DWindow" for a 3D window) and a viewer;
// a viewer draws into a graphic support, which has a size in pixels and the
// viewpoints added to it beside the viewer's own scene (the 2D schematic).
// Deleting a window tells its listeners first (WINDOW_DELETED), resizing a
// support tells its listeners after (GRAPHICWINDOW_RESIZE), both through
// plain dispatchers, so that a viewpoint can follow its window.
//
// The layout and the visualization manager are the frame's; code reaches the
// current ones through KORFrmLayout::GetCurrentLayout() and
// KORVisManager::GetVisManager(), made current by their scopes.
#include "featurestore/KORNotificationDispatcher.h"
#include "system/KORCurrentScope.h"
#include "system/KORString.h"
#include "visu/KORVisManager.h"

#include <Eigen/Geometry>

#include <memory>
#include <vector>

class KORVisViewpoint;

class KORGraphicSupport {
public:
  static constexpr const char* GRAPHICWINDOW_RESIZE = "GRAPHICWINDOW_RESIZE";

  const Eigen::Vector2i& GetSize() const { return _size; }
  // Sets the size in pixels and tells the listeners.
  void Resize(int iWidth, int iHeight);
  // The width of a pixel over its height.
  double GetPixelRatio() const { return _pixelRatio; }
  // Millimetres on the screen per pixel.
  double GetMMPerSupportUnit() const { return _mmPerUnit; }
  void SetScreen(double iPixelRatio, double iMMPerSupportUnit);

  const std::vector<KORVisViewpoint*>& GetViewpoints() const { return _viewpoints; }
  // The support lists viewpoints without owning them: a viewpoint removes
  // itself when it ends.
  void AddViewpoint(KORVisViewpoint* iViewpoint);
  void RemoveViewpoint(KORVisViewpoint* iViewpoint);

  KORNotificationDispatcher& GetDispatcher() { return _dispatcher; }

private:
  Eigen::Vector2i _size{1024, 768};
  double _pixelRatio = 1.0;
  double _mmPerUnit = 0.25;
  std::vector<KORVisViewpoint*> _viewpoints;
  KORNotificationDispatcher _dispatcher;
};

// A viewer that a person orbits around the scene of a 3D window.
class KORNavigation3DViewer : public KORViewer {
public:
  KORNavigation3DViewer(KORVisManager& iManager, KORBaseUnknown* iRoot, KORPathElement iPrefix = {})
      : KORViewer(iManager, iRoot, KORVisDimension::ThreeD, std::move(iPrefix)) {}
};

class KORFrmWindow;
class KORFrmWindowDeleted : public KORNotification {
public:
  explicit KORFrmWindowDeleted(KORFrmWindow& iWindow)
      : KORNotification("WINDOW_DELETED"), _window(iWindow) {}
  KORFrmWindow& GetWindow() const { return _window; }

private:
  KORFrmWindow& _window;
};

class KORFrmWindow {
public:
  static constexpr const char* WINDOW_DELETED = "WINDOW_DELETED";
  static constexpr const char* Graph3DWindowClass = "KORAsmGraphAnd3DWindow";

  // iViewer may be null (a window that shows no model).
  KORFrmWindow(KORString iClassName, std::unique_ptr<KORViewer> iViewer);
  KORFrmWindow(const KORFrmWindow&) = delete;
  KORFrmWindow& operator=(const KORFrmWindow&) = delete;

  const KORString& GetClassName() const { return _className; }
  KORViewer* GetViewer() const { return _viewer.get(); }
  KORNotificationDispatcher& GetDispatcher() { return _dispatcher; }

private:
  KORString _className;
  std::unique_ptr<KORViewer> _viewer;
  KORNotificationDispatcher _dispatcher;
};

class KORFrmLayout {
public:
  KORFrmLayout() = default;
  KORFrmLayout(const KORFrmLayout&) = delete;
  KORFrmLayout& operator=(const KORFrmLayout&) = delete;
  // Deletes every window, as DeleteWindow does.
  ~KORFrmLayout();

  // Takes iWindow and makes it current.
  KORFrmWindow* AddWindow(std::unique_ptr<KORFrmWindow> iWindow);
  KORFrmWindow* GetCurrentWindow() const { return _current; }
  // E_INVALIDARG for a window not in the layout.
  [[nodiscard]] HRESULT SetCurrentWindow(KORFrmWindow* iWindow);
  // Tells the window's listeners, then destroys it; the last window added
  // before it becomes current. E_INVALIDARG for a window not in the layout.
  [[nodiscard]] HRESULT DeleteWindow(KORFrmWindow* iWindow);
  int GetWindowCount() const { return static_cast<int>(_windows.size()); }

  // The layout of the running frame, or null outside any Scope.
  static KORFrmLayout* GetCurrentLayout();
  class Scope : public KORCurrentScope<KORFrmLayout> {
  public:
    explicit Scope(KORFrmLayout& iLayout);
  };

private:
  std::vector<std::unique_ptr<KORFrmWindow>>::iterator Find(KORFrmWindow* iWindow);
  std::vector<std::unique_ptr<KORFrmWindow>> _windows;
  KORFrmWindow* _current = nullptr;
};

// Something drawn in a viewer's support beside its scene. Reference counted:
// made with one reference, destroyed by its last Release.
class KORVisViewpoint {
public:
  KORVisViewpoint(const KORVisViewpoint&) = delete;
  KORVisViewpoint& operator=(const KORVisViewpoint&) = delete;
  unsigned long AddRef() { return ++_count; }
  unsigned long Release();

protected:
  KORVisViewpoint() = default;
  virtual ~KORVisViewpoint() = default;

private:
  unsigned long _count = 1;
};

// A flat viewpoint: it shows the 2D reps of the last element of a path,
// fitted into its support, with a selection highlighted.
class KOR2DViewpoint : public KORVisViewpoint {
public:
  // Where the view is pinned when the support changes size (the host's
  // anchor values; 9 keeps the view fitted).
  void SetAnchor(int iAnchor) { _anchor = iAnchor; }
  int GetAnchor() const { return _anchor; }

  // Fits iBox into a support of iGraphicSize pixels: the visible box is
  // iBox grown about its centre along one axis to the support's shape.
  void ReframeOn(const Eigen::AlignedBox2d& iBox, const Eigen::Vector2i& iGraphicSize,
                 double iMMPerSupportUnit, double iPixelRatio);
  const Eigen::AlignedBox2d& GetVisibleBox() const { return _visible; }
  // Millimetres on the screen per model unit once framed.
  double GetScreenScale() const { return _screenScale; }

  // Shows iPath's last element's reps of iDimension (iPath's other objects
  // start every pick's path) through iManager, highlighting *iSelection
  // (not owned; null for none).
  void AttachPath(KORVisManager& iManager, const KORPathElement& iPath, KORVisDimension iDimension,
                  const KORPathElement* iSelection);
  void DetachPath();
  // The viewer of the attached path, or null.
  KORViewer* GetViewer() const { return _viewer.get(); }
  // What shows the selection; S_FALSE when nothing is selected or attached.
  [[nodiscard]] HRESULT BuildHighlight(KORHighlightPath& oHighlight);

protected:
  ~KOR2DViewpoint() override;

private:
  int _anchor = 0;
  Eigen::AlignedBox2d _visible;
  double _screenScale = 0.0;
  KORVisManager* _manager = nullptr;
  std::unique_ptr<KORViewer> _viewer;
  const KORPathElement* _selection = nullptr;
};
