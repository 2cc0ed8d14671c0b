#include "KORVrcTrackCommand.h"

#include "KORVrcCommands.h"
#include "dialog/KORDlgObject.h"
#include "frame/KORDriver.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcConfigure.h"
#include "interfaces/KORIVrcFactory.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "math/KORMathHPR.h"
#include "vr/KORVRUdpTracking.h"

#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t gInterrupted = 0;

void OnInterrupt(int) {
  gInterrupted = 1;
}

// An interrupt ends the run cleanly (the elements put back, the recording
// published) instead of ending the process; the previous handlers come back
// with the end of the run.
class InterruptScope {
public:
  InterruptScope() {
    gInterrupted = 0;
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &_previousInt);
    ::sigaction(SIGTERM, &action, &_previousTerm);
  }
  ~InterruptScope() {
    ::sigaction(SIGINT, &_previousInt, nullptr);
    ::sigaction(SIGTERM, &_previousTerm, nullptr);
  }
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;

private:
  struct sigaction _previousInt = {};
  struct sigaction _previousTerm = {};
};

int Failure(const std::string& iWhere, const std::string& iWhat) {
  std::cerr << "korvrc: " << iWhere << ": " << iWhat << '\n';
  return 1;
}

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

// Which body of the controller sends which event, from the document: the
// head's viewpoint tracker sends the head's event (a viewport event with one
// window, a position event with several), the hand's picking tracker a
// position event.
KORVRDeviceManager MappingOf(KORIVrcFactory* iFactory) {
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

struct Placement {
  double x = 0, y = 0, z = 0, h = 0, p = 0, r = 0;
};

Placement PlacementOf(KORBaseUnknown* iElement) {
  Placement placement;
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

nlohmann::ordered_json JsonOf(const Placement& iPlacement) {
  return {{"x", iPlacement.x}, {"y", iPlacement.y}, {"z", iPlacement.z},
          {"h", iPlacement.h}, {"p", iPlacement.p}, {"r", iPlacement.r}};
}

std::string TextOf(const Placement& iPlacement) {
  char text[160];
  std::snprintf(text, sizeof text, "%.3f %.3f %.3f, hpr %.3f %.3f %.3f", iPlacement.x,
                iPlacement.y, iPlacement.z, iPlacement.h, iPlacement.p, iPlacement.r);
  return text;
}

// With --json the standard output carries the report's JSON lines only: what
// else writes there during the run (the test-tracking command's notice that
// the runtime holds another configuration) is sent to the standard error. The
// report writes through the stream it is given, to the standard output.
class StandardOutputToError {
public:
  explicit StandardOutputToError(bool iRedirect)
      : _previous(iRedirect ? std::cout.rdbuf(std::cerr.rdbuf()) : nullptr) {}
  ~StandardOutputToError() {
    if (_previous)
      std::cout.rdbuf(_previous);
  }
  StandardOutputToError(const StandardOutputToError&) = delete;
  StandardOutputToError& operator=(const StandardOutputToError&) = delete;

private:
  std::streambuf* _previous;
};

// What the run prints: the status lines of the dialog when they change, and
// the counts and placements.
class TrackReport {
public:
  TrackReport(bool iJson, std::ostream& ioOut, KORFrame& iFrame, KORIVrcFactory* iFactory)
      : _json(iJson), _out(ioOut), _frame(iFrame) {
    if (FAILED(iFactory->RetrieveHead(_head.Out())))
      _head = nullptr;
    if (FAILED(iFactory->RetrieveHandDevice(_hand.Out())))
      _hand = nullptr;
  }

  // Prints the status lines that changed; returns what they say, joined.
  std::string Statuses() {
    std::string all;
    for (KORDlgObject* window : KORDlgShownWindows(*_frame.Commands().GetMainWindow()))
      for (const char* name : {"Label018", "Label020", "Label021"})
        if (KORDlgObject* label = window->FindWidget(name)) {
          const KORUnicodeString text = label->GetValueText();
          if (!text.empty())
            all += (all.empty() ? "" : "; ") + text;
          KORUnicodeString& shown = _statuses[name];
          if (text == shown)
            continue;
          shown = text;
          if (text.empty())
            continue;
          if (_json)
            _out << nlohmann::json{{"status", text}}.dump() << '\n';
          else
            _out << "status: " << text << '\n';
        }
    _out << std::flush;
    return all;
  }

  void Counts(double iSeconds, const KORVRTrackingCounts& iCounts) {
    const Placement head = PlacementOf(_head), hand = PlacementOf(_hand);
    if (_json) {
      _out << nlohmann::ordered_json{{"seconds", iSeconds},
                                     {"received", iCounts.datagrams},
                                     {"skipped", iCounts.malformed},
                                     {"head", JsonOf(head)},
                                     {"hand", JsonOf(hand)}}
                  .dump()
           << '\n';
    } else {
      char seconds[32];
      std::snprintf(seconds, sizeof seconds, "%.3f", iSeconds);
      _out << seconds << " s: received " << iCounts.datagrams << ", skipped " << iCounts.malformed
           << "; head " << TextOf(head) << "; hand " << TextOf(hand) << '\n';
    }
    _out << std::flush;
  }

private:
  bool _json;
  std::ostream& _out;
  KORFrame& _frame;
  KORIVrcHead_var _head;
  KORIVrcHandDevice_var _hand;
  std::map<KORString, KORUnicodeString> _statuses;
};

// Where the datagrams come from: a socket, or a recording replayed at its
// pace on a thread of its own.
class TrackSource {
public:
  explicit TrackSource(KORVRTrackingFeed& ioFeed) : _feed(ioFeed), _receiver(ioFeed) {}
  ~TrackSource() { Stop(); }
  TrackSource(const TrackSource&) = delete;
  TrackSource& operator=(const TrackSource&) = delete;

  int Listen(const std::string& iListen) {
    std::string address;
    unsigned short port = 0;
    if (!SplitAddress(iListen, address, port))
      return Failure("--listen " + iListen, "write ADDRESS:PORT, for example 127.0.0.1:5000");
    KORString error;
    if (FAILED(_receiver.Open(port, error, address)))
      return Failure("--listen " + iListen, error);
    std::cerr << "korvrc: listening on " << address << ":" << _receiver.GetPort() << '\n';
    return 0;
  }

  int Replay(const std::string& iPath) {
    KORString error;
    if (FAILED(KORVRReadTrackingRecording(iPath, _recording, error))) {
      std::cerr << "korvrc: " << error << '\n';
      return 1;
    }
    std::cerr << "korvrc: replaying " << _recording.datagrams.size() << " datagrams of "
              << iPath << '\n';
    _replayer = std::thread([this] {
      KORVRReplayRecording(
          _recording, KORVRReplayPace::Recorded,
          [this](std::string_view iDatagram) { _feed.Accept(iDatagram); }, &_stop);
      _finished = true;
    });
    return 0;
  }

  // Whether a replay has handed over its last datagram.
  bool IsFinished() const { return _finished; }

  void Stop() {
    _stop = true;
    if (_replayer.joinable())
      _replayer.join();
    _receiver.Close();
  }

private:
  KORVRTrackingFeed& _feed;
  KORVRUdpTrackingReceiver _receiver;
  KORVRTrackingRecording _recording;
  std::thread _replayer;
  std::atomic<bool> _stop{false};
  std::atomic<bool> _finished{false};
};

// Performs one driver line; false (oError saying why) when it is refused.
bool Act(KORDriver& ioDriver, const KORString& iLine, KORString& oError) {
  return SUCCEEDED(ioDriver.Perform(iLine, oError));
}

} // namespace

int KORVrcRunTrack(const KORVrcTrackOptions& iOptions) {
  KORFrame* frame = KORFrame::Current();
  if (!frame)
    return Failure("track", "no application frame is running");
  std::string where, error;
  KORSmartPtr<KORDocument> document = KORVrcOpenInput(iOptions.input, where, error);
  if (!document)
    return Failure(where, error);
  auto factory = KORQuery<KORIVrcFactory>(document);
  if (!factory)
    return Failure(where, "holds no configuration");
  KORString workbenchError;
  if (FAILED(frame->LoadWorkbench("KORVrcWorkbench", workbenchError)))
    return Failure(where, workbenchError);

  const KORVRDeviceManager mapping = MappingOf(factory);
  frame->DeviceService().SetMapping(mapping);
  KORVRTrackingFeed feed(mapping, frame->DeviceService().GetDispatcher());
  KORString recordError;
  if (!iOptions.record.empty() && FAILED(feed.StartRecording(iOptions.record, recordError)))
    return Failure("--record " + iOptions.record, recordError);

  std::ostream out(std::cout.rdbuf());
  const StandardOutputToError redirect(iOptions.json);
  KORDriver driver(*frame, std::cerr);
  driver.SetMessageCallback([](const KORDriverMessage& iMessage) {
    std::cerr << "korvrc: " << iMessage.title << ": " << iMessage.text << '\n';
  });
  KORString lineError;
  if (!Act(driver, "start btnTestTracking", lineError))
    return Failure(where, lineError);
  // The warning that the runtime has loaded another configuration.
  if (driver.GetLastMessage().size() > 0 && !Act(driver, "answer ok", lineError))
    return Failure(where, lineError);
  TrackReport report(iOptions.json, out, *frame, factory);
  const std::string statuses = report.Statuses();
  const bool head = Act(driver, "set CheckButton005 on", lineError);
  const bool hand = Act(driver, "set CheckButton006 on", lineError);
  if (!head && !hand) {
    frame->Commands().CancelActiveCommand();
    return Failure(where, "nothing can be tracked: " + statuses);
  }

  InterruptScope interrupts;
  TrackSource source(feed);
  const int opened =
      iOptions.replay.empty() ? source.Listen(iOptions.listen) : source.Replay(iOptions.replay);
  if (opened != 0) {
    frame->Commands().CancelActiveCommand();
    return opened;
  }
  if (!Act(driver, "push PushButton007", lineError))
    return Failure(where, lineError);

  const Clock::time_point start = Clock::now();
  const auto elapsed = [&] {
    return std::chrono::duration<double>(Clock::now() - start).count();
  };
  double nextReport = 1.0;
  for (;;) {
    frame->OnIdle();
    const bool replayed = source.IsFinished() &&
                          frame->DeviceService().GetDispatcher().GetPendingCount() == 0;
    if (gInterrupted || replayed || (iOptions.seconds > 0 && elapsed() >= iOptions.seconds))
      break;
    if (elapsed() >= nextReport) {
      report.Counts(nextReport, feed.GetCounts());
      nextReport += 1.0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  source.Stop();
  frame->OnIdle();
  report.Counts(elapsed(), feed.GetCounts());
  const bool stopped = Act(driver, "push PushButton008", lineError) &&
                       Act(driver, "press OK", lineError);
  if (!iOptions.record.empty()) {
    if (FAILED(feed.StopRecording(recordError)))
      return Failure("--record " + iOptions.record, recordError);
    std::cerr << "korvrc: wrote " << iOptions.record << '\n';
  }
  return stopped ? 0 : Failure(where, lineError);
}
