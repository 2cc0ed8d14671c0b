#include "KORVrcLiveTracking.h"

#include "dialog/KORDlgObject.h"
#include "interfaces/KORIVrcFactory.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"

namespace {
constexpr const char* kTestDialog = "KORVrcTestTrackingDlg";
constexpr const char* kStopButton = "PushButton008";
constexpr const char* kHeadCheck = "CheckButton005";
constexpr const char* kHandCheck = "CheckButton006";

bool IsSensitive(KORDlgObject& iWindow, const char* iWidget) {
  const KORDlgObject* widget = iWindow.FindWidget(iWidget);
  return widget && widget->GetSensitivity();
}
} // namespace

KORVrcLiveTracking::KORVrcLiveTracking(KORFrame& iFrame, KORSmartPtr<KORDocument> iDocument,
                                       KORVrcTrackingSettings iSettings)
    : _frame(iFrame), _document(std::move(iDocument)), _settings(std::move(iSettings)) {}

KORDlgObject* KORVrcLiveTracking::TestDialog() {
  for (KORDlgObject* window : KORDlgShownWindows(*_frame.Commands().GetMainWindow()))
    if (window->GetName() == kTestDialog)
      return window;
  return nullptr;
}

// The dialog greys both ticks while its test runs, and only a started test
// can be stopped.
bool KORVrcLiveTracking::TestRuns() {
  KORDlgObject* dialog = TestDialog();
  return dialog && IsSensitive(*dialog, kStopButton) && !IsSensitive(*dialog, kHeadCheck) &&
         !IsSensitive(*dialog, kHandCheck);
}

HRESULT KORVrcLiveTracking::Follow(std::string& oError) {
  auto factory = KORQuery<KORIVrcFactory>(_document);
  const bool runs = TestRuns();
  const bool dialogShown = runs || TestDialog() != nullptr;
  // The placements are told when the dialog opens, and again after a stop.
  _reportDue = _reportDue || (dialogShown && !_dialogShown) || (!runs && _source);
  _dialogShown = dialogShown;
  if (!runs) {
    _source.reset();
    _feed.reset();
    // The test reads the mapping when its dialog opens.
    if (factory)
      _frame.DeviceService().SetMapping(KORVrcTrackingMapping(factory));
    return S_OK;
  }
  if (_source || !factory)
    return S_OK;
  _feed = std::make_unique<KORVRTrackingFeed>(_frame.DeviceService().GetDeviceManager(),
                                              _frame.DeviceService().GetDispatcher());
  _source = std::make_unique<KORVrcTrackingSource>(*_feed);
  const bool replaying = !_settings.replay.empty();
  if (SUCCEEDED(replaying ? _source->Replay(_settings.replay, oError)
                          : _source->Listen(_settings.listen, oError)))
    return S_OK;
  oError = (replaying ? "cannot replay " + _settings.replay : "cannot listen on " + _settings.listen) +
           ": " + oError;
  _source.reset();
  _feed.reset();
  return E_FAIL;
}

std::string KORVrcLiveTracking::Pump() {
  if (!_source && !_reportDue)
    return {};
  _reportDue = false;
  if (_source)
    _frame.OnIdle();
  auto factory = KORQuery<KORIVrcFactory>(_document);
  KORIVrcHead_var head;
  KORIVrcHandDevice_var hand;
  if (!factory || FAILED(factory->RetrieveHead(head.Out())))
    head = nullptr;
  if (!factory || FAILED(factory->RetrieveHandDevice(hand.Out())))
    hand = nullptr;
  const KORVRTrackingCounts counts = _feed ? _feed->GetCounts() : KORVRTrackingCounts();
  const std::string placements = nlohmann::ordered_json{
      {"running", IsRunning()},
      {"head", KORVrcPlacementJSON(KORVrcPlacementOf(head))},
      {"hand", KORVrcPlacementJSON(KORVrcPlacementOf(hand))}}.dump();
  if (placements == _reported)
    return {};
  _reported = placements;
  nlohmann::ordered_json report = nlohmann::ordered_json::parse(placements);
  report["received"] = counts.datagrams;
  report["skipped"] = counts.malformed;
  return report.dump();
}
