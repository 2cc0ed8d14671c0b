#include "KORVrcTrackingSource.h"

#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcConfigure.h"
#include "interfaces/KORIVrcFactory.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "math/KORMathHPR.h"
#include "vr/KORVRDeviceService.h"

#include <charconv>

namespace {
bool SplitAddress(const std::string& iText, std::string& oAddress, unsigned short& oPort) {
  const std::size_t colon = iText.rfind(':');
  if (colon == std::string::npos || colon == 0)
    return false;
  const char* first = iText.data() + colon + 1;
  const char* last = iText.data() + iText.size();
  auto [stop, error] = std::from_chars(first, last, oPort);
  oAddress = iText.substr(0, colon);
  return error == std::errc() && stop == last && first != last;
}

// A tracker's body ID (its number, which is its name) and its station's daemon.
bool ReadTracker(KORIVrcTracker* iTracker, int& oBody, KORUnicodeString& ioDevice) {
  KORUnicodeString name;
  if (!iTracker || FAILED(iTracker->GetName(name)))
    return false;
  auto [stop, error] = std::from_chars(name.data(), name.data() + name.size(), oBody);
  if (error != std::errc() || oBody < 0)
    return false;
  KORIVrcTrackingStation_var station;
  KORUnicodeString daemon;
  if (ioDevice.empty() && SUCCEEDED(iTracker->GetTrackingStation(station.Out())) && station &&
      SUCCEEDED(station->GetDaemonName(daemon)))
    ioDevice = daemon;
  return true;
}
} // namespace

KORVRDeviceManager KORVrcTrackingMapping(KORIVrcFactory* iFactory) {
  KORIVrcHead_var head;
  KORIVrcHandDevice_var hand;
  KORIVrcTracker_var viewpoint, picking;
  if (SUCCEEDED(iFactory->RetrieveHead(head.Out())) && head &&
      FAILED(head->GetViewPointTracker(viewpoint.Out())))
    viewpoint = nullptr;
  if (SUCCEEDED(iFactory->RetrieveHandDevice(hand.Out())) && hand &&
      FAILED(hand->GetPickingTracker(picking.Out())))
    picking = nullptr;
  KORUnicodeString device;
  int headBody = 0, handBody = 0;
  const bool headMapped = ReadTracker(viewpoint, headBody, device);
  const bool handMapped = ReadTracker(picking, handBody, device);
  KORVRDeviceManager mapping(device.empty() ? KORString(KORVRDefaultDeviceName) : device);
  KORIVrcConfig_var config;
  int windows = 0;
  if (SUCCEEDED(iFactory->RetrieveConfig(config.Out())))
    if (auto configure = KORQuery<KORIVrcConfigure>(config);
        !configure || FAILED(configure->NumberOfWindow(windows)))
      windows = 0;
  const char* headEvent = windows > 1 ? KORVRPositionEventName : KORVRViewportEventName;
  if (headMapped && FAILED(mapping.SetHeadBody(headBody, headEvent)))
    mapping.ClearMapping();
  if (handMapped && FAILED(mapping.SetHandBody(handBody)))
    mapping.ClearMapping();
  return mapping;
}

KORVrcPlacement KORVrcPlacementOf(KORBaseUnknown* iElement) {
  KORVrcPlacement placement;
  KORMathTransformation location;
  auto element = KORQuery<KORIVrcTrackedElement>(iElement);
  if (!element || FAILED(element->GetLocation(location)))
    return placement;
  const KORMathVector position = location.GetVector();
  placement.x = position.GetX();
  placement.y = position.GetY();
  placement.z = position.GetZ();
  KORMathGetHPR(location.GetMatrix(), placement.h, placement.p, placement.r);
  return placement;
}

nlohmann::ordered_json KORVrcPlacementJSON(const KORVrcPlacement& iPlacement) {
  return {{"x", iPlacement.x}, {"y", iPlacement.y}, {"z", iPlacement.z},
          {"h", iPlacement.h}, {"p", iPlacement.p}, {"r", iPlacement.r}};
}

HRESULT KORVrcTrackingSource::Listen(const std::string& iListen, std::string& oError) {
  unsigned short port = 0;
  if (!SplitAddress(iListen, _address, port)) {
    oError = "write ADDRESS:PORT, for example 127.0.0.1:5000";
    return E_FAIL;
  }
  KORString error;
  if (FAILED(_receiver.Open(port, error, _address))) {
    oError = error;
    return E_FAIL;
  }
  return S_OK;
}

std::string KORVrcTrackingSource::GetListenAddress() const {
  return _address + ':' + std::to_string(_receiver.GetPort());
}

HRESULT KORVrcTrackingSource::Replay(const std::string& iPath, std::string& oError) {
  KORString error;
  if (FAILED(KORVRReadTrackingRecording(iPath, _recording, error))) {
    oError = error;
    return E_FAIL;
  }
  _replayer = std::thread([this] {
    KORVRReplayRecording(
        _recording, KORVRReplayPace::Recorded,
        [this](std::string_view iDatagram) { _feed.Accept(iDatagram); }, &_stop);
    _finished = true;
  });
  return S_OK;
}

void KORVrcTrackingSource::Stop() {
  _stop = true;
  if (_replayer.joinable())
    _replayer.join();
  _receiver.Close();
}
