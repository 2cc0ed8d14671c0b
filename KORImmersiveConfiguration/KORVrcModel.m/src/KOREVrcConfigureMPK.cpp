// The multipipe configuration file: a global block, a config block with one
// pipe per image generator (a window and a channel per window, the channel's
// wall in the multipipe frame), the automatic compounds that bind channels to
// eyes, and a commented userdata block describing the tracker frame.
//
// Window viewports, walls and tracker vectors are printed in single precision
// because the runtime reads them as floats; printing the float keeps the file
// identical to what the runtime will use.
#include "KOREVrcConfigure.h"

#include "KORVrcTools.h"
#include "interfaces/KORIVrcCameraView.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcRenderingSpec.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcViewport.h"
#include "interfaces/KORIVrcWindow.h"

#include <array>
#include <iomanip>
#include <memory>
#include <optional>

namespace {

constexpr double DefaultIPD = 57.0;

void SetNumberFormat(std::ostream& ioStream) {
  ioStream << std::fixed << std::setprecision(8);
}

KORUnicodeString NameOf(KORIVrcElement* iElement) {
  return ReadValue(iElement, &KORIVrcElement::GetName);
}

KORUnicodeString Quoted(const KORUnicodeString& iText) {
  return '"' + iText + '"';
}

// The rendering mode, nothing without a rendering specification.
std::optional<KORVrcRenderingMode> ModeOf(const KORIVrcRenderingSpec_var& iSpec) {
  KORVrcRenderingMode mode = KORVrcRenderingMono;
  if (!iSpec || FAILED(iSpec->GetRenderingMode(&mode)))
    return std::nullopt;
  return mode;
}

// Mono, left and right windows are the ones that need the stereo hint and may
// get an EYE compound; active-stereo windows render both eyes themselves.
bool IsSingleEye(std::optional<KORVrcRenderingMode> iMode) {
  return iMode && *iMode >= KORVrcRenderingMono && *iMode <= KORVrcRenderingRight;
}

// The eye a channel renders first; an active-stereo channel starts with the
// right eye and gets a second region for the left one.
const char* EyeOf(KORVrcRenderingMode iMode) {
  switch (iMode) {
  case KORVrcRenderingMono:
    return "CYCLOP";
  case KORVrcRenderingLeft:
    return "LEFT";
  default:
    return "RIGHT";
  }
}

void WriteCorner(std::ostream& ioStream, const char* iLabel,
                 const KORMathTransformation& iTransformation, const KORMathPoint& iCorner) {
  const KORMathPoint mapped = iTransformation * iCorner;
  ioStream << iLabel << KORVrcFixed8{static_cast<float>(mapped.GetX())} << ", "
           << KORVrcFixed8{static_cast<float>(mapped.GetY())} << ", "
           << KORVrcFixed8{static_cast<float>(mapped.GetZ())} << " ]";
}

void WriteTrackerVector(std::ostream& ioStream, const char* iLabel, double iX, double iY,
                        double iZ) {
  ioStream << iLabel << KORVrcFixed8{static_cast<float>(iX)} << ','
           << KORVrcFixed8{static_cast<float>(iY)} << ',' << KORVrcFixed8{static_cast<float>(iZ)}
           << "]\n";
}
} // namespace

HRESULT KOREVrcConfigure::GenerateMPK(std::ostream& ioStream, KORUnicodeString& oMessages,
                                      unsigned char iWrite) {
  const RenderingMemo renderings(*this);
  oMessages.clear();
  HRESULT result = RetrieveCommonPointers();
  if (FAILED(StartMessages(oMessages)))
    return E_FAIL;
  ResetIndent();

  KORIVrcWindow_var mainWindow;
  if (FAILED(RetrieveMainWindow(mainWindow.Out()))) {
    AddError(oMessages, "NoMainWindow");
    result = E_FAIL;
  }
  if (!CheckOnlyLocalIGs()) {
    AddWarning(oMessages, "DistantIGs");
    result = E_FAIL;
  }
  bool stereo = false;
  if (FAILED(IsActiveStereoMode(stereo)))
    result = E_FAIL;
  if (FAILED(result) || !iWrite)
    return result;

  SetNumberFormat(ioStream);
  ioStream << "global";
  if (FAILED(WriteMPKGeneralInformations(ioStream, stereo)))
    result = E_FAIL;
  KORListValKORBaseUnknown_var* igs = nullptr;
  if (FAILED(RetrieveIGList(&igs)) || !igs) {
    result = E_FAIL;
  } else {
    KOROwnedList owned(igs);
    for (const KORBaseUnknown_var& entry : *owned) {
      auto ig = KORQuery<KORIVrcIG>(entry);
      if (!ig || FAILED(WriteMPKPipeInformations(ioStream, ig, mainWindow, stereo)))
        result = E_FAIL;
    }
  }
  IndentLeft(ioStream);
  KORIgnoreResult(WriteMPKTrackingInformations(ioStream),
                  "the tracker frame is optional: without it the runtime keeps its own");
  return result;
}

