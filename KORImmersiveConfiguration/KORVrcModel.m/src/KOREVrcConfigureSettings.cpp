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
// Writes settings into one repository and remembers whether one was refused:
// a repository missing a setting is not saved.
class SettingWriter {
public:
  explicit SettingWriter(KORSettingRepository& ioRepository) : _repository(ioRepository) {}
  template <class Value> void Write(const KORString& iKey, const Value& iValue) {
    if (FAILED(_repository.WriteSetting(iKey, iValue)))
      _result = E_FAIL;
  }
  HRESULT Result() const { return _result; }

private:
  KORSettingRepository& _repository;
  HRESULT _result = S_OK;
};

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
void WriteCorner(SettingWriter& ioSettings, const KORString& iCorner, const KORMathVector& iPoint) {
  ioSettings.Write(iCorner + "z", static_cast<float>(iPoint.GetZ()));
  ioSettings.Write(iCorner + "y", static_cast<float>(iPoint.GetY()));
  ioSettings.Write(iCorner + "x", static_cast<float>(iPoint.GetX()));
}

// The calibration of a physical screen, in the frame of the station that
// tracks the picking device when there is one, so that the runtime can compare
// the screen with the positions it receives.
void WriteManualCalibration(KOREVrcConfigure& iConfigure, KORIVrcProjectionArea* iArea,
                            SettingWriter& ioSettings) {
  ioSettings.Write("CalibrationMode", KORUnicodeString("Manual"));
  KORMathVector ul, ll, lr;
  KOREVrcConfigure::ReadScreenCorners(iArea, ul, ll, lr);
  KORMathVector ur = lr + (ul - ll);
  KORIVrcTrackingStation_var pickingStation;
  if (SUCCEEDED(iConfigure.RetrievePickingTrackingStation(pickingStation.Out())) && pickingStation)
    KORIgnoreResult(
        iConfigure.ComputeScreenCornersInTrackingStationFrame(pickingStation, ul, ur, ll, lr),
        "without the station's frame the corners stay unchanged, in the model frame");
  WriteCorner(ioSettings, "LR", lr);
  WriteCorner(ioSettings, "UR", ur);
  WriteCorner(ioSettings, "UL", ul);
  ioSettings.Write("height", static_cast<float>((ul - ll).Norm()));
  ioSettings.Write("width", static_cast<float>((ur - ul).Norm()));
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
  // Without any window to tell, the runtime starts in mono.
  bool stereo = false;
  if (FAILED(IsActiveStereoMode(stereo)))
    stereo = false;
  SettingWriter settings(*repository);
  settings.Write("StereoMode", stereo ? 1UL : 0UL);
  return SUCCEEDED(settings.Result()) ? SaveAndCopy(*repository, iPath, iWrite) : E_FAIL;
}

HRESULT KOREVrcConfigure::GenerateVRCommandsSettingFile(const KORUnicodeString& iPath,
                                                        KORUnicodeString& oMessages,
                                                        unsigned char iWrite) {
  KORVrcTraceScope scope("KOREVrcConfigure::GenerateVRCommandsSettingFile");
  oMessages.clear();
  KORSettingRepository* repository = KORSettingRepository::GetRepository("VRCommandsTemp");
  if (!repository)
    return E_FAIL;
  SettingWriter settings(*repository);
  KORIVrcProjectionArea_var area;
  // Without a physical screen the runtime calibrates itself; corners saved
  // by an earlier export are left as they were.
  if (GetProjectionAreaOnMainWindow(area.Out()))
    WriteManualCalibration(*this, area, settings);
  else
    settings.Write("CalibrationMode", KORUnicodeString("Automatic"));

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
  settings.Write("HandTrackingEvent", handEvent);
  settings.Write("HeadTrackingEvent", headEvent);
  return SUCCEEDED(settings.Result()) ? SaveAndCopy(*repository, iPath, iWrite) : E_FAIL;
}
