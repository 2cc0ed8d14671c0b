// The tracking-daemon file of one station: the daemon and how to reach its
// device, the events of each tracker, one mounting matrix per tracker and the
// screen and eyes seen from the head's tracker. The text is built aside and
// handed to the stream only once every check has passed, so that a station
// that cannot be written leaves the stream untouched.
#include "KOREVrcConfigure.h"

#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "featurestore/KORISpecObject.h"
#include "interfaces/KORIVrcCameraView.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcWindow.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <ostream>
#include <vector>

namespace {
// Event flags of a tracker, in the order the event lines are written.
struct TrackerEvent {
  int flag;
  const char* keyword;
};
constexpr TrackerEvent kPositionEvent{2, "POSITION_EVENT"};
constexpr TrackerEvent kViewportEvent{4, "VIEWPORT_EVENT"};
constexpr TrackerEvent kButtonEvent{8, "BUTTON_EVENT"};
constexpr TrackerEvent kEventsInFileOrder[] = {kPositionEvent, kViewportEvent, kButtonEvent};

// What a tracker follows; the daemon mounts the head's and the hand device's
// trackers through the tracker axes, the others as their offset says.
enum TrackerRole : int { kFollowsOther = 0, kFollowsHead = 1, kFollowsHand = 2, kFollowsWand = 3 };

struct StationTracker {
  int number = 0;
  KORMathTransformation offset;
  int role = kFollowsOther;
  int events = 0;
  KORIVrcHead_var head; // the followed head, for kFollowsHead
};

enum class TrackerReading { Read, Unreadable, FollowsUnsupportedElement };

TrackerReading ReadTracker(const KORBaseUnknown_var& iEntry, StationTracker& oTracker) {
  auto tracker = KORQuery<KORIVrcTracker>(iEntry);
  KORUnicodeString name;
  if (!tracker || FAILED(tracker->GetName(name)) || FAILED(tracker->GetOffset(oTracker.offset)))
    return TrackerReading::Unreadable;
  std::sscanf(name.c_str(), "%d", &oTracker.number);
  oTracker.events = kPositionEvent.flag;
  KORIVrcTrackedElement_var element;
  if (FAILED(tracker->GetTrackedElement(element.Out())))
    return TrackerReading::Read;
  if ((oTracker.head = KORQuery<KORIVrcHead>(element))) {
    oTracker.role = kFollowsHead;
    return TrackerReading::Read;
  }
  auto hand = KORQuery<KORIVrcHandDevice>(element);
  if (!hand)
    return TrackerReading::FollowsUnsupportedElement;
  KORVrcHandDeviceType type = KORVrcHandCustom;
  const bool wand = SUCCEEDED(hand->GetType(&type)) && type == KORVrcHandInterSenseWand;
  oTracker.role = wand ? kFollowsWand : kFollowsHand;
  KORISpecObject_var manager;
  if (SUCCEEDED(hand->GetButtonManager(manager.Out())) &&
      CompareInterfacePointers(manager, tracker))
    oTracker.events |= kButtonEvent.flag;
  return TrackerReading::Read;
}

// The daemon's axes seen in the tracker's: rows (0, 0, -1), (-1, 0, 0), (0, 1, 0).
KORMathTransformation TrackerAxes() {
  return KORMathTransformation(
      KORMath3x3Matrix(KORMathVector(0, -1, 0), KORMathVector(0, 0, 1), KORMathVector(-1, 0, 0)),
      KORMathVector());
}

HRESULT MountingOf(const StationTracker& iTracker, KORMathTransformation& oMounting) {
  if (iTracker.role == kFollowsOther) {
    oMounting = iTracker.offset;
    return S_OK;
  }
  KORMathTransformation inverseOffset;
  if (FAILED(iTracker.offset.Inverse(inverseOffset)))
    return E_FAIL;
  oMounting = inverseOffset * TrackerAxes();
  return S_OK;
}

// Lengths are whole millimetres for the daemon: truncated toward zero.
void WriteTruncated(KORVrcText& ioText, const KORMathVector& iVector) {
  ioText << '[' << static_cast<long>(iVector.GetX()) << ',' << static_cast<long>(iVector.GetY())
         << ',' << static_cast<long>(iVector.GetZ()) << ']';
}

// The daemon reads the matrix column by column, one bracket line per column.
void WriteMatrixBlock(KORVrcText& ioText, int iNumber, const KORMathTransformation& iMounting) {
  ioText << "\nMATRIX " << iNumber << '\n';
  const KORMath3x3Matrix& matrix = iMounting.GetMatrix();
  for (int column = 1; column <= 3; ++column)
    ioText << '[' << KORVrcFixed8{matrix.GetCoef(1, column)} << ','
           << KORVrcFixed8{matrix.GetCoef(2, column)} << ','
           << KORVrcFixed8{matrix.GetCoef(3, column)} << "]\n";
  WriteTruncated(ioText, iMounting.GetVector());
  ioText << '\n';
}

struct ScreenAndEyes {
  const char* keyword;
  KORMathVector upperLeft, upperRight, lowerRight, leftEye, rightEye;
};

// The daemon needs a screen block even when no tracker of the station follows
// the head.
ScreenAndEyes PlaceholderScreen() {
  return {"SCREEN",
          KORMathVector(10, 20, 30),
          KORMathVector(10, 30, 20),
          KORMathVector(20, 30, 30),
          KORMathVector(10, 20, 30),
          KORMathVector(10, 20, 50)};
}

void WriteScreenAndEyes(KORVrcText& ioText, const ScreenAndEyes& iScreen) {
  ioText << '\n' << iScreen.keyword << "\n{\n   UPPERLEFT ";
  WriteTruncated(ioText, iScreen.upperLeft);
  ioText << "\n   UPPERRIGHT ";
  WriteTruncated(ioText, iScreen.upperRight);
  ioText << "\n   LOWERRIGHT ";
  WriteTruncated(ioText, iScreen.lowerRight);
  ioText << "\n}\nLEFTEYE    ";
  WriteTruncated(ioText, iScreen.leftEye);
  ioText << "\nRIGHTEYE   ";
  WriteTruncated(ioText, iScreen.rightEye);
}

// What the main window shows: a physical screen or a camera frustum.
struct MainScreen {
  KORIVrcProjectionArea_var area;
  KORIVrcCameraView_var camera;
};

// The main window's screen and the eyes, seen from the head's tracker.
HRESULT ScreenSeenByHead(KOREVrcConfigure& iConfigure, KORIVrcTrackingStation* iStation,
                         const MainScreen& iScreen, const StationTracker& iHeadTracker,
                         ScreenAndEyes& oScreen) {
  KORMath3x3Matrix toTracker;
  if (FAILED(iHeadTracker.offset.GetMatrix().Inverse(toTracker)))
    return E_FAIL;
  const double ipd = ReadValue(iHeadTracker.head, &KORIVrcHead::GetIPD, 0.0);
  const KORMathVector leftEye(0, ipd / 2, 0);
  const KORMathVector rightEye(0, -ipd / 2, 0);
  if (iScreen.area) {
    KORMathVector ul, ur, ll, lr;
    KOREVrcConfigure::ReadScreenCorners(iScreen.area, ul, ll, lr);
    if (FAILED(iConfigure.ComputeScreenCornersInTrackingStationFrame(iStation, ul, ur, ll, lr)))
      return E_FAIL;
    const KORMathVector& t = iHeadTracker.offset.GetVector();
    oScreen = {"SCREEN", ul, ur, lr, toTracker * (leftEye - t), toTracker * (rightEye - t)};
    return S_OK;
  }
  double left = 0, right = 0, top = 0, bottom = 0;
  if (FAILED(iScreen.camera->GetFrustum(left, right, top, bottom)))
    return E_FAIL;
  // The head-mounted display's daemon takes the frustum with left and right
  // exchanged compared with the multipipe and display files; its eyes stay
  // in the head's own frame.
  const KORMathVector ll = toTracker * KORMathVector(1, right, bottom);
  const KORMathVector lr = toTracker * KORMathVector(1, left, bottom);
  const KORMathVector ul = toTracker * KORMathVector(1, right, top);
  oScreen = {"HMDSCREEN", ul, lr + (ul - ll), lr, leftEye, rightEye};
  return S_OK;
}
} // namespace