// The global block and the head of the config block, up to the blank line
// that precedes the pipes; leaves the level inside the config block.
HRESULT KOREVrcConfigure::WriteMPKGeneralInformations(std::ostream& ioStream, bool iStereo) {
  if (!_config)
    return E_FAIL;
  double ipd = DefaultIPD;
  if (!_head || FAILED(_head->GetIPD(&ipd)))
    ipd = DefaultIPD;

  SetNumberFormat(ioStream);
  IndentRight(ioStream);
  Indent(ioStream);
  ioStream << "MPK_WATTR_PLANES_ALPHA  1";
  Indent(ioStream);
  ioStream << "MPK_DEFAULT_EYE_OFFSET " << KORVrcFixed8{ipd};
  if (iStereo) {
    Indent(ioStream);
    ioStream << "MPK_WATTR_HINTS_STEREO  1";
  }
  IndentLeft(ioStream);
  Indent(ioStream);
  Indent(ioStream);
  ioStream << "config";
  IndentRight(ioStream);
  Indent(ioStream);
  ioStream << "name " << Quoted(NameOf(_config));
  Indent(ioStream);
  ioStream << (iStereo ? "mode stereo" : "mode mono");
  Indent(ioStream);
  ioStream << "mono [ \"\", none ]";
  Indent(ioStream);
  ioStream << "stereo [ \"\", quad ]";
  Indent(ioStream);
  return S_OK;
}

HRESULT KOREVrcConfigure::WriteMPKPipeInformations(std::ostream& ioStream, KORIVrcIG* iIG,
                                                   KORIVrcWindow* iMainWindow, bool iStereo) {
  KORListValKORBaseUnknown_var* list = nullptr;
  if (!iIG || FAILED(iIG->GetWindows(&list)) || !list)
    return E_FAIL;
  KOROwnedList windows(list);
  if (windows->IsEmpty())
    return S_OK;
  HRESULT result = ReOrderWindows(*windows, iMainWindow);

  Indent(ioStream);
  ioStream << "pipe";
  IndentRight(ioStream);
  Indent(ioStream);
  ioStream << "display  " << Quoted(NameOf(iIG));
  for (const KORBaseUnknown_var& entry : *windows) {
    auto window = KORQuery<KORIVrcWindow>(entry);
    if (!window || FAILED(WriteMPKWindowInformations(ioStream, window, iStereo)))
      result = E_FAIL;
  }
  IndentLeft(ioStream);

  for (const KORBaseUnknown_var& entry : *windows)
    if (auto window = KORQuery<KORIVrcWindow>(entry);
        window && FAILED(WriteMPKAutoHMDCompoundInformations(ioStream, window)))
      result = E_FAIL;
  for (const KORBaseUnknown_var& entry : *windows)
    if (auto window = KORQuery<KORIVrcWindow>(entry);
        window && FAILED(WriteMPKAutoEYECompoundInformations(ioStream, window, iStereo)))
      result = E_FAIL;
  return result;
}

