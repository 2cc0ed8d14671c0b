// The display configuration file: the screens in the frame of the main
// window's screen, a fixed transform and viewer, then one desktop per image
// generator with a video output and a channel per window. The main window is
// the reference the other windows are placed against, so it never gets a
// screen, a video output or a channel of its own.
#include "KOREVrcConfigure.h"

#include "KORVrcTools.h"
#include "interfaces/KORIVrcCameraView.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcRenderingSpec.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcView.h"
#include "interfaces/KORIVrcViewport.h"
#include "interfaces/KORIVrcWindow.h"
#include "math/KORMathPlane.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <ostream>

namespace {

// The lines between the display block and the desktops never change.
constexpr const char* kFixedLines[] = {"</display>",
                                       "<transform IdentityTransform>",
                                       "mat4x4 1. 0. 0. 0. 0. 1. 0. 0. 0. 0. 1. 0. 0. 0. 0. 1.",
                                       "</transform>",
                                       "<orientationRef Head_OR>",
                                       "parentTransform IdentityTransform",
                                       "leftVector -3.5 0. 0.",
                                       "rightVector 3.5 0. 0.",
                                       "upVector 0. 1. 0.",
                                       "</orientationRef>",
                                       "<user User1>",
                                       "headName Head_OR",
                                       "</user>"};

// More than the text a window gives the file: its screen, video output and
// channel.
constexpr std::size_t kTextPerWindow = 2048;

// Below this a main corner still lies in the plane of a screen, and a screen
// edge or an overlap extent still counts as empty.
constexpr double kPlaneTolerance = 1e-5;

KORUnicodeString NameOf(KORIVrcElement* iElement) {
  return ReadValue(iElement, &KORIVrcElement::GetName);
}

KOROwnedList WindowsOf(KORIVrcIG* iIG) {
  KORListValKORBaseUnknown_var* windows = nullptr;
  if (!iIG || FAILED(iIG->GetWindows(&windows)))
    return KOROwnedList(new KORListValKORBaseUnknown_var);
  return KOROwnedList(windows);
}

struct Viewport {
  double x = 0, y = 0, w = 0, h = 0;
};

// The values of a viewport that can be read.
std::optional<Viewport> ValuesOf(const KOREVrcConfigure::WindowViewport& iViewport) {
  if (!iViewport.values)
    return std::nullopt;
  const std::array<double, 4>& values = *iViewport.values;
  return Viewport{values[0], values[1], values[2], values[3]};
}

struct PixelSize {
  int width = 0, height = 0;
};

PixelSize PixelSizeOf(KORIVrcIG* iIG) {
  return {ReadValue(iIG, &KORIVrcIG::GetPixelWidth), ReadValue(iIG, &KORIVrcIG::GetPixelHeight)};
}

// A screen by three corners: a projection area in the model frame, or the
// virtual screen of a camera at distance 1 along x.
enum class ScreenKind { None, Screen, Camera };
using Corners = KOREVrcConfigure::AreaCorners;

Corners CornersOf(KORIVrcCameraView* iCamera) {
  // A frustum that cannot be read is a point straight ahead.
  double left = 0, right = 0, top = 0, bottom = 0;
  if (FAILED(iCamera->GetFrustum(left, right, top, bottom)))
    left = right = top = bottom = 0;
  return {KORMathPoint(1, left, top), KORMathPoint(1, left, bottom),
          KORMathPoint(1, right, bottom)};
}

ScreenKind CornersOf(KOREVrcConfigure& ioConfigure, KORIVrcView* iView, Corners& oCorners) {
  KORIVrcProjectionArea_var area;
  if (auto screen = KORQuery<KORIVrcScreenView>(iView)) {
    if (FAILED(screen->GetProjectionArea(area.Out())))
      return ScreenKind::None;
    oCorners = ioConfigure.CornersOfArea(area);
    return ScreenKind::Screen;
  }
  if (auto camera = KORQuery<KORIVrcCameraView>(iView)) {
    oCorners = CornersOf(camera);
    return ScreenKind::Camera;
  }
  return ScreenKind::None;
}

const char* MirrorWord(std::optional<KORVrcMirrorMode> iMode) {
  switch (iMode.value_or(KORVrcMirrorNone)) {
  case KORVrcMirrorHorizontal:
    return "mirrorMode Horizontal";
  case KORVrcMirrorVertical:
    return "mirrorMode Vertical";
  case KORVrcMirrorBoth:
    return "mirrorMode Both";
  default:
    return "mirrorMode None";
  }
}

// A pixel position relative to a running origin; the runtime reads these
// extents from single-precision values, so they are truncated from floats.
int Relative(float iPosition, float iOrigin) {
  return static_cast<int>(iPosition - iOrigin);
}
int Relative(int iPixel, float iOrigin) {
  return Relative(static_cast<float>(iPixel), iOrigin);
}

// The display name without the separators, usable inside a tag.
KORUnicodeString WithoutSeparators(KORUnicodeString iDisplay) {
  std::erase_if(iDisplay, [](char iCharacter) { return iCharacter == ':' || iCharacter == '.'; });
  return iDisplay;
}

KORVrcText& operator<<(KORVrcText& ioText, const KORMathPoint& iPoint) {
  return ioText << KORVrcFixed8{iPoint.GetX()} << ' ' << KORVrcFixed8{iPoint.GetY()} << ' '
                << KORVrcFixed8{iPoint.GetZ()};
}

// One line of the file at the current depth; the caller writes its text.
KORVrcText& Line(const KOREVrcConfigure& iWriter, KORVrcText& ioText) {
  iWriter.Indent(ioText);
  return ioText;
}

// A tag that opens a block (written from its pieces), and the one that
// closes it: each block begins and ends with a line holding only indentation.
template <class... Pieces>
void OpenBlock(KOREVrcConfigure& ioWriter, KORVrcText& ioText, const Pieces&... iTag) {
  (Line(ioWriter, ioText) << ... << iTag);
  ioWriter.IndentRightSpace(ioText);
}

void CloseBlock(KOREVrcConfigure& ioWriter, KORVrcText& ioText, const char* iTag) {
  ioWriter.IndentLeftSpace(ioText);
  Line(ioWriter, ioText) << iTag;
}
} // namespace

