// The settings the immersive runtime reads at start: the stereo mode in the
// repository "VirtualRealityTemp", the screen calibration and the tracking
// events of head and hand in "VRCommandsTemp". Each repository is saved into
// the user's settings directory, then copied where the caller asks.
#include "KOREVrcConfigure.h"

#include "KORVrcTrace.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "system/KOREnvironment.h"
#include "system/KORSettingRepository.h"

#include <string>

namespace {
// Saves the repository; with iWrite the saved file is copied to iPath and the
// copy decides the result, without it the save does.
HRESULT SaveAndCopy(const KORSettingRepository& iRepository, const KORUnicodeString& iPath,
                    unsigned char iWrite) {
  const int saved = iRepository.SaveRepository();
  if (!iWrite)
    return saved ? S_OK : E_FAIL;
  const char* directory = KORGetEnv("KORUserSettingPath");
  const KORUnicodeString savedFile =
      KORMakePath(directory ? directory : "", iRepository.Name() + ".KORSettings");
  return SUCCEEDED(KORFCopy(savedFile, iPath)) ? S_OK : E_FAIL;
}

// The runtime reads the coordinates of a corner z first.
void WriteCorner(KORSettingRepository& ioRepository, const KORString& iCorner,
                 const KORMathVector& iPoint) {
  (void)ioRepository.WriteSetting(iCorner + "z", static_cast<float>(iPoint.GetZ()));
  (void)ioRepository.WriteSetting(iCorner + "y", static_cast<float>(iPoint.GetY()));
  (void)ioRepository.WriteSetting(iCorner + "x", static_cast<float>(iPoint.GetX()));
}

// The calibration of a physical screen, in the frame of the station that
// tracks the picking device when there is one, so that the runtime can compare
// the screen with the positions it receives.
void WriteManualCalibration(KOREVrcConfigure& iConfigure, KORIVrcProjectionArea* iArea,
                            KORSettingRepository& ioRepository) {
  (void)ioRepository.WriteSetting("CalibrationMode", KORUnicodeString("Manual"));
  KORMathVector ul, ll, lr;
  KOREVrcConfigure::ReadScreenCorners(iArea, ul, ll, lr);
  KORMathVector ur = lr + (ul - ll);
  KORIVrcTrackingStation_var pickingStation;
  if (SUCCEEDED(iConfigure.RetrievePickingTrackingStation(pickingStation.Out())) && pickingStation)
    (void)iConfigure.ComputeScreenCornersInTrackingStationFrame(pickingStation, ul, ur, ll, lr);
  WriteCorner(ioRepository, "LR", lr);
  WriteCorner(ioRepository, "UR", ur);
  WriteCorner(ioRepository, "UL", ul);
  (void)ioRepository.WriteSetting("height", static_cast<float>((ul - ll).Norm()));
  (void)ioRepository.WriteSetting("width", static_cast<float>((ur - ul).Norm()));
}

KORUnicodeString TrackingEvent(const KORUnicodeString& iDaemonName, const char* iEvent,
                               int iIndex) {
  if (iIndex == 0)
    return "None";
  return KOREVrcConfigure::RuntimeDaemonName(iDaemonName) + " " + iEvent + " " +
         std::to_string(iIndex);
}
} // namespace

HRESULT KOREVrcConfigure::GenerateVirtualRealitySettingFile(const KORUnicodeString& iPath,
                                                            KORUnicodeString& oMessages,
                                                            unsigned char iWrite) {
  KORVrcTraceScope scope("KOREVrcConfigure::GenerateVirtualRealitySettingFile");
  oMessages.clear();
  KORSettingRepository* repository = KORSettingRepository::GetRepository("VirtualRealityTemp");
  if (!repository)
    return E_FAIL;
  bool stereo = false;
  (void)IsActiveStereoMode(stereo);
  (void)repository->WriteSetting("StereoMode", stereo ? 1UL : 0UL);
  return SaveAndCopy(*repository, iPath, iWrite);
}

HRESULT KOREVrcConfigure::GenerateVRCommandsSettingFile(const KORUnicodeString& iPath,
                                                        KORUnicodeString& oMessages,
                                                        unsigned char iWrite) {
  KORVrcTraceScope scope("KOREVrcConfigure::GenerateVRCommandsSettingFile");
  oMessages.clear();
  KORSettingRepository* repository = KORSettingRepository::GetRepository("VRCommandsTemp");
  if (!repository)
    return E_FAIL;
  KORIVrcProjectionArea_var area;
  // Without a physical screen the runtime calibrates itself; corners saved
  // by an earlier export are left as they were.
  if (GetProjectionAreaOnMainWindow(area.Out()))
    WriteManualCalibration(*this, area, *repository);
  else
    (void)repository->WriteSetting("CalibrationMode", KORUnicodeString("Automatic"));

  int headIndex = 0, handIndex = 0;
  unsigned char severalWindows = 1;
  KORUnicodeString headDaemon, handDaemon;
  KORUnicodeString headEvent, handEvent;
  if (SUCCEEDED(RetrieveInfoAboutManagerTracker(headIndex, handIndex, severalWindows, headDaemon,
                                                handDaemon))) {
    // The runtime takes the head's events as viewport events when there is a
    // single window.
    headEvent =
        TrackingEvent(headDaemon, severalWindows ? "POSITION_EVENT" : "VIEWPORT_EVENT", headIndex);
    handEvent = TrackingEvent(handDaemon, "POSITION_EVENT", handIndex);
  }
  (void)repository->WriteSetting("HandTrackingEvent", handEvent);
  (void)repository->WriteSetting("HeadTrackingEvent", headEvent);
  return SaveAndCopy(*repository, iPath, iWrite);
}
