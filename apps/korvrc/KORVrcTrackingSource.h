#pragma once
// What `korvrc track` and the browser workbench share to run the live
// tracking test on a document: which controller body sends which event, the
// source of datagrams (a UDP socket, or a recorded run replayed at its pace),
// and the head's and hand device's placements as they are shown.
#include "objectmodel/KORResult.h"
#include "vr/KORVRDeviceManager.h"
#include "vr/KORVRTrackingFeed.h"
#include "vr/KORVRTrackingRecording.h"
#include "vr/KORVRUdpTracking.h"

#include <atomic>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

class KORBaseUnknown;
class KORIVrcFactory;

// Which body of the controller sends which event, from the document: the
// head's viewpoint tracker sends the head's event (a viewport event with one
// window, a position event with several), the hand's picking tracker a
// position event.
KORVRDeviceManager KORVrcTrackingMapping(KORIVrcFactory* iFactory);

// A tracked element's placement in the model frame: millimetres, and
// heading, pitch and roll in degrees. All zero when it cannot be read.
struct KORVrcPlacement {
  double x = 0, y = 0, z = 0, h = 0, p = 0, r = 0;
};
KORVrcPlacement KORVrcPlacementOf(KORBaseUnknown* iElement);
nlohmann::ordered_json KORVrcPlacementJSON(const KORVrcPlacement& iPlacement);

// Where the datagrams come from: a socket, or a recording replayed at its
// pace on a thread of its own. Either hands them to the feed.
class KORVrcTrackingSource {
public:
  explicit KORVrcTrackingSource(KORVRTrackingFeed& ioFeed) : _feed(ioFeed), _receiver(ioFeed) {}
  ~KORVrcTrackingSource() { Stop(); }
  KORVrcTrackingSource(const KORVrcTrackingSource&) = delete;
  KORVrcTrackingSource& operator=(const KORVrcTrackingSource&) = delete;

  // Receives on iListen, "ADDRESS:PORT" (port 0: any free one). E_FAIL with
  // oError saying what is wrong with the address or the socket.
  HRESULT Listen(const std::string& iListen, std::string& oError);
  // "ADDRESS:PORT" actually bound, once listening.
  std::string GetListenAddress() const;

  // Reads the recording and starts replaying it. E_FAIL with oError naming
  // the file when it cannot be read.
  HRESULT Replay(const std::string& iPath, std::string& oError);
  std::size_t GetReplayLength() const { return _recording.datagrams.size(); }
  // Whether a replay has handed over its last datagram.
  bool IsFinished() const { return _finished; }

  void Stop();

private:
  KORVRTrackingFeed& _feed;
  KORVRUdpTrackingReceiver _receiver;
  std::string _address;
  KORVRTrackingRecording _recording;
  std::thread _replayer;
  std::atomic<bool> _stop{false};
  std::atomic<bool> _finished{false};
};