struct KOREVrcConfigure::FSReference {
  KORIVrcWindow_var mainWindow;
  ScreenKind kind = ScreenKind::None;
  Corners corners;
};

HRESULT KOREVrcConfigure::GenerateFSConfig(std::ostream& ioStream, KORUnicodeString& oMessages,
                                           unsigned char iWrite) {
  return StreamFile(&KOREVrcConfigure::WriteFSFile, ioStream, oMessages, iWrite);
}

HRESULT KOREVrcConfigure::WriteFSFile(KORVrcText& ioText, KORUnicodeString& oMessages,
                                      unsigned char iWrite) {
  const RenderingMemo renderings(*this);
  ResetIndent();
  oMessages.clear();
  HRESULT result = RetrieveCommonPointers();
  if (FAILED(StartMessages(oMessages)))
    return E_FAIL;
  KORIVrcWindow_var mainWindow;
  if (FAILED(RetrieveMainWindow(mainWindow.Out()))) {
    AddError(oMessages, "NoMainWindow");
    result = E_FAIL;
  }
  if (FAILED(result) || !iWrite)
    return result;

  ioText << "<display J6>";
  IndentRightSpace(ioText);
  KORListValKORBaseUnknown_var* views = nullptr;
  if (FAILED(RetrieveViewList(&views)) || !views) {
    result = E_FAIL;
  } else {
    KOROwnedList owned(views);
    // Both are the same for every screen of the file.
    std::optional<KORMathTransformation> modelToFS;
    if (KORMathTransformation transformation; SUCCEEDED(ComputeModelToFS(transformation)))
      modelToFS = transformation;
    const std::optional<WindowsByView> windowsByView = WindowsShowingViews();
    if (windowsByView) {
      std::size_t windows = 0;
      for (const auto& shown : *windowsByView)
        windows += shown.second.size();
      ioText.Reserve(windows * kTextPerWindow);
    }
    for (const KORBaseUnknown_var& entry : *owned) {
      auto view = KORQuery<KORIVrcView>(entry);
      if (!view || !windowsByView) {
        result = E_FAIL;
        continue;
      }
      const auto shown = windowsByView->find(KORQuery<KORBaseUnknown>(view).get());
      if (shown == windowsByView->end())
        continue;
      for (const KORIVrcWindow_var& window : shown->second)
        if (FAILED(WriteFSScreen(ioText, view, window, modelToFS)))
          result = E_FAIL;
    }
  }
  IndentLeftSpace(ioText);
  for (const char* line : kFixedLines)
    Line(*this, ioText) << line;

  KORListValKORBaseUnknown_var* igs = nullptr;
  if (FAILED(RetrieveIGList(&igs)) || !igs)
    return E_FAIL;
  KOROwnedList owned(igs);
  FSReference reference{mainWindow, ScreenKind::None, {}};
  KORIVrcProjectionArea_var mainArea;
  KORIVrcCameraView_var mainCamera;
  if (GetProjectionAreaOnMainWindow(mainArea.Out()))
    reference = {mainWindow, ScreenKind::Screen, CornersOfArea(mainArea)};
  else if (GetCameraOnMainWindow(mainCamera.Out()))
    reference = {mainWindow, ScreenKind::Camera, CornersOf(mainCamera)};
  for (const KORBaseUnknown_var& entry : *owned)
    if (FAILED(WriteFSDesktop(ioText, KORQuery<KORIVrcIG>(entry).get(), reference)))
      result = E_FAIL;
  return result;
}