KORUnicodeString KOREVrcConfigure::RuntimeDaemonName(const KORUnicodeString& iDaemonName) {
  return iDaemonName == "Polhemus1" ? KORUnicodeString("Polhemus") : iDaemonName;
}

KORMathPoint KOREVrcConfigure::ReadCorner(KORIVrcProjectionArea* iArea, CornerGetter iGetter) {
  double x = 0, y = 0, z = 0;
  if (!iArea || FAILED((iArea->*iGetter)(&x, &y, &z)))
    return KORMathPoint();
  return KORMathPoint(x, y, z);
}

KOREVrcConfigure::AreaCorners KOREVrcConfigure::ReadAreaCorners(KORIVrcProjectionArea* iArea) {
  return {ReadCorner(iArea, &KORIVrcProjectionArea::GetUpperLeft),
          ReadCorner(iArea, &KORIVrcProjectionArea::GetLowerLeft),
          ReadCorner(iArea, &KORIVrcProjectionArea::GetLowerRight)};
}

void KOREVrcConfigure::ReadScreenCorners(KORIVrcProjectionArea* iArea, KORMathVector& oUL,
                                         KORMathVector& oLL, KORMathVector& oLR) {
  const KORMathPoint origin;
  oUL = ReadCorner(iArea, &KORIVrcProjectionArea::GetUpperLeft) - origin;
  oLL = ReadCorner(iArea, &KORIVrcProjectionArea::GetLowerLeft) - origin;
  oLR = ReadCorner(iArea, &KORIVrcProjectionArea::GetLowerRight) - origin;
}

