// What the writers of the runtime files share: lookups, window order, frames,
// indentation and messages. The writers themselves are in
// KOREVrcConfigure<File>.cpp.
#include "KOREVrcConfigure.h"

#include "KORVrcElementAccess.h"
#include "KORVrcTools.h"
#include "featurestore/KORIContainer.h"
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

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// RetrieveCommonPointers is asked again only when a pointer is missing, and
// the pointer is tested after it.
constexpr char kPointersTested[] = "the pointer it should set is tested next";

// The first entry of a new list as interface I (the list is deleted).
template <class I> KORSmartPtr<I> FirstOf(KORListValKORBaseUnknown_var* iList) {
  KOROwnedList owned(iList);
  return owned && owned->Size() ? KORQuery<I>((*owned)[1]) : KORSmartPtr<I>();
}

// The integer a name reads as with "%d" (0 when it does not).
int NumberOf(const KORUnicodeString& iName) {
  int number = 0;
  std::sscanf(iName.c_str(), "%d", &number);
  return number;
}

KORMathVector Unit(const KORMathVector& iVector) {
  const double length = iVector.Norm();
  return length == 0.0 ? KORMathVector(1, 0, 0) : (1.0 / length) * iVector;
}

// The tracker's number and station, when the tracker exists.
void TrackerPlace(KORIVrcTracker* iTracker, int& oNumber, KORIVrcTrackingStation_var& oStation) {
  if (!iTracker)
    return;
  KORUnicodeString name;
  if (SUCCEEDED(iTracker->GetName(name)))
    oNumber = NumberOf(name);
  KORIgnoreResult(iTracker->GetTrackingStation(oStation.Out()), KORVrcNullWhenUnread);
}

// Replaces ioIndex by its 1-based position among the station's tracker
// numbers sorted ascending (0 when absent), and gives the station's daemon.
void RankOnStation(KORIVrcTrackingStation* iStation, int& ioIndex, KORUnicodeString& oDaemon) {
  if (!iStation)
    return;
  oDaemon = ReadValue(iStation, &KORIVrcTrackingStation::GetDaemonName);
  KORListValKORBaseUnknown_var* trackers = nullptr;
  std::vector<int> numbers;
  if (SUCCEEDED(iStation->GetTrackers(&trackers))) {
    KOROwnedList owned(trackers);
    for (const KORBaseUnknown_var& entry : *owned) {
      KORUnicodeString name;
      if (auto tracker = KORQuery<KORIVrcTracker>(entry);
          tracker && SUCCEEDED(tracker->GetName(name)))
        numbers.push_back(NumberOf(name));
    }
  }
  std::sort(numbers.begin(), numbers.end());
  auto found = std::find(numbers.begin(), numbers.end(), ioIndex);
  ioIndex = found == numbers.end() ? 0 : static_cast<int>(found - numbers.begin()) + 1;
}
} // namespace

void KOREVrcConfigure::ReleaseCommonPointers() {
  _config.reset();
  _graphicResources.reset();
  _graphicSpecs.reset();
  _devices.reset();
  _head.reset();
  _handDevice.reset();
}

HRESULT KOREVrcConfigure::RetrieveCommonPointers() {
  ReleaseCommonPointers();
  _config = QueryImpl<KORIVrcConfig>();
  if (!_config)
    return E_FAIL;
  // Each is tested below.
  KORIgnoreResult(_config->GetGraphicResources(_graphicResources.Out()), KORVrcNullWhenUnread);
  KORIgnoreResult(_config->GetGraphicSpecs(_graphicSpecs.Out()), KORVrcNullWhenUnread);
  KORIgnoreResult(_config->GetDevices(_devices.Out()), KORVrcNullWhenUnread);
  KORListValKORBaseUnknown_var* list = nullptr;
  if (_graphicSpecs && SUCCEEDED(_graphicSpecs->GetHeads(&list)))
    _head = FirstOf<KORIVrcHead>(list);
  if (_devices && SUCCEEDED(_devices->GetHandDevices(&list)))
    _handDevice = FirstOf<KORIVrcHandDevice>(list);
  return _graphicResources && _graphicSpecs && _devices && _head && _handDevice ? S_OK : E_FAIL;
}