std::optional<KOREVrcConfigure::WindowsByView> KOREVrcConfigure::WindowsShowingViews() {
  KORListValKORBaseUnknown_var* igs = nullptr;
  if (FAILED(RetrieveIGList(&igs)) || !igs)
    return std::nullopt;
  KOROwnedList owned(igs);
  KORIVrcWindow_var mainWindow;
  if (FAILED(RetrieveMainWindow(mainWindow.Out())))
    mainWindow = nullptr;
  WindowsByView windowsByView;
  for (const KORBaseUnknown_var& igEntry : *owned) {
    KOROwnedList windows = WindowsOf(KORQuery<KORIVrcIG>(igEntry).get());
    for (const KORBaseUnknown_var& windowEntry : *windows) {
      auto window = KORQuery<KORIVrcWindow>(windowEntry);
      if (auto view = KORQuery<KORBaseUnknown>(ViewOf(window));
          view && !CompareInterfacePointers(window, mainWindow))
        windowsByView[view.get()].push_back(window);
    }
  }
  return windowsByView;
}

HRESULT KOREVrcConfigure::WriteFSScreen(KORVrcText& ioText, KORIVrcView* iView,
                                        KORIVrcWindow* iWindow,
                                        const std::optional<KORMathTransformation>& iModelToFS) {
  if (!iView || !iWindow)
    return E_FAIL;
  const KORUnicodeString screenName = NameOf(iView) + "_" + NameOf(iWindow);
  OpenBlock(*this, ioText, "<screen ", screenName, ">");
  Line(*this, ioText) << "#real coordinates : UL ; LL ; LR";
  if (!iModelToFS)
    return E_FAIL;
  const KORMathTransformation& modelToFS = *iModelToFS;

  Corners corners;
  const ScreenKind kind = CornersOf(*this, iView, corners);
  if (kind != ScreenKind::None) {
    Line(*this, ioText) << "physicalPos " << modelToFS * corners.ul << " ; "
                        << modelToFS * corners.ll << " ; " << modelToFS * corners.lr;
    Line(*this, ioText) << "extentsInDisplay 0 0 ; 1 1";
    Line(*this, ioText) << (kind == ScreenKind::Screen ? "isStatic Yes" : "isStatic No");
    OpenBlock(*this, ioText, "<projectedImage Proj_", screenName, ">");
    Line(*this, ioText) << "extentsInScreen 0. 0. ; 1. 1.";
    Line(*this, ioText) << MirrorWord(MirrorModeOf(iWindow));
    CloseBlock(*this, ioText, "</projectedImage>");
  }
  CloseBlock(*this, ioText, "</screen >");
  return kind == ScreenKind::None ? E_FAIL : S_OK;
}