HRESULT KOREVrcConfigure::GenerateTrackingStationConfigFile(std::ostream& ioStream,
                                                            KORIVrcTrackingStation* iStation,
                                                            KORUnicodeString& oMessages,
                                                            unsigned char iWrite) {
  KORVrcTraceScope scope("KOREVrcConfigure::GenerateTrackingStationConfigFile");
  if (FAILED(StartMessages(oMessages)))
    return E_FAIL;
  KORVrcTrackingStationType type = KORVrcStationCustom;
  if (!iStation || FAILED(iStation->GetType(type))) {
    AddError(oMessages, "TrackingStationNotFound");
    return E_FAIL;
  }
  // Only these systems have a daemon that reads this file.
  if (type < KORVrcStationIS900 || type > KORVrcStationART)
    return S_OK;
  return GeneratePolhemusConfigFile(ioStream, iStation, oMessages, iWrite);
}

HRESULT KOREVrcConfigure::GeneratePolhemusConfigFile(std::ostream& ioStream,
                                                     KORIVrcTrackingStation* iStation,
                                                     KORUnicodeString& oMessages,
                                                     unsigned char iWrite) {
  KORVrcTraceScope scope("KOREVrcConfigure::GeneratePolhemusConfigFile");
  if (FAILED(StartMessages(oMessages)))
    return E_FAIL;
  KORIgnoreResult(RetrieveCommonPointers(), "a missing pointer is tested where it is used");

  int port = 0, speed = 0;
  KORUnicodeString daemonName;
  KORVrcTrackingStationType type = KORVrcStationCustom;
  KORListValKORBaseUnknown_var* trackerList = nullptr;
  if (!iStation || FAILED(iStation->GetPort(port)) || FAILED(iStation->GetSpeed(speed)) ||
      FAILED(iStation->GetDaemonName(daemonName)) || FAILED(iStation->GetType(type)) ||
      FAILED(iStation->GetTrackers(&trackerList))) {
    const KOROwnedList failedTrackers(trackerList);
    AddError(oMessages, "TrackingStationNotFound");
    return E_FAIL;
  }
  const KOROwnedList ownedTrackers(trackerList);
  std::vector<StationTracker> trackers(ownedTrackers->Size());
  for (int position = 1; position <= ownedTrackers->Size(); ++position) {
    switch (ReadTracker((*ownedTrackers)[position], trackers[position - 1])) {
    case TrackerReading::Read:
      break;
    case TrackerReading::Unreadable:
      AddError(oMessages, "TrackingStationNotFound");
      return E_FAIL;
    case TrackerReading::FollowsUnsupportedElement:
      return E_FAIL;
    }
  }

  KORIVrcWindow_var mainWindow;
  MainScreen screen;
  if (FAILED(RetrieveMainWindow(mainWindow.Out())) ||
      (!GetProjectionAreaOnMainWindow(screen.area.Out()) &&
       !GetCameraOnMainWindow(screen.camera.Out()))) {
    AddError(oMessages, "NoMainWindow");
    return E_FAIL;
  }

  KORVrcText text;
  text << "NAME \"" << RuntimeDaemonName(daemonName) << "\"\n";
  if (type == KORVrcStationART)
    text << "ETHERNETPORT          " << port << '\n';
  else
    text << "SERIALPORT          \"COM" << port << "\"\nBPS                 " << speed << '\n';
  for (const StationTracker& tracker : trackers)
    for (const TrackerEvent& event : kEventsInFileOrder)
      if (tracker.events & event.flag)
        text << "TRACKER " << tracker.number << ' ' << event.keyword << '\n';
  for (const StationTracker& tracker : trackers) {
    KORMathTransformation mounting;
    if (!(tracker.events & kPositionEvent.flag))
      continue;
    if (FAILED(MountingOf(tracker, mounting)))
      return E_FAIL;
    WriteMatrixBlock(text, tracker.number, mounting);
  }
  ScreenAndEyes screenAndEyes = PlaceholderScreen();
  auto headTracker = std::find_if(trackers.begin(), trackers.end(),
                                  [](const StationTracker& i) { return i.role == kFollowsHead; });
  if (headTracker != trackers.end() &&
      FAILED(ScreenSeenByHead(*this, iStation, screen, *headTracker, screenAndEyes)))
    return E_FAIL;
  WriteScreenAndEyes(text, screenAndEyes);

  if (iWrite)
    text.WriteTo(ioStream);
  return S_OK;
}
