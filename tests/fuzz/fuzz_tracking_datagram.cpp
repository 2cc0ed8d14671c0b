// libFuzzer harness for the tracking datagram parser, and for what a receiver
// does with a frame it accepted: turn the mapped bodies into events of both
// layouts. Traps when a parse breaks its promises.
#include "vr/KORVRDeviceManager.h"
#include "vr/KORVRTrackingDatagram.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>

namespace {

bool AllFinite(const std::vector<double>& iValues) {
  for (double value : iValues)
    if (!std::isfinite(value))
      return false;
  return true;
}

void CheckAccepted(const KORVRTrackingFrame& iFrame) {
  std::set<int> ids;
  for (const KORVRTrackedBody& body : iFrame.bodies)
    if (body.id < 0 || !ids.insert(body.id).second || !std::isfinite(body.quality))
      __builtin_trap();
  KORVRDeviceManager manager("fuzz");
  std::vector<KORVRDeviceEvent> events;
  for (const char* headKind : {KORVRViewportEventName, KORVRPositionEventName}) {
    for (const KORVRTrackedBody& body : iFrame.bodies) {
      if (FAILED(manager.SetHeadBody(body.id, headKind)) || FAILED(manager.SetHandBody(body.id)))
        __builtin_trap();
      events.clear();
      manager.MakeEvents(iFrame, events);
      if (events.size() != (body.IsTracked() ? 2u : 0u))
        __builtin_trap();
      // The hand's position event only copies finite values. (A viewport built
      // from a rotation with coefficients near the largest double may overflow.)
      if (body.IsTracked() && !AllFinite(events.back().GetDoubleValue()))
        __builtin_trap();
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* iData, std::size_t iSize) {
  const std::string_view datagram(reinterpret_cast<const char*>(iData), iSize);
  KORVRTrackingFrame frame;
  KORString error;
  if (SUCCEEDED(KORVRParseTrackingDatagram(datagram, frame, error))) {
    if (!error.empty())
      __builtin_trap();
    CheckAccepted(frame);
  } else if (error.empty() || frame.number != 0 || !frame.bodies.empty() || frame.timestamp) {
    __builtin_trap();
  }
  return 0;
}
