// Cost of the tracking source: one frame parsed, turned into head and hand
// events and delivered by the dispatcher; and the UDP path fed at 1,000 frames
// a second on loopback for a few seconds, with the frames lost and the rate
// reached as counters.
#include "vr/KORVRUdpTracking.h"

#include <benchmark/benchmark.h>

#include <thread>

namespace {

// A controller's frame: four bodies, the head (1) and the hand (2) among them.
std::string Frame(std::uint64_t iNumber) {
  return "fr " + std::to_string(iNumber) +
         "\nts 39596.024000\n"
         "6d 4 [1 1.000][326.848 -187.216 1109.503 -160.4 -1.5 -28.1]"
         "[-0.880 0.436 0.196 0.475 0.775 0.416 0.001 -0.460 0.888] "
         "[2 0.962][100.0 200.0 1700.0 0.0 0.0 90.0][0.0 1.0 0.0 -1.0 0.0 0.0 0.0 0.0 1.0] "
         "[3 0.900][-500.0 20.0 900.0 0.0 0.0 0.0][1.0 0.0 0.0 0.0 1.0 0.0 0.0 0.0 1.0] "
         "[5 -1.000][0.0 0.0 0.0 0.0 0.0 0.0][0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0]\n"
         "3d 1 [9 1.000][10.0 20.0 30.0]\n";
}

KORVRDeviceManager HeadAndHand() {
  KORVRDeviceManager manager("ART1");
  if (FAILED(manager.SetHeadBody(1, KORVRViewportEventName)) || FAILED(manager.SetHandBody(2)))
    std::abort();
  return manager;
}

void BM_ParseAndDispatchOneFrame(benchmark::State& ioState) {
  KORVRDispatcher dispatcher;
  KORVRTrackingFeed feed(HeadAndHand(), dispatcher);
  std::size_t delivered = 0;
  for (const char* name : {KORVRViewportEventName, KORVRPositionEventName})
    dispatcher.Subscribe(name, [&](const KORVRNotification& iNotification) {
      delivered += iNotification.GetEvents().size();
    });
  const std::string datagram = Frame(21753);
  for (auto _ : ioState) {
    feed.Accept(datagram);
    benchmark::DoNotOptimize(dispatcher.Pump());
  }
  if (delivered != 2 * static_cast<std::size_t>(ioState.iterations()))
    ioState.SkipWithError("events were lost");
}
BENCHMARK(BM_ParseAndDispatchOneFrame)->Repetitions(9)->ReportAggregatesOnly(true);

// A sender thread paced at 1 kHz for three seconds; this thread pumps the
// dispatcher every millisecond, as an idle user-interface loop would.
void BM_UdpStreamAt1000Hz(benchmark::State& ioState) {
  using namespace std::chrono;
  constexpr std::uint64_t kFrames = 3000;
  for (auto _ : ioState) {
    KORVRDispatcher dispatcher;
    KORVRTrackingFeed feed(HeadAndHand(), dispatcher);
    KORVRUdpTrackingReceiver receiver(feed);
    KORVRUdpSender sender;
    KORString error;
    if (FAILED(receiver.Open(0, error)) || FAILED(sender.Open(receiver.GetPort(), error))) {
      ioState.SkipWithError(error.c_str());
      return;
    }
    std::uint64_t headEvents = 0;
    dispatcher.Subscribe(KORVRViewportEventName, [&](const KORVRNotification& iNotification) {
      headEvents += iNotification.GetEvents().size();
    });
    std::atomic<std::uint64_t> sent{0};
    const auto start = steady_clock::now();
    std::thread stream([&] {
      for (std::uint64_t frame = 1; frame <= kFrames; ++frame) {
        std::this_thread::sleep_until(start + milliseconds(frame));
        if (SUCCEEDED(sender.Send(Frame(frame))))
          ++sent;
      }
    });
    // Pump until the stream ends, then give stragglers a moment.
    const auto quiet = start + milliseconds(kFrames) + milliseconds(200);
    while (steady_clock::now() < quiet) {
      dispatcher.Pump();
      std::this_thread::sleep_for(milliseconds(1));
    }
    stream.join();
    dispatcher.Pump();
    const double lastFrameSeconds = duration<double>(milliseconds(kFrames)).count();
    const KORVRTrackingCounts counts = feed.GetCounts();
    ioState.counters["sent"] = static_cast<double>(sent.load());
    ioState.counters["received"] = static_cast<double>(counts.datagrams);
    ioState.counters["lost"] = static_cast<double>(sent.load() - counts.datagrams);
    ioState.counters["malformed"] = static_cast<double>(counts.malformed);
    ioState.counters["head_events"] = static_cast<double>(headEvents);
    ioState.counters["rate_hz"] = static_cast<double>(counts.datagrams) / lastFrameSeconds;
    ioState.counters["dropped_in_queue"] = static_cast<double>(dispatcher.GetDroppedCount());
  }
}
BENCHMARK(BM_UdpStreamAt1000Hz)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