HRESULT KOREVrcConfigure::WriteFSDesktop(KORVrcText& ioText, KORIVrcIG* iIG,
                                         const FSReference& iReference) {
  KORUnicodeString host, display;
  if (!iIG || FAILED(iIG->GetHostName(host)) || FAILED(iIG->GetDisplayName(display)))
    return E_FAIL;
  const PixelSize size = PixelSizeOf(iIG);
  KORIVrcWindow* mainWindow = iReference.mainWindow;
  KOROwnedList windows = WindowsOf(iIG);

  // The desktop's extents cover the viewports of the windows it writes; the
  // bounds are kept as integers but compared with the unrounded positions.
  int minX = size.width, maxRight = 0, minY = size.height, maxTop = 0;
  bool anyWindow = false;
  for (const KORBaseUnknown_var& entry : *windows) {
    auto window = KORQuery<KORIVrcWindow>(entry);
    const std::optional<Viewport> viewport = ValuesOf(ViewportOf(window));
    if (!window || CompareInterfacePointers(window, mainWindow) || !viewport)
      continue;
    anyWindow = true;
    const double x = viewport->x * size.width, y = viewport->y * size.height;
    const double right = x + viewport->w * size.width, top = y + viewport->h * size.height;
    if (x < minX)
      minX = static_cast<int>(x);
    if (right > maxRight)
      maxRight = static_cast<int>(right);
    if (y < minY)
      minY = static_cast<int>(y);
    if (top > maxTop)
      maxTop = static_cast<int>(top);
  }
  if (!anyWindow)
    return S_OK;

  OpenBlock(*this, ioText, "<desktop ", host, display, ">");
  OpenBlock(*this, ioText, "<window Window_", host, WithoutSeparators(display), ">");
  Line(*this, ioText) << "extentsInDesktop " << minX << " " << size.height - maxTop << " ; "
                      << maxRight << " " << size.height - minY;
  HRESULT result = S_OK;
  for (const KORBaseUnknown_var& entry : *windows) {
    auto window = KORQuery<KORIVrcWindow>(entry);
    if (!window || CompareInterfacePointers(window, mainWindow))
      continue;
    _desktopOffsetX = static_cast<float>(minX);
    _desktopOffsetY = static_cast<float>(size.height - maxTop);
    if (FAILED(WriteFSVideoOutput(ioText, window, size.width, size.height, iReference)))
      result = E_FAIL;
  }
  CloseBlock(*this, ioText, "</window>");
  CloseBlock(*this, ioText, "</desktop>");
  // Desktops are set apart by an empty line.
  ioText << '\n';
  return result;
}

HRESULT KOREVrcConfigure::WriteFSVideoOutput(KORVrcText& ioText, KORIVrcWindow* iWindow,
                                             int iPixelWidth, int iPixelHeight,
                                             const FSReference& iReference) {
  if (!iWindow)
    return E_FAIL;
  const KORUnicodeString windowName = NameOf(iWindow);
  OpenBlock(*this, ioText, "<videoOutput VO_", windowName, ">");
  if (auto view = ViewOf(iWindow))
    Line(*this, ioText) << "projectedImageName Proj_" << NameOf(view) << "_" << windowName;

  HRESULT result = E_FAIL;
  const std::optional<Viewport> viewport = ValuesOf(ViewportOf(iWindow));
  const PixelSize size{iPixelWidth, iPixelHeight};
  if (viewport && size.width && size.height && viewport->w && viewport->h) {
    // Viewports start at the bottom, pixels at the top: flip vertically.
    const int left = static_cast<int>(viewport->x * size.width);
    const int right = static_cast<int>((viewport->x + viewport->w) * size.width);
    const int top = static_cast<int>((1.0 - viewport->y - viewport->h) * size.height);
    const int bottom = static_cast<int>((1.0 - viewport->y) * size.height);
    Line(*this, ioText) << "extentsInWindow " << Relative(left, _desktopOffsetX) << " "
                        << Relative(top, _desktopOffsetY) << " ; "
                        << Relative(right, _desktopOffsetX) << " "
                        << Relative(bottom, _desktopOffsetY);
    // The channel is placed relative to its own video output.
    _desktopOffsetX = static_cast<float>(left);
    _desktopOffsetY = static_cast<float>(top);
    result = WriteFSChannel(ioText, iWindow, windowName, left, top, right, bottom, iReference);
  }
  CloseBlock(*this, ioText, "</videoOutput>");
  return result;
}

HRESULT KOREVrcConfigure::WriteFSChannel(KORVrcText& ioText, KORIVrcWindow* iWindow,
                                         const KORUnicodeString& iName, int iLeft, int iTop,
                                         int iRight, int iBottom, const FSReference& iReference) {
  if (!iWindow)
    return E_FAIL;
  OpenBlock(*this, ioText, "<channel Channel_", iName, ">");
  Line(*this, ioText) << "extentsInVideoOutput  " << Relative(iLeft, _desktopOffsetX) << " "
                      << Relative(iTop, _desktopOffsetY) << " ; "
                      << Relative(iRight, _desktopOffsetX) << " "
                      << Relative(iBottom, _desktopOffsetY);
  HRESULT result = WriteFSOverlayChannel(ioText, iWindow, iLeft, iTop, iRight, iBottom, iReference);
  if (SUCCEEDED(result))
    result = WriteFSChannelStereoSection(ioText, iWindow);
  CloseBlock(*this, ioText, "</channel>");
  return result;
}

