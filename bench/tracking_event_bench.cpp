// One tracking event through the live tracking test on a large installation
// (512 displays, 16 stations of 16 trackers): posted to the frame's device
// dispatcher, delivered when the frame is idle, written into the head's
// location, and heard by every listener of the document (the visualization
// manager invalidating the element's representation). Target: a median within
// 100 microseconds.
#include "KORBenchInstallation.h"
#include "KORVrcDescriptionModel.h"
#include "featurestore/KORDocument.h"
#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORNotificationDispatcher.h"
#include "frame/KORDriver.h"
#include "interfaces/KORIVrcFactory.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "math/KORMathHPR.h"
#include "system/KORModule.h"
#include "vr/KORVRUdpTracking.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <sstream>
#include <thread>

namespace {

// The head's viewpoint tracker and the hand's picking tracker on the first
// station, as bodies 1 and 2 of its controller.
KORVrcDescription TrackedInstallation() {
  KORVrcDescription description = LargeInstallation();
  KORVrcStationDescription& station = description.trackingStations.front();
  station.trackers[1].tracks = KORVrcTracks::Head;
  station.trackers[1].viewpoint = true;
  station.trackers[2].tracks = KORVrcTracks::Hand;
  station.trackers[2].picking = true;
  return description;
}

// The sensor at iX (millimetres), slightly turned, as the head's viewport
// event (body 1) or the hand's position event (body 2).
std::vector<KORVRDeviceEvent> SensorEvent(bool iHead, double iX) {
  KORMath3x3Matrix rotation;
  KORMathHPR(rotation, 10, -5, 2);
  const KORMathTransformation sensor(rotation, KORMathVector(iX, 0, 1700));
  KORVRDeviceEvent event("Polhemus1", iHead ? KORVRViewportEventName : KORVRPositionEventName,
                         iHead ? 1 : 2);
  event.SetDoubleValue(iHead ? KORVRViewportEventData(sensor) : KORVRPositionEventData(sensor));
  return {event};
}

// Argument 0: the head's event; every view depends on the head, so each one
// notifies a change too. Argument 1: the hand's event, which only the hand
// device hears.
// A frame on the tracked installation, its visualization manager following
// the document, the bodies mapped as the controller sends them, and the
// tracking test started through the driver with iTicked boxes ticked.
class TrackingRun {
public:
  KORFrame frame;
  KORSmartPtr<KORDocument> document = KORDocument::Create();
  KORIVrcFactory_var factory; // once the module is loaded
  KORVRDeviceManager mapping{"Polhemus1"};

