#include "KORVrcTrackCommand.h"

#include "KORVrcCommands.h"
#include "KORVrcTrackingSource.h"
#include "dialog/KORDlgObject.h"
#include "frame/KORDriver.h"
#include "interfaces/KORIVrcFactory.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"

#include <atomic>
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

std::string TextOf(const KORVrcPlacement& iPlacement) {
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
    const KORVrcPlacement head = KORVrcPlacementOf(_head), hand = KORVrcPlacementOf(_hand);
    if (_json) {
      _out << nlohmann::ordered_json{{"seconds", iSeconds},
                                     {"received", iCounts.datagrams},
                                     {"skipped", iCounts.malformed},
                                     {"head", KORVrcPlacementJSON(head)},
                                     {"hand", KORVrcPlacementJSON(hand)}}
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

  const KORVRDeviceManager mapping = KORVrcTrackingMapping(factory);
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
  KORVrcTrackingSource source(feed);
  std::string sourceError;
  const bool replaying = !iOptions.replay.empty();
  if (FAILED(replaying ? source.Replay(iOptions.replay, sourceError)
                       : source.Listen(iOptions.listen, sourceError))) {
    frame->Commands().CancelActiveCommand();
    if (replaying) {
      std::cerr << "korvrc: " << sourceError << '\n';
      return 1;
    }
    return Failure("--listen " + iOptions.listen, sourceError);
  }
  if (replaying)
    std::cerr << "korvrc: replaying " << source.GetReplayLength() << " datagrams of "
              << iOptions.replay << '\n';
  else
    std::cerr << "korvrc: listening on " << source.GetListenAddress() << '\n';
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