HRESULT KOREVrcConfigure::WriteFSOverlayChannel(KORVrcText& ioText, KORIVrcWindow* iWindow,
                                                int iLeft, int iTop, int iRight, int iBottom,
                                                const FSReference& iReference) {
  Corners mine;
  const ScreenKind myKind = CornersOf(*this, ViewOf(iWindow).get(), mine);
  if (myKind == ScreenKind::None)
    return E_FAIL;
  const Corners& reference = iReference.corners;
  // Only a screen lying on the main window's screen overlaps it.
  if (myKind != iReference.kind)
    return S_OK;
  if (myKind == ScreenKind::Screen) {
    KORMathPlane plane;
    if (FAILED(KORMathPlane::CreateThroughPoints(mine.ll, mine.lr, mine.ul, plane)))
      return E_FAIL;
    for (const KORMathPoint& corner : {reference.ul, reference.ll, reference.lr})
      if (plane.DistanceTo(corner) > kPlaneTolerance)
        return S_OK;
  }

  // The main screen's corners in this screen's (u, v) coordinates, 0 to 1
  // across this screen.
  const KORMathVector u = mine.lr - mine.ll;
  const KORMathVector v = mine.ul - mine.ll;
  const double uu = u * u, vv = v * v;
  if (uu < kPlaneTolerance || vv < kPlaneTolerance)
    return E_FAIL;
  const auto uOf = [&](const KORMathPoint& iP) {
    return static_cast<float>(((iP - mine.ll) * u) / uu);
  };
  const auto vOf = [&](const KORMathPoint& iP) {
    return static_cast<float>(((iP - mine.ll) * v) / vv);
  };
  const float uA = uOf(reference.ll), uB = uOf(reference.lr), vA = vOf(reference.ll),
              vB = vOf(reference.ul);
  const float cuA = std::clamp(uA, 0.0f, 1.0f), cuB = std::clamp(uB, 0.0f, 1.0f);
  const float cvA = std::clamp(vA, 0.0f, 1.0f), cvB = std::clamp(vB, 0.0f, 1.0f);

  const float left = static_cast<float>(iLeft), top = static_cast<float>(iTop);
  const float width = static_cast<float>(iRight - iLeft);
  const float height = static_cast<float>(iBottom - iTop);
  Line(*this, ioText) << "overlayExtentsInVideoOutput "
                      << Relative(left + cuA * width, _desktopOffsetX) << " "
                      << Relative(top + cvA * height, _desktopOffsetY) << " ; "
                      << Relative(left + cuB * width, _desktopOffsetX) << " "
                      << Relative(top + cvB * height, _desktopOffsetY);

  const float du = uB - uA, dv = vB - vA;
  if (std::fabs(du) < kPlaneTolerance || std::fabs(dv) < kPlaneTolerance)
    return E_FAIL;
  Line(*this, ioText) << "overlayExtentsInOverlaySpace " << KORVrcFixed8{(cuA - uA) / du} << " "
                      << KORVrcFixed8{(cvA - vA) / dv} << " ; " << KORVrcFixed8{(cuB - uA) / du}
                      << " " << KORVrcFixed8{(cvB - vA) / dv};
  return S_OK;
}

HRESULT KOREVrcConfigure::WriteFSChannelStereoSection(KORVrcText& ioText, KORIVrcWindow* iWindow) {
  const std::optional<KORVrcRenderingMode> mode = RenderingModeOf(iWindow);
  if (!mode)
    return E_FAIL;
  switch (*mode) {
  case KORVrcRenderingMono:
    Line(*this, ioText) << "viewpoint User1 Mono";
    return S_OK;
  case KORVrcRenderingLeft:
    Line(*this, ioText) << "viewpoint User1 Left";
    return S_OK;
  case KORVrcRenderingRight:
    Line(*this, ioText) << "viewpoint User1 Right";
    return S_OK;
  case KORVrcRenderingStereo:
    Line(*this, ioText) << "viewpointQuadBufferLeft User1 Left";
    Line(*this, ioText) << "viewpointQuadBufferRight User1 Right";
    return S_OK;
  default:
    return E_FAIL;
  }
}