HRESULT KOREVrcConfigure::RetrieveMainWindow(KORIVrcWindow** oWindow) {
  if (!oWindow)
    return E_FAIL;
  *oWindow = nullptr;
  if (!_graphicResources)
    KORIgnoreResult(RetrieveCommonPointers(), kPointersTested);
  KORIVrcWindow_var window;
  KORIVrcView_var view;
  if (!_graphicResources || FAILED(_graphicResources->GetMainWindow(window.Out())) ||
      !ViewOf(window))
    return E_FAIL;
  return KORReturn(window, oWindow);
}

HRESULT KOREVrcConfigure::RetrieveViewPointTracker(KORIVrcTracker** oTracker) {
  if (!oTracker)
    return E_FAIL;
  *oTracker = nullptr;
  if (!_head)
    KORIgnoreResult(RetrieveCommonPointers(), kPointersTested);
  return _head ? _head->GetViewPointTracker(oTracker) : E_FAIL;
}

HRESULT KOREVrcConfigure::RetrieveIGList(KORListValKORBaseUnknown_var** oList) {
  if (!oList)
    return E_FAIL;
  *oList = nullptr;
  if (!_graphicResources)
    KORIgnoreResult(RetrieveCommonPointers(), kPointersTested);
  return _graphicResources ? _graphicResources->GetIGs(oList) : E_FAIL;
}

HRESULT KOREVrcConfigure::RetrieveViewList(KORListValKORBaseUnknown_var** oList) {
  if (!oList)
    return E_FAIL;
  *oList = nullptr;
  if (!_graphicSpecs)
    KORIgnoreResult(RetrieveCommonPointers(), kPointersTested);
  return _graphicSpecs ? _graphicSpecs->GetViews(oList) : E_FAIL;
}

HRESULT KOREVrcConfigure::RetrievePickingTrackingStation(KORIVrcTrackingStation** oStation) {
  if (!oStation)
    return E_FAIL;
  *oStation = nullptr;
  if (!_handDevice)
    KORIgnoreResult(RetrieveCommonPointers(), kPointersTested);
  KORIVrcTracker_var picking;
  if (!_handDevice || FAILED(_handDevice->GetPickingTracker(picking.Out())))
    return E_FAIL;
  return picking->GetTrackingStation(oStation);
}

HRESULT KOREVrcConfigure::NumberOfWindow(int& oCount) {
  oCount = 0;
  KORListValKORBaseUnknown_var* igs = nullptr;
  if (FAILED(RetrieveCommonPointers()) || FAILED(RetrieveIGList(&igs)))
    return E_FAIL;
  KOROwnedList owned(igs);
  if (owned->IsEmpty())
    return E_FAIL;
  for (const KORBaseUnknown_var& entry : *owned) {
    KORListValKORBaseUnknown_var* windows = nullptr;
    if (auto ig = KORQuery<KORIVrcIG>(entry); ig && SUCCEEDED(ig->GetWindows(&windows))) {
      const KOROwnedList ownedWindows(windows);
      oCount += ownedWindows->Size();
    }
  }
  return oCount >= 1 ? S_OK : E_FAIL;
}

HRESULT KOREVrcConfigure::ReOrderWindows(KORListValKORBaseUnknown_var& ioWindows,
                                         KORIVrcWindow* iMainWindow) {
  for (int position = 1; position <= ioWindows.Size(); ++position) {
    if (!KORQuery<KORIVrcWindow>(ioWindows[position]))
      return E_FAIL;
    if (position >= 2 && CompareInterfacePointers(ioWindows[position], iMainWindow)) {
      std::swap(ioWindows[1], ioWindows[position]);
      break;
    }
  }
  return S_OK;
}

bool KOREVrcConfigure::CheckOnlyLocalIGs() {
  KORListValKORBaseUnknown_var* igs = nullptr;
  if (FAILED(RetrieveIGList(&igs)) || !igs)
    return true;
  KOROwnedList owned(igs);
  for (const KORBaseUnknown_var& entry : *owned) {
    KORUnicodeString host;
    auto ig = KORQuery<KORIVrcIG>(entry);
    if (ig && SUCCEEDED(ig->GetHostName(host)) && host != "localhost")
      return false;
  }
  return true;
}