HRESULT KOREVrcConfigure::WriteMPKWindowInformations(std::ostream& ioStream, KORIVrcWindow* iWindow,
                                                     bool iStereo) {
  if (!ViewOf(iWindow))
    return E_FAIL;
  Indent(ioStream);
  ioStream << "window";
  IndentRight(ioStream);
  Indent(ioStream);
  ioStream << "name  " << Quoted(NameOf(iWindow));
  if (iStereo && IsSingleEye(ModeOf(SpecOf(iWindow)))) {
    Indent(ioStream);
    ioStream << "attributes { hints { stereo n} }";
  }

  HRESULT result = S_OK;
  KORIVrcViewport_var viewport;
  if (SUCCEEDED(iWindow->GetViewport(viewport.Out()))) {
    // A viewport that cannot be read is written empty.
    double left = 0, top = 0, width = 0, height = 0;
    if (FAILED(viewport->GetViewport(&left, &top, &width, &height)))
      left = top = width = height = 0;
    Indent(ioStream);
    ioStream << "viewport  [" << KORVrcFixed8{static_cast<float>(left)} << ", "
             << KORVrcFixed8{static_cast<float>(top)} << ", "
             << KORVrcFixed8{static_cast<float>(width)} << ", "
             << KORVrcFixed8{static_cast<float>(height)} << " ]";
    result = WriteMPKChannelInformations(ioStream, iWindow);
  }
  IndentLeft(ioStream);
  return result;
}

HRESULT KOREVrcConfigure::WriteMPKChannelInformations(std::ostream& ioStream,
                                                      KORIVrcWindow* iWindow) {
  SetNumberFormat(ioStream);
  Indent(ioStream);
  ioStream << "channel";
  IndentRight(ioStream);
  Indent(ioStream);
  ioStream << "name " << Quoted(NameOf(iWindow));

  // A mirrored projector is compensated by flipping the channel's viewport.
  double flipX = 1.0, flipY = 1.0;
  if (auto spec = SpecOf(iWindow)) {
    MirrorEffectOnViewport(
        ReadValue(spec.get(), &KORIVrcRenderingSpec::GetMirrorMode, KORVrcMirrorNone), flipX,
        flipY);
  }
  Indent(ioStream);
  ioStream << "viewport [ 0., 0., " << KORVrcFixed8{static_cast<float>(flipX)} << ", "
           << KORVrcFixed8{flipY} << " ]";

  KORMathTransformation headToMPK, axes;
  const HRESULT result = ComputeMatrix(headToMPK, axes);
  if (FAILED(result))
    headToMPK = axes = KORMathTransformation();

  // Walls are given in the multipipe frame: a screen relative to the head's
  // rest position, a camera's unit-distance frustum relative to the eye.
  auto writeWall = [&](const KORMathTransformation& iToMPK, const KORMathPoint& iBottomLeft,
                       const KORMathPoint& iBottomRight, const KORMathPoint& iTopLeft) {
    IndentRight(ioStream);
    Indent(ioStream);
    WriteCorner(ioStream, "bottom_left    [", iToMPK, iBottomLeft);
    Indent(ioStream);
    WriteCorner(ioStream, "bottom_right  [", iToMPK, iBottomRight);
    Indent(ioStream);
    WriteCorner(ioStream, "top_left    [", iToMPK, iTopLeft);
    IndentLeft(ioStream);
  };
  const KORIVrcView_var view = ViewOf(iWindow);
  if (auto screen = KORQuery<KORIVrcScreenView>(view)) {
    Indent(ioStream);
    ioStream << "wall";
    KORIVrcProjectionArea_var area;
    if (SUCCEEDED(screen->GetProjectionArea(area.Out()))) {
      const AreaCorners corners = CornersOfArea(area);
      writeWall(headToMPK, corners.ll, corners.lr, corners.ul);
    }
  } else if (auto camera = KORQuery<KORIVrcCameraView>(view)) {
    // A frustum that cannot be read is a point straight ahead.
    double left = 0, right = 0, top = 0, bottom = 0;
    if (FAILED(camera->GetFrustum(left, right, top, bottom)))
      left = right = top = bottom = 0;
    Indent(ioStream);
    ioStream << "wall";
    writeWall(axes, KORMathPoint(1, left, bottom), KORMathPoint(1, right, bottom),
              KORMathPoint(1, left, top));
  }
  IndentLeft(ioStream);
  return result;
}

namespace {
void WriteRegion(KOREVrcConfigure& ioWriter, std::ostream& ioStream, const char* iEye,
                 const KORUnicodeString& iChannel) {
  ioWriter.Indent(ioStream);
  ioStream << "region";
  ioWriter.IndentRight(ioStream);
  ioWriter.Indent(ioStream);
  ioStream << "eye       " << iEye;
  ioWriter.Indent(ioStream);
  ioStream << "channel   " << Quoted(iChannel);
  ioWriter.IndentLeft(ioStream);
}
} // namespace

