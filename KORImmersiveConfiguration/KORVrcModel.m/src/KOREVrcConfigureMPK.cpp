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
#include <memory>
#include <optional>

namespace {

constexpr double DefaultIPD = 57.0;

// More than the text of a pipe with one window; pipes of several windows
// make the text grow beyond it.
constexpr std::size_t kTextPerImageGenerator = 1024;

KORUnicodeString NameOf(KORIVrcElement* iElement) {
  return ReadValue(iElement, &KORIVrcElement::GetName);
}

KORUnicodeString Quoted(const KORUnicodeString& iText) {
  return '"' + iText + '"';
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

void WriteCorner(KORVrcText& ioText, const char* iLabel,
                 const KORMathTransformation& iTransformation, const KORMathPoint& iCorner) {
  const KORMathPoint mapped = iTransformation * iCorner;
  ioText << iLabel << KORVrcFixed8{static_cast<float>(mapped.GetX())} << ", "
         << KORVrcFixed8{static_cast<float>(mapped.GetY())} << ", "
         << KORVrcFixed8{static_cast<float>(mapped.GetZ())} << " ]";
}

void WriteTrackerVector(KORVrcText& ioText, const char* iLabel, double iX, double iY, double iZ) {
  ioText << iLabel << KORVrcFixed8{static_cast<float>(iX)} << ','
         << KORVrcFixed8{static_cast<float>(iY)} << ',' << KORVrcFixed8{static_cast<float>(iZ)}
         << "]\n";
}
} // namespace

HRESULT KOREVrcConfigure::GenerateMPK(std::ostream& ioStream, KORUnicodeString& oMessages,
                                      unsigned char iWrite) {
  return StreamFile(&KOREVrcConfigure::WriteMPKFile, ioStream, oMessages, iWrite);
}

HRESULT KOREVrcConfigure::WriteMPKFile(KORVrcText& ioText, KORUnicodeString& oMessages,
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

  ioText << "global";
  if (FAILED(WriteMPKGeneralInformations(ioText, stereo)))
    result = E_FAIL;
  KORListValKORBaseUnknown_var* igs = nullptr;
  if (FAILED(RetrieveIGList(&igs)) || !igs) {
    result = E_FAIL;
  } else {
    KOROwnedList owned(igs);
    ioText.Reserve(static_cast<std::size_t>(owned->Size()) * kTextPerImageGenerator);
    for (const KORBaseUnknown_var& entry : *owned) {
      auto ig = KORQuery<KORIVrcIG>(entry);
      if (!ig || FAILED(WriteMPKPipeInformations(ioText, ig, mainWindow, stereo)))
        result = E_FAIL;
    }
  }
  IndentLeft(ioText);
  KORIgnoreResult(WriteMPKTrackingInformations(ioText),
                  "the tracker frame is optional: without it the runtime keeps its own");
  return result;
}

// The global block and the head of the config block, up to the blank line
// that precedes the pipes; leaves the level inside the config block.
HRESULT KOREVrcConfigure::WriteMPKGeneralInformations(KORVrcText& ioText, bool iStereo) {
  if (!_config)
    return E_FAIL;
  double ipd = DefaultIPD;
  if (!_head || FAILED(_head->GetIPD(&ipd)))
    ipd = DefaultIPD;

  IndentRight(ioText);
  Indent(ioText);
  ioText << "MPK_WATTR_PLANES_ALPHA  1";
  Indent(ioText);
  ioText << "MPK_DEFAULT_EYE_OFFSET " << KORVrcFixed8{ipd};
  if (iStereo) {
    Indent(ioText);
    ioText << "MPK_WATTR_HINTS_STEREO  1";
  }
  IndentLeft(ioText);
  Indent(ioText);
  Indent(ioText);
  ioText << "config";
  IndentRight(ioText);
  Indent(ioText);
  ioText << "name " << Quoted(NameOf(_config));
  Indent(ioText);
  ioText << (iStereo ? "mode stereo" : "mode mono");
  Indent(ioText);
  ioText << "mono [ \"\", none ]";
  Indent(ioText);
  ioText << "stereo [ \"\", quad ]";
  Indent(ioText);
  return S_OK;
}

HRESULT KOREVrcConfigure::WriteMPKPipeInformations(KORVrcText& ioText, KORIVrcIG* iIG,
                                                   KORIVrcWindow* iMainWindow, bool iStereo) {
  KORListValKORBaseUnknown_var* list = nullptr;
  if (!iIG || FAILED(iIG->GetWindows(&list)) || !list)
    return E_FAIL;
  KOROwnedList windows(list);
  if (windows->IsEmpty())
    return S_OK;
  HRESULT result = ReOrderWindows(*windows, iMainWindow);

  Indent(ioText);
  ioText << "pipe";
  IndentRight(ioText);
  Indent(ioText);
  ioText << "display  " << Quoted(NameOf(iIG));
  for (const KORBaseUnknown_var& entry : *windows) {
    auto window = KORQuery<KORIVrcWindow>(entry);
    if (!window || FAILED(WriteMPKWindowInformations(ioText, window, iStereo)))
      result = E_FAIL;
  }
  IndentLeft(ioText);

  for (const KORBaseUnknown_var& entry : *windows)
    if (auto window = KORQuery<KORIVrcWindow>(entry);
        window && FAILED(WriteMPKAutoHMDCompoundInformations(ioText, window)))
      result = E_FAIL;
  for (const KORBaseUnknown_var& entry : *windows)
    if (auto window = KORQuery<KORIVrcWindow>(entry);
        window && FAILED(WriteMPKAutoEYECompoundInformations(ioText, window, iStereo)))
      result = E_FAIL;
  return result;
}

HRESULT KOREVrcConfigure::WriteMPKWindowInformations(KORVrcText& ioText, KORIVrcWindow* iWindow,
                                                     bool iStereo) {
  if (!ViewOf(iWindow))
    return E_FAIL;
  const KORUnicodeString name = NameOf(iWindow);
  Indent(ioText);
  ioText << "window";
  IndentRight(ioText);
  Indent(ioText);
  ioText << "name  " << Quoted(name);
  if (iStereo && IsSingleEye(RenderingModeOf(iWindow))) {
    Indent(ioText);
    ioText << "attributes { hints { stereo n} }";
  }

  HRESULT result = S_OK;
  if (const WindowViewport viewport = ViewportOf(iWindow); viewport.linked) {
    // A viewport that cannot be read is written empty.
    const auto [left, top, width, height] = viewport.values.value_or(std::array<double, 4>{});
    Indent(ioText);
    ioText << "viewport  [" << KORVrcFixed8{static_cast<float>(left)} << ", "
           << KORVrcFixed8{static_cast<float>(top)} << ", "
           << KORVrcFixed8{static_cast<float>(width)} << ", "
           << KORVrcFixed8{static_cast<float>(height)} << " ]";
    result = WriteMPKChannelInformations(ioText, iWindow, name);
  }
  IndentLeft(ioText);
  return result;
}

HRESULT KOREVrcConfigure::WriteMPKChannelInformations(KORVrcText& ioText, KORIVrcWindow* iWindow,
                                                      const KORUnicodeString& iName) {
  Indent(ioText);
  ioText << "channel";
  IndentRight(ioText);
  Indent(ioText);
  ioText << "name " << Quoted(iName);

  // A mirrored projector is compensated by flipping the channel's viewport.
  double flipX = 1.0, flipY = 1.0;
  MirrorEffectOnViewport(MirrorModeOf(iWindow).value_or(KORVrcMirrorNone), flipX, flipY);
  Indent(ioText);
  ioText << "viewport [ 0., 0., " << KORVrcFixed8{static_cast<float>(flipX)} << ", "
         << KORVrcFixed8{flipY} << " ]";

  KORMathTransformation headToMPK, axes;
  const HRESULT result = ComputeMatrix(headToMPK, axes);
  if (FAILED(result))
    headToMPK = axes = KORMathTransformation();

  // Walls are given in the multipipe frame: a screen relative to the head's
  // rest position, a camera's unit-distance frustum relative to the eye.
  auto writeWall = [&](const KORMathTransformation& iToMPK, const KORMathPoint& iBottomLeft,
                       const KORMathPoint& iBottomRight, const KORMathPoint& iTopLeft) {
    IndentRight(ioText);
    Indent(ioText);
    WriteCorner(ioText, "bottom_left    [", iToMPK, iBottomLeft);
    Indent(ioText);
    WriteCorner(ioText, "bottom_right  [", iToMPK, iBottomRight);
    Indent(ioText);
    WriteCorner(ioText, "top_left    [", iToMPK, iTopLeft);
    IndentLeft(ioText);
  };
  const KORIVrcView_var view = ViewOf(iWindow);
  if (auto screen = KORQuery<KORIVrcScreenView>(view)) {
    Indent(ioText);
    ioText << "wall";
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
    Indent(ioText);
    ioText << "wall";
    writeWall(axes, KORMathPoint(1, left, bottom), KORMathPoint(1, right, bottom),
              KORMathPoint(1, left, top));
  }
  IndentLeft(ioText);
  return result;
}

namespace {
void WriteRegion(KOREVrcConfigure& ioWriter, KORVrcText& ioText, const char* iEye,
                 const KORUnicodeString& iChannel) {
  ioWriter.Indent(ioText);
  ioText << "region";
  ioWriter.IndentRight(ioText);
  ioWriter.Indent(ioText);
  ioText << "eye       " << iEye;
  ioWriter.Indent(ioText);
  ioText << "channel   " << Quoted(iChannel);
  ioWriter.IndentLeft(ioText);
}
} // namespace

HRESULT KOREVrcConfigure::WriteMPKAutoHMDCompoundInformations(KORVrcText& ioText,
                                                              KORIVrcWindow* iWindow) {
  const auto mode = RenderingModeOf(iWindow);
  if (!KORQuery<KORIVrcCameraView>(ViewOf(iWindow)) || !mode)
    return S_OK;
  const KORUnicodeString channel = NameOf(iWindow);
  Indent(ioText);
  ioText << "compound";
  IndentRight(ioText);
  Indent(ioText);
  ioText << "mode    [ HMD ]";
  WriteRegion(*this, ioText, EyeOf(*mode), channel);
  if (*mode == KORVrcRenderingStereo)
    WriteRegion(*this, ioText, "LEFT", channel);
  IndentLeft(ioText);
  return S_OK;
}

HRESULT KOREVrcConfigure::WriteMPKAutoEYECompoundInformations(KORVrcText& ioText,
                                                              KORIVrcWindow* iWindow,
                                                              bool iStereo) {
  const auto mode = RenderingModeOf(iWindow);
  // A mono window of a mono configuration needs no compound: the runtime's
  // default already renders the centre eye.
  if (!IsSingleEye(mode) || !IsTheWindowAttachToScreenView(iWindow) ||
      (*mode == KORVrcRenderingMono && !iStereo))
    return S_OK;
  Indent(ioText);
  ioText << "compound";
  IndentRight(ioText);
  Indent(ioText);
  ioText << "mode    [ EYE ]";
  WriteRegion(*this, ioText, EyeOf(*mode), NameOf(iWindow));
  IndentLeft(ioText);
  return S_OK;
}

// S_FALSE, writing nothing, when the head is not tracked.
HRESULT KOREVrcConfigure::WriteMPKTrackingInformations(KORVrcText& ioText) {
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

  ioText << "\n# All dimensions are to be specified in mm.\n"
         << "# - eye-offset specifies the eye coordinates in the mobile tracker frame\n"
         << "# - IPD is the inter-pupillary distance\n"
         << "# - the tracker related data describe the fixed tracker frame in the MPK global "
            "frame\n"
         << "# - MPK_unit_in_mm defines the MPK data unit.\n"
         << "# userdata\n"
         << "#{\n"
         << "#      eye-offset        [" << 0 << ',' << 0 << ',' << 0 << "]\n"
         << "#      IPD               " << KORVrcFixed8{ipd} << '\n';
  WriteTrackerVector(ioText, "#      tracker-X         [", trackerX.GetX(), trackerX.GetY(),
                     trackerX.GetZ());
  WriteTrackerVector(ioText, "#      tracker-Y         [", trackerY.GetX(), trackerY.GetY(),
                     trackerY.GetZ());
  WriteTrackerVector(ioText, "#      tracker-origin    [", origin.GetX(), origin.GetY(),
                     origin.GetZ());
  ioText << "#      MPK_unit_in_mm    1 \n"
         << "#}\n";
  return S_OK;
}