HRESULT KOREVrcConfigure::IsActiveStereoMode(bool& oStereo) {
  oStereo = false;
  KORListValKORBaseUnknown_var* igs = nullptr;
  if (FAILED(RetrieveCommonPointers()) || FAILED(RetrieveIGList(&igs)))
    return E_FAIL;
  KOROwnedList owned(igs);
  bool examined = false;
  for (const KORBaseUnknown_var& entry : *owned) {
    KORListValKORBaseUnknown_var* windows = nullptr;
    auto ig = KORQuery<KORIVrcIG>(entry);
    if (!ig || FAILED(ig->GetWindows(&windows)))
      continue;
    KOROwnedList ownedWindows(windows);
    for (const KORBaseUnknown_var& windowEntry : *ownedWindows) {
      examined = true;
      const auto window = KORQuery<KORIVrcWindow>(windowEntry);
      if (RenderingModeOf(window) == KORVrcRenderingStereo) {
        oStereo = true;
        return S_OK;
      }
    }
  }
  return examined ? S_OK : E_FAIL;
}

namespace {
template <class I> KORSmartPtr<I> MainView(KOREVrcConfigure& iConfigure) {
  KORIVrcWindow_var window;
  if (FAILED(iConfigure.RetrieveMainWindow(window.Out())))
    return {};
  return KORQuery<I>(iConfigure.ViewOf(window));
}
} // namespace

bool KOREVrcConfigure::GetProjectionAreaOnMainWindow(KORIVrcProjectionArea** oArea) {
  auto screen = MainView<KORIVrcScreenView>(*this);
  return oArea && screen && SUCCEEDED(screen->GetProjectionArea(oArea));
}

bool KOREVrcConfigure::GetCameraOnMainWindow(KORIVrcCameraView** oCamera) {
  auto camera = MainView<KORIVrcCameraView>(*this);
  return oCamera && camera && SUCCEEDED(KORReturn(camera, oCamera));
}

bool KOREVrcConfigure::IsTheWindowAttachToScreenView(KORIVrcWindow* iWindow) {
  return static_cast<bool>(KORQuery<KORIVrcScreenView>(ViewOf(iWindow)));
}

KOREVrcConfigure::RenderingMemo::RenderingMemo(KOREVrcConfigure& ioConfigure)
    : _configure(ioConfigure), _outermost(!ioConfigure._renderings) {
  if (_outermost) {
    _configure._renderings.emplace();
    _configure._renderingsListed = false;
    _configure._areaCorners.emplace();
    _configure._viewports.emplace();
    _configure._headFrames.reset();
  }
}

KOREVrcConfigure::RenderingMemo::~RenderingMemo() {
  if (_outermost) {
    _configure._renderings.reset();
    _configure._areaCorners.reset();
    _configure._viewports.reset();
    _configure._headFrames.reset();
  }
}

template <class Value, class Read>
Value KOREVrcConfigure::Remembered(Memo<Value>& ioMemo, KORBaseUnknown* iObject, Read iRead) {
  if (!ioMemo || !iObject)
    return iRead();
  if (const auto known = ioMemo->byPointer.find(iObject); known != ioMemo->byPointer.end())
    return *known->second;
  const auto identity = KORQuery<KORBaseUnknown>(iObject);
  auto [entry, added] = ioMemo->byIdentity.try_emplace(identity.get());
  if (added)
    entry->second = iRead();
  ioMemo->byPointer.emplace(iObject, &entry->second);
  return entry->second;
}

KOREVrcConfigure::AreaCorners KOREVrcConfigure::CornersOfArea(KORIVrcProjectionArea* iArea) {
  return Remembered(_areaCorners, iArea, [iArea] { return ReadAreaCorners(iArea); });
}

KOREVrcConfigure::WindowViewport KOREVrcConfigure::ReadViewport(KORIVrcWindow* iWindow) {
  WindowViewport found;
  KORIVrcViewport_var viewport;
  found.linked = iWindow && SUCCEEDED(iWindow->GetViewport(viewport.Out())) && viewport;
  if (std::array<double, 4> values{};
      found.linked &&
      SUCCEEDED(viewport->GetViewport(&values[0], &values[1], &values[2], &values[3])))
    found.values = values;
  return found;
}