HRESULT KOREVrcConfigure::WriteMPKAutoHMDCompoundInformations(std::ostream& ioStream,
                                                              KORIVrcWindow* iWindow) {
  const auto mode = ModeOf(SpecOf(iWindow));
  if (!KORQuery<KORIVrcCameraView>(ViewOf(iWindow)) || !mode)
    return S_OK;
  const KORUnicodeString channel = NameOf(iWindow);
  Indent(ioStream);
  ioStream << "compound";
  IndentRight(ioStream);
  Indent(ioStream);
  ioStream << "mode    [ HMD ]";
  WriteRegion(*this, ioStream, EyeOf(*mode), channel);
  if (*mode == KORVrcRenderingStereo)
    WriteRegion(*this, ioStream, "LEFT", channel);
  IndentLeft(ioStream);
  return S_OK;
}

HRESULT KOREVrcConfigure::WriteMPKAutoEYECompoundInformations(std::ostream& ioStream,
                                                              KORIVrcWindow* iWindow,
                                                              bool iStereo) {
  const auto mode = ModeOf(SpecOf(iWindow));
  // A mono window of a mono configuration needs no compound: the runtime's
  // default already renders the centre eye.
  if (!IsSingleEye(mode) || !IsTheWindowAttachToScreenView(iWindow) ||
      (*mode == KORVrcRenderingMono && !iStereo))
    return S_OK;
  Indent(ioStream);
  ioStream << "compound";
  IndentRight(ioStream);
  Indent(ioStream);
  ioStream << "mode    [ EYE ]";
  WriteRegion(*this, ioStream, EyeOf(*mode), NameOf(iWindow));
  IndentLeft(ioStream);
  return S_OK;
}

// S_FALSE, writing nothing, when the head is not tracked.
HRESULT KOREVrcConfigure::WriteMPKTrackingInformations(std::ostream& ioStream) {
  KORIVrcTracker_var tracker;
  KORMathTransformation headToMPK, axes;
  if (FAILED(RetrieveViewPointTracker(tracker.Out())) || !tracker ||
      !KORQuery<KORIVrcTrackedElement>(_head) || FAILED(ComputeMatrix(headToMPK, axes)))
    return S_FALSE;
  double ipd = DefaultIPD;
  if (FAILED(_head->GetIPD(&ipd)))
    ipd = DefaultIPD;

  // The fixed tracker frame is the station's reference frame (identity for a
  // tracker outside any station), seen from the multipipe frame.
  KORMathTransformation stationRef;
  KORIVrcTrackingStation_var station;
  if (SUCCEEDED(tracker->GetTrackingStation(station.Out())) && FAILED(station->GetRef(stationRef)))
    stationRef = KORMathTransformation();
  const KORMathVector trackerX = headToMPK * (stationRef * KORMathVector(1, 0, 0));
  const KORMathVector trackerY = headToMPK * (stationRef * KORMathVector(0, 1, 0));
  const KORMathPoint origin = headToMPK * (stationRef * KORMathPoint(0, 0, 0));

  SetNumberFormat(ioStream);
  ioStream << "\n# All dimensions are to be specified in mm.\n"
           << "# - eye-offset specifies the eye coordinates in the mobile tracker frame\n"
           << "# - IPD is the inter-pupillary distance\n"
           << "# - the tracker related data describe the fixed tracker frame in the MPK global "
              "frame\n"
           << "# - MPK_unit_in_mm defines the MPK data unit.\n"
           << "# userdata\n"
           << "#{\n"
           << "#      eye-offset        [" << 0 << ',' << 0 << ',' << 0 << "]\n"
           << "#      IPD               " << KORVrcFixed8{ipd} << '\n';
  WriteTrackerVector(ioStream, "#      tracker-X         [", trackerX.GetX(), trackerX.GetY(),
                     trackerX.GetZ());
  WriteTrackerVector(ioStream, "#      tracker-Y         [", trackerY.GetX(), trackerY.GetY(),
                     trackerY.GetZ());
  WriteTrackerVector(ioStream, "#      tracker-origin    [", origin.GetX(), origin.GetY(),
                     origin.GetZ());
  ioStream << "#      MPK_unit_in_mm    1 \n"
           << "#}\n";
  return S_OK;
}