  // Empty, or what went wrong.
  std::string Start(std::initializer_list<const char*> iTicked) {
    std::string error;
    if (FAILED(KORLoadModule("KORVrConfig", error)))
      return error;
    KORFrameScope scope(frame);
    frame.MessageBoxes().SetEcho(false);
    factory = KORQuery<KORIVrcFactory>(document);
    if (!factory)
      return "the document has no configuration factory";
    if (FAILED(KORVrcBuildDescription(TrackedInstallation(), factory.get(), error)))
      return error;
    frame.Editor().SetDocument(document->Identity());
    if (FAILED(frame.VisManager().Attach(document.get())) ||
        FAILED(frame.LoadWorkbench("KORVrcWorkbench", error)))
      return "cannot set the frame up: " + error;
    if (FAILED(mapping.SetHeadBody(1, KORVRViewportEventName)) || FAILED(mapping.SetHandBody(2)))
      return "cannot map the bodies";
    frame.DeviceService().SetMapping(mapping);
    std::vector<KORString> lines = {"runtime document", "start btnTestTracking"};
    for (const char* box : iTicked)
      lines.push_back(KORString("set ") + box + " on");
    lines.push_back("push PushButton007");
    std::ostringstream shown;
    KORDriver driver(frame, shown);
    for (const KORString& line : lines)
      if (FAILED(driver.Perform(line, error)))
        return line + ": " + error;
    return {};
  }
};

void BM_TrackingEventToModel(benchmark::State& ioState) {
  const bool head = ioState.range(0) == 0;
  TrackingRun run;
  if (const std::string error = run.Start({head ? "CheckButton005" : "CheckButton006"});
      !error.empty())
    return ioState.SkipWithError(error.c_str());
  KORFrame& frame = run.frame;
  KORFrameScope scope(frame);
  KORIVrcFactory* factory = run.factory.get();
  KORDocument* document = run.document.get();

  KORIVrcHead_var headElement;
  KORIVrcHandDevice_var handElement;
  if (FAILED(factory->RetrieveHead(headElement.Out())) ||
      FAILED(factory->RetrieveHandDevice(handElement.Out())))
    return ioState.SkipWithError("no head or hand device");
  KORBaseUnknown* moved = head ? static_cast<KORBaseUnknown*>(headElement.get())
                               : static_cast<KORBaseUnknown*>(handElement.get());
  if (!frame.VisManager().GetRep(moved, KORVisDimension::ThreeD))
    return ioState.SkipWithError("the moved element draws nothing");
  const int builds = frame.VisManager().GetBuildCount(moved, KORVisDimension::ThreeD);

  // How many model events one tracking event makes reach the document's root.
  KORBaseUnknown_var root;
  auto rootEvents = SUCCEEDED(document->GetRootContainer(root.Out()))
                        ? KORQuery<KORIModelEvents>(root)
                        : KORSmartPtr<KORIModelEvents>();
  if (!rootEvents)
    return ioState.SkipWithError("the document has no root events");
  std::size_t heard = 0;
  const int listener =
      rootEvents->GetDispatcher()->AddListener([&](const KORNotification&) { ++heard; });

  // Two placements in turn, so that every event moves the element.
  std::vector<KORVRDeviceEvent> events[2] = {SensorEvent(head, 0), SensorEvent(head, 10)};
  KORVRDispatcher& dispatcher = frame.DeviceService().GetDispatcher();
  std::size_t delivered = 0;
  int turn = 0;
  for (auto _ : ioState) {
    std::vector<KORVRDeviceEvent> posted = events[turn];
    turn = 1 - turn;
    dispatcher.Post(posted);
    delivered += frame.OnIdle();
  }
  rootEvents->GetDispatcher()->RemoveListener(listener);
  ioState.counters["root_events_per_event"] =
      static_cast<double>(heard) / static_cast<double>(ioState.iterations());
  if (delivered != static_cast<std::size_t>(ioState.iterations()))
    return ioState.SkipWithError("events were lost");
  // The representation was out of date: asking for it builds it again.
  if (!frame.VisManager().GetRep(moved, KORVisDimension::ThreeD) ||
      frame.VisManager().GetBuildCount(moved, KORVisDimension::ThreeD) != builds + 1)
    ioState.SkipWithError("the moved element's representation was not invalidated");
  frame.Commands().CancelActiveCommand();
}
BENCHMARK(BM_TrackingEventToModel)
    ->ArgName("hand")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The whole path at the controller's pace: 3,000 frames sent at 1 kHz over
// loopback UDP to a receiver feeding the frame's dispatcher, pumped every
// millisecond as an idle loop would while the test moves the head on 512
// displays. Counters: frames lost, and whether the head ended where the last
// frame puts it.
void BM_UdpToModelAt1000Hz(benchmark::State& ioState) {
  using namespace std::chrono;
  constexpr int kFrames = 3000;
  TrackingRun run;
  if (const std::string error = run.Start({"CheckButton005", "CheckButton006"}); !error.empty())
    return ioState.SkipWithError(error.c_str());
  KORFrame& frame = run.frame;
  KORFrameScope scope(frame);
  const KORVRDeviceManager& mapping = run.mapping;
  KORIVrcHead_var head;
  if (FAILED(run.factory->RetrieveHead(head.Out())))
    return ioState.SkipWithError("no head");

  for (auto _ : ioState) {
    KORVRTrackingFeed feed(mapping, frame.DeviceService().GetDispatcher());
    KORVRUdpTrackingReceiver receiver(feed);
    KORVRUdpSender sender;
    KORString socketError;
    if (FAILED(receiver.Open(0, socketError)) ||
        FAILED(sender.Open(receiver.GetPort(), socketError)))
      return ioState.SkipWithError(socketError.c_str());
    const auto start = steady_clock::now();
    std::thread stream([&] {
      for (int number = 1; number <= kFrames; ++number) {
        std::this_thread::sleep_until(start + milliseconds(number));
        const std::string datagram = "fr " + std::to_string(number) +
                                     "\n6d 1 [1 1.0][" + std::to_string(number) +
                                     " 0 1700 0 0 0][1 0 0 0 1 0 0 0 1]\n";
        if (FAILED(sender.Send(datagram)))
          return;
      }
    });
    const auto quiet = start + milliseconds(kFrames) + milliseconds(200);
    while (steady_clock::now() < quiet) {
      frame.OnIdle();
      std::this_thread::sleep_for(milliseconds(1));
    }
    stream.join();
    receiver.Close();
    frame.OnIdle();
    const KORVRTrackingCounts counts = feed.GetCounts();
    KORMathTransformation location;
    // The station adds no turn: the head's X is the last frame's number.
    const bool atLastFrame =
        SUCCEEDED(KORQuery<KORIVrcTrackedElement>(head)->GetLocation(location)) &&
        std::abs(location.GetVector().GetX() - kFrames) < 1e-6;
    ioState.counters["lost"] = static_cast<double>(kFrames - static_cast<int>(counts.datagrams));
    ioState.counters["dropped_in_queue"] =
        static_cast<double>(frame.DeviceService().GetDispatcher().GetDroppedCount());
    ioState.counters["head_at_last_frame"] = atLastFrame ? 1 : 0;
  }
  frame.Commands().CancelActiveCommand();
}
BENCHMARK(BM_UdpToModelAt1000Hz)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