KOREVrcConfigure::WindowViewport KOREVrcConfigure::ViewportOf(KORIVrcWindow* iWindow) {
  return Remembered(_viewports, iWindow, [iWindow] { return ReadViewport(iWindow); });
}

KOREVrcConfigure::WindowRendering KOREVrcConfigure::LookUpRendering(KORIVrcWindow* iWindow) {
  KORIVrcRendering_var rendering;
  if (!iWindow || FAILED(iWindow->GetRendering(rendering.Out())) || !rendering)
    return {};
  return RenderingParts(rendering);
}

KOREVrcConfigure::WindowRendering
KOREVrcConfigure::RenderingParts(const KORIVrcRendering_var& iRendering) {
  WindowRendering found{iRendering, {}, {}, {}, {}};
  if (FAILED(iRendering->GetView(found.view.Out())))
    found.view = nullptr;
  if (FAILED(iRendering->GetRenderingSpec(found.spec.Out())))
    found.spec = nullptr;
  // The writers ask for the modes of every window several times.
  if (found.spec) {
    if (KORVrcRenderingMode mode; SUCCEEDED(found.spec->GetRenderingMode(&mode)))
      found.mode = mode;
    if (KORVrcMirrorMode mirror; SUCCEEDED(found.spec->GetMirrorMode(&mirror)))
      found.mirror = mirror;
  }
  return found;
}

KOREVrcConfigure::WindowRendering KOREVrcConfigure::RenderingEntry(KORIVrcWindow* iWindow) {
  if (!_renderings || !iWindow)
    return LookUpRendering(iWindow);
  if (!_renderingsListed) {
    _renderingsListed = true;
    RememberListedRenderings();
  }
  return Remembered(_renderings, iWindow, [iWindow] { return LookUpRendering(iWindow); });
}

void KOREVrcConfigure::RememberListedRenderings() {
  // A window's rendering is the first of its configuration's list that shows
  // it (KOREVrcWindow::GetRendering), which one pass over that list finds for
  // every window at once; asked window by window, each search would look the
  // window's renderings up in the whole list. The configuration a window
  // consults is the first of its container, so the pass is only valid when
  // that is the one written.
  auto config = QueryImpl<KORIVrcConfig>();
  auto first = KORVrcAccess::FirstInContainer<KORIVrcConfig>(config);
  KORListValKORBaseUnknown_var* list = nullptr;
  if (!config || !CompareInterfacePointers(first, config) || FAILED(config->GetRenderings(&list)))
    return;
  const KOROwnedList renderings(list);
  for (const KORBaseUnknown_var& entry : *renderings) {
    auto rendering = KORQuery<KORIVrcRendering>(entry);
    KORIVrcWindow_var window;
    if (!rendering || FAILED(rendering->GetWindow(window.Out())) || !window)
      continue;
    const auto identity = KORQuery<KORBaseUnknown>(window);
    if (auto [found, added] = _renderings->byIdentity.try_emplace(identity.get()); added)
      found->second = RenderingParts(rendering);
  }
}

KORIVrcRendering_var KOREVrcConfigure::RenderingOf(KORIVrcWindow* iWindow) {
  return RenderingEntry(iWindow).rendering;
}

KORIVrcView_var KOREVrcConfigure::ViewOf(KORIVrcWindow* iWindow) {
  return RenderingEntry(iWindow).view;
}

KORIVrcRenderingSpec_var KOREVrcConfigure::SpecOf(KORIVrcWindow* iWindow) {
  return RenderingEntry(iWindow).spec;
}

std::optional<KORVrcRenderingMode> KOREVrcConfigure::RenderingModeOf(KORIVrcWindow* iWindow) {
  return RenderingEntry(iWindow).mode;
}

std::optional<KORVrcMirrorMode> KOREVrcConfigure::MirrorModeOf(KORIVrcWindow* iWindow) {
  return RenderingEntry(iWindow).mirror;
}

