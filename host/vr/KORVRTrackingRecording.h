#pragma once
// Recorded tracking runs: the datagrams a tracking source received, with
// their arrival times, so that a run can be replayed without the hardware.
//
// File format (docs/tracking-source.md), bytes as received, no encoding:
//
//   kortrack/1\n
//   SECONDS LENGTH\n        one record per datagram, in arrival order:
//   <LENGTH bytes>\n        SECONDS since the recording started ("%.6f",
//   ...                     never decreasing), LENGTH the datagram's size
//
// The length prefix keeps datagrams with line breaks (all of them) and any
// byte value intact.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string_view>
#include <vector>

inline constexpr std::size_t KORVRMaxDatagramSize = 65507; // the largest UDP payload over IPv4

// Writes a recording. The records go to a temporary file beside the target,
// which Close renames over the target: until then, and after any failure,
// the target is as it was. Record may be called from any thread.
class KORVRTrackingRecorder {
public:
  KORVRTrackingRecorder() = default;
  // A recording still open is abandoned: its temporary file is removed.
  ~KORVRTrackingRecorder();
  KORVRTrackingRecorder(const KORVRTrackingRecorder&) = delete;
  KORVRTrackingRecorder& operator=(const KORVRTrackingRecorder&) = delete;

  // Starts recording into iPath, the clock starting now. E_FAIL (oError
  // says why) when the temporary file cannot be made or a recording is open.
  HRESULT Open(const KORUnicodeString& iPath, KORString& oError);
  bool IsOpen() const;
  // Appends one datagram received at iArrival (clamped so that times never
  // decrease). A failed write is kept and reported by Close; datagrams
  // longer than KORVRMaxDatagramSize are not recorded.
  void Record(std::string_view iDatagram,
              std::chrono::steady_clock::time_point iArrival = std::chrono::steady_clock::now());
  // Publishes the file: S_OK, or E_FAIL (oError says why; the target is left
  // as it was) when a write failed. S_FALSE when nothing was open.
  HRESULT Close(KORString& oError);

private:
  void Discard();
  mutable std::mutex _mutex;
  int _descriptor = -1;
  KORUnicodeString _target;
  KORUnicodeString _temporary;
  std::chrono::steady_clock::time_point _start;
  double _lastSeconds = 0.0;
  KORString _writeError;
};

struct KORVRRecordedDatagram {
  double seconds = 0.0;
  std::string bytes;
};

struct KORVRTrackingRecording {
  std::vector<KORVRRecordedDatagram> datagrams;
};

// Reads a whole recording: S_OK, or E_FAIL with oError naming the file, the
// record and its byte offset ("run.kortrack: record 3 at byte 120: ..."),
// and oRecording emptied.
HRESULT KORVRReadTrackingRecording(const KORUnicodeString& iPath, KORVRTrackingRecording& oRecording,
                                   KORString& oError);
// The same from text already in memory; iName stands for the file in errors.
HRESULT KORVRParseTrackingRecording(std::string_view iText, const KORString& iName,
                                    KORVRTrackingRecording& oRecording, KORString& oError);

enum class KORVRReplayPace { Recorded, AsFastAsPossible };

// Hands each recorded datagram to iSend, in order: at the recorded pace (each
// one when its time has come since the replay started) or without waiting.
// Stops early when iStop becomes true. Returns how many were handed over.
std::size_t KORVRReplayRecording(const KORVRTrackingRecording& iRecording, KORVRReplayPace iPace,
                                 const std::function<void(std::string_view)>& iSend,
                                 const std::atomic<bool>* iStop = nullptr);
