#include "vr/KORVRTrackingFeed.h"

void KORVRTrackingFeed::Accept(std::string_view iDatagram,
                               std::chrono::steady_clock::time_point iArrival) {
  ++_datagrams;
  _recorder.Record(iDatagram, iArrival);
  KORVRTrackingFrame frame;
  KORString error;
  if (FAILED(KORVRParseTrackingDatagram(iDatagram, frame, error))) {
    ++_malformed;
    std::lock_guard lock(_errorMutex);
    _lastError = std::move(error);
    return;
  }
  std::vector<KORVRDeviceEvent> events;
  _manager.MakeEvents(frame, events);
  if (events.empty())
    return;
  _events += events.size();
  _dispatcher.Post(events);
}

KORVRTrackingCounts KORVRTrackingFeed::GetCounts() const {
  return {_datagrams.load(), _malformed.load(), _events.load()};
}

KORString KORVRTrackingFeed::GetLastError() const {
  std::lock_guard lock(_errorMutex);
  return _lastError;
}