HRESULT KOREVrcConfigure::ComputeModelToFS(KORMathTransformation& oModelToFS) {
  KORMathVector ul, ll, lr;
  KORIVrcProjectionArea_var area;
  KORIVrcCameraView_var camera;
  auto screen = MainView<KORIVrcScreenView>(*this);
  if (screen && SUCCEEDED(screen->GetProjectionArea(area.Out()))) {
    ReadScreenCorners(area, ul, ll, lr);
  } else if ((camera = MainView<KORIVrcCameraView>(*this))) {
    // A frustum that cannot be read is a point straight ahead.
    double a = 0, b = 0, c = 0, d = 0;
    if (FAILED(camera->GetFrustum(a, b, c, d)))
      a = b = c = d = 0;
    ul = KORMathVector(1, a, c);
    ll = KORMathVector(1, a, d);
    lr = KORMathVector(1, b, d);
  } else {
    return E_FAIL;
  }
  const KORMathVector x = Unit(lr - ll);
  const KORMathVector y = Unit(ul - ll);
  const KORMathVector z(x.GetY() * y.GetZ() - x.GetZ() * y.GetY(),
                        x.GetZ() * y.GetX() - x.GetX() * y.GetZ(),
                        x.GetX() * y.GetY() - x.GetY() * y.GetX());
  const KORMathVector centre = ul + (1.0 / 2.0) * (lr - ul);
  return KORMathTransformation(KORMath3x3Matrix(x, y, z), centre).Inverse(oModelToFS);
}

HRESULT KOREVrcConfigure::ComputeMatrix(KORMathTransformation& oHeadToMPK,
                                        KORMathTransformation& oAxes) {
  // Every channel of the multipipe file asks; the head stays where it is
  // while a memo is held.
  if (_renderings && _headFrames) {
    oHeadToMPK = _headFrames->first;
    oAxes = _headFrames->second;
    return S_OK;
  }
  if (!_head)
    KORIgnoreResult(RetrieveCommonPointers(), kPointersTested);
  auto tracked = KORQuery<KORIVrcTrackedElement>(_head);
  KORMathTransformation location;
  if (!tracked || FAILED(tracked->GetLocation(location)))
    return E_FAIL;
  const KORMathTransformation axes(
      KORMath3x3Matrix(KORMathVector(0, -1, 0), KORMathVector(0, 0, 1), KORMathVector(-1, 0, 0)),
      KORMathVector());
  if (FAILED((location * axes).Inverse(oHeadToMPK)) || FAILED(axes.Inverse(oAxes)))
    return E_FAIL;
  if (_renderings)
    _headFrames.emplace(oHeadToMPK, oAxes);
  return S_OK;
}

HRESULT KOREVrcConfigure::ComputeScreenCornersInTrackingStationFrame(
    KORIVrcTrackingStation* iStation, KORMathVector& ioUL, KORMathVector& oUR, KORMathVector& ioLL,
    KORMathVector& ioLR) {
  KORMathTransformation ref;
  KORMath3x3Matrix inverse;
  if (!iStation || FAILED(iStation->GetRef(ref)) || FAILED(ref.GetMatrix().Inverse(inverse)))
    return E_FAIL;
  const KORMathVector& t = ref.GetVector();
  ioLL = inverse * (ioLL - t);
  ioLR = inverse * (ioLR - t);
  ioUL = inverse * (ioUL - t);
  oUR = ioLR + (ioUL - ioLL);
  return S_OK;
}

void KOREVrcConfigure::MirrorEffectOnViewport(int iMirrorMode, double& ioA, double& ioB) {
  switch (iMirrorMode) {
  case KORVrcMirrorHorizontal:
    ioB = -ioB;
    break;
  case KORVrcMirrorVertical:
    ioA = -ioA;
    break;
  case KORVrcMirrorBoth:
    ioA = -ioA;
    ioB = -ioB;
    break;
  default:
    break;
  }
}

