#include "visu/KORFrmWindow.h"

#include "system/KORThreadLocal.h"

#include <algorithm>

namespace {
KOR_THREAD_LOCAL KORFrmLayout* tCurrentLayout = nullptr;
} // namespace

void KORGraphicSupport::Resize(int iWidth, int iHeight) {
  _size = {iWidth, iHeight};
  KORNotification resized(GRAPHICWINDOW_RESIZE);
  _dispatcher.Dispatch(resized);
}

void KORGraphicSupport::SetScreen(double iPixelRatio, double iMMPerSupportUnit) {
  _pixelRatio = iPixelRatio;
  _mmPerUnit = iMMPerSupportUnit;
}

void KORGraphicSupport::AddViewpoint(KORVisViewpoint* iViewpoint) {
  if (iViewpoint && std::find(_viewpoints.begin(), _viewpoints.end(), iViewpoint) == _viewpoints.end())
    _viewpoints.push_back(iViewpoint);
}

void KORGraphicSupport::RemoveViewpoint(KORVisViewpoint* iViewpoint) {
  std::erase(_viewpoints, iViewpoint);
}

KORFrmWindow::KORFrmWindow(KORString iClassName, std::unique_ptr<KORViewer> iViewer)
    : _className(std::move(iClassName)), _viewer(std::move(iViewer)) {}

KORFrmLayout::~KORFrmLayout() {
  while (!_windows.empty())
    KORIgnoreResult(DeleteWindow(_windows.back().get()), "the window is in the layout");
}

KORFrmWindow* KORFrmLayout::AddWindow(std::unique_ptr<KORFrmWindow> iWindow) {
  if (!iWindow)
    return nullptr;
  _windows.push_back(std::move(iWindow));
  _current = _windows.back().get();
  return _current;
}

std::vector<std::unique_ptr<KORFrmWindow>>::iterator KORFrmLayout::Find(KORFrmWindow* iWindow) {
  return std::find_if(_windows.begin(), _windows.end(),
                      [&](const auto& iKept) { return iKept.get() == iWindow; });
}

HRESULT KORFrmLayout::SetCurrentWindow(KORFrmWindow* iWindow) {
  if (Find(iWindow) == _windows.end())
    return E_INVALIDARG;
  _current = iWindow;
  return S_OK;
}

HRESULT KORFrmLayout::DeleteWindow(KORFrmWindow* iWindow) {
  if (Find(iWindow) == _windows.end())
    return E_INVALIDARG;
  // The listeners still see a whole window.
  KORFrmWindowDeleted deleted(*iWindow);
  iWindow->GetDispatcher().Dispatch(deleted);
  // A listener may have changed the layout: look the window up again.
  auto found = Find(iWindow);
  if (found == _windows.end())
    return S_OK;
  std::unique_ptr<KORFrmWindow> dying = std::move(*found);
  _windows.erase(found);
  if (_current == iWindow)
    _current = _windows.empty() ? nullptr : _windows.back().get();
  return S_OK;
}

KORFrmLayout* KORFrmLayout::GetCurrentLayout() {
  return tCurrentLayout;
}

KORFrmLayout::Scope::Scope(KORFrmLayout& iLayout) : KORCurrentScope(tCurrentLayout, iLayout) {}

unsigned long KORVisViewpoint::Release() {
  const unsigned long count = --_count;
  if (count == 0)
    delete this;
  return count;
}

KOR2DViewpoint::~KOR2DViewpoint() = default;

void KOR2DViewpoint::ReframeOn(const Eigen::AlignedBox2d& iBox, const Eigen::Vector2i& iGraphicSize,
                               double iMMPerSupportUnit, double iPixelRatio) {
  if (iBox.isEmpty() || iGraphicSize.minCoeff() <= 0 || iPixelRatio <= 0.0)
    return;
  // The support's width and height in the same measure.
  const double supportWidth = iGraphicSize.x() * iPixelRatio;
  const double supportHeight = iGraphicSize.y();
  Eigen::Vector2d half = iBox.sizes() / 2.0;
  if (half.x() / half.y() < supportWidth / supportHeight)
    half.x() = half.y() * supportWidth / supportHeight;
  else
    half.y() = half.x() * supportHeight / supportWidth;
  _visible = Eigen::AlignedBox2d(iBox.center() - half, iBox.center() + half);
  _screenScale = supportHeight / (2.0 * half.y()) * iMMPerSupportUnit;
}

void KOR2DViewpoint::AttachPath(KORVisManager& iManager, const KORPathElement& iPath,
                                KORVisDimension iDimension, const KORPathElement* iSelection) {
  if (iPath.IsEmpty())
    return;
  KORPathElement prefix;
  for (int position = 0; position + 1 < iPath.GetSize(); ++position)
    prefix.Append(iPath.GetObject(position));
  _manager = &iManager;
  _viewer = std::make_unique<KORViewer>(iManager, iPath.GetLastElement(), iDimension,
                                        std::move(prefix));
  _selection = iSelection;
}

void KOR2DViewpoint::DetachPath() {
  _viewer.reset();
  _manager = nullptr;
  _selection = nullptr;
}

HRESULT KOR2DViewpoint::BuildHighlight(KORHighlightPath& oHighlight) {
  oHighlight = {};
  if (!_viewer || !_selection || _selection->IsEmpty())
    return S_FALSE;
  return _manager->BuildHighlight(_viewer->GetDimension(), *_selection, oHighlight);
}
