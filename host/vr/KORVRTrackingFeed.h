#pragma once
// What a tracking source does with each datagram, whoever receives it (the
// UDP receiver's thread, a replay): parse it, turn the mapped bodies into
// device events (KORVRDeviceManager), post them to the dispatcher, and, while
// a recording is open, record the datagram with its arrival time. A malformed
// datagram is counted and skipped; it never stops the feed.
//
// Accept may be called from any thread, by several at once.
#include "vr/KORVRDeviceManager.h"
#include "vr/KORVRDispatcher.h"
#include "vr/KORVRTrackingRecording.h"

#include <atomic>

struct KORVRTrackingCounts {
  std::uint64_t datagrams = 0; // every datagram accepted, malformed ones included
  std::uint64_t malformed = 0;
  std::uint64_t events = 0; // posted to the dispatcher
};

class KORVRTrackingFeed {
public:
  // Keeps a copy of iManager's mapping.
  KORVRTrackingFeed(const KORVRDeviceManager& iManager, KORVRDispatcher& ioDispatcher)
      : _manager(iManager), _dispatcher(ioDispatcher) {}
  KORVRTrackingFeed(const KORVRTrackingFeed&) = delete;
  KORVRTrackingFeed& operator=(const KORVRTrackingFeed&) = delete;

  void Accept(std::string_view iDatagram,
              std::chrono::steady_clock::time_point iArrival = std::chrono::steady_clock::now());

  KORVRTrackingCounts GetCounts() const;
  // Why the last malformed datagram was refused; empty when none was.
  KORString GetLastError() const;

  // See KORVRTrackingRecorder::Open and Close.
  HRESULT StartRecording(const KORUnicodeString& iPath, KORString& oError) {
    return _recorder.Open(iPath, oError);
  }
  HRESULT StopRecording(KORString& oError) { return _recorder.Close(oError); }

private:
  const KORVRDeviceManager _manager;
  KORVRDispatcher& _dispatcher;
  KORVRTrackingRecorder _recorder;
  std::atomic<std::uint64_t> _datagrams{0};
  std::atomic<std::uint64_t> _malformed{0};
  std::atomic<std::uint64_t> _events{0};
  mutable std::mutex _errorMutex;
  KORString _lastError;
};