HRESULT KOREVrcConfigure::RetrieveInfoAboutManagerTracker(int& oHeadIndex, int& oHandIndex,
                                                          unsigned char& oSeveralWindows,
                                                          KORUnicodeString& oHeadDaemon,
                                                          KORUnicodeString& oHandDaemon) {
  oHeadIndex = 0;
  oHandIndex = 0;
  oSeveralWindows = 1;
  if (!_head || !_handDevice)
    KORIgnoreResult(RetrieveCommonPointers(), kPointersTested);
  if (!_head || !_handDevice)
    return E_FAIL;
  KORIVrcTracker_var headTracker, handTracker;
  KORIVrcTrackingStation_var headStation, handStation;
  KORIgnoreResult(_head->GetViewPointTracker(headTracker.Out()), KORVrcNullWhenUnread);
  TrackerPlace(headTracker, oHeadIndex, headStation);
  KORIgnoreResult(_handDevice->GetPickingTracker(handTracker.Out()), KORVrcNullWhenUnread);
  TrackerPlace(handTracker, oHandIndex, handStation);
  RankOnStation(headStation, oHeadIndex, oHeadDaemon);
  RankOnStation(handStation, oHandIndex, oHandDaemon);
  // Without any window the count stays 0.
  int windows = 0;
  if (FAILED(NumberOfWindow(windows)))
    windows = 0;
  if (windows <= 1)
    oSeveralWindows = 0;
  if (headStation && handStation && CompareInterfacePointers(headStation, handStation) &&
      windows <= 1) {
    if (oHandIndex > oHeadIndex && oHeadIndex != 0)
      --oHandIndex;
    oHeadIndex = 1;
  }
  return S_FALSE;
}

void KOREVrcConfigure::Indent(KORVrcText& ioText) const {
  // The line break and the indentation in one append at the usual depths.
  constexpr std::size_t kLevelWidth = 4;
  constexpr std::string_view kIndentation = "\n                                ";
  const std::size_t width = static_cast<std::size_t>(_indentLevel) * kLevelWidth;
  ioText << kIndentation.substr(0, std::min(width, kIndentation.size() - 1) + 1);
  for (std::size_t written = kIndentation.size() - 1; written < width; written += kLevelWidth)
    ioText << kIndentation.substr(1, kLevelWidth);
}

void KOREVrcConfigure::IndentRight(KORVrcText& ioText) {
  Indent(ioText);
  ioText << '{';
  ++_indentLevel;
}

void KOREVrcConfigure::IndentLeft(KORVrcText& ioText) {
  _indentLevel = std::max(0, _indentLevel - 1);
  Indent(ioText);
  ioText << '}';
}

void KOREVrcConfigure::IndentRightSpace(KORVrcText& ioText) {
  Indent(ioText);
  ++_indentLevel;
}

void KOREVrcConfigure::IndentLeftSpace(KORVrcText& ioText) {
  _indentLevel = std::max(0, _indentLevel - 1);
  Indent(ioText);
}

HRESULT KOREVrcConfigure::StreamFile(FileWriter iWriteFile, std::ostream& ioStream,
                                     KORUnicodeString& oMessages, unsigned char iWrite) {
  KORVrcText text;
  const HRESULT result = (this->*iWriteFile)(text, oMessages, iWrite);
  text.WriteTo(ioStream);
  return result;
}

HRESULT KOREVrcConfigure::StartMessages(KORUnicodeString& oMessages) {
  oMessages.clear();
  KORUnicodeString error;
  return KORFindMsgCatalog("KORVrcConfigure", _catalog, error);
}

namespace {
// The heading (iKind) and the text of one message; a key the catalog lacks
// is written as it is, so that the message is still seen.
void AddMessage(const KORMsgCatalog& iCatalog, KORUnicodeString& ioMessages, const char* iKind,
                const char* iKey) {
  for (const char* key : {iKind, iKey}) {
    KORUnicodeString text;
    ioMessages += SUCCEEDED(iCatalog.BuildMessage(key, text)) ? text : KORUnicodeString(key);
  }
}
} // namespace

void KOREVrcConfigure::AddError(KORUnicodeString& ioMessages, const char* iKey) const {
  AddMessage(*_catalog, ioMessages, "Error", iKey);
}

void KOREVrcConfigure::AddWarning(KORUnicodeString& ioMessages, const char* iKey) const {
  AddMessage(*_catalog, ioMessages, "Warning", iKey);
}
