#include "vr/KORVRTrackingRecording.h"

#include "system/KORAtomicFile.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::string_view kHeader = "kortrack/1\n";

KORString SystemError(const KORString& iWhat, const KORUnicodeString& iPath) {
  return iWhat + " \"" + iPath + "\": " + std::strerror(errno);
}

} // namespace

KORVRTrackingRecorder::~KORVRTrackingRecorder() {
  std::lock_guard lock(_mutex);
  if (_descriptor >= 0)
    Discard();
}

bool KORVRTrackingRecorder::IsOpen() const {
  std::lock_guard lock(_mutex);
  return _descriptor >= 0;
}

HRESULT KORVRTrackingRecorder::Open(const KORUnicodeString& iPath, KORString& oError) {
  std::lock_guard lock(_mutex);
  if (_descriptor >= 0) {
    oError = "a recording into \"" + _target + "\" is already open";
    return E_FAIL;
  }
  std::string pattern = iPath + ".XXXXXX";
  const int descriptor = ::mkstemp(pattern.data());
  if (descriptor < 0) {
    oError = SystemError("cannot create a recording beside", iPath);
    return E_FAIL;
  }
  if (!KORWriteAll(descriptor, kHeader)) {
    oError = SystemError("cannot write", pattern);
    ::close(descriptor);
    ::unlink(pattern.c_str());
    return E_FAIL;
  }
  _descriptor = descriptor;
  _target = iPath;
  _temporary = pattern;
  _start = std::chrono::steady_clock::now();
  _lastSeconds = 0.0;
  _writeError.clear();
  return S_OK;
}

void KORVRTrackingRecorder::Record(std::string_view iDatagram,
                                   std::chrono::steady_clock::time_point iArrival) {
  std::lock_guard lock(_mutex);
  if (_descriptor < 0 || !_writeError.empty() || iDatagram.size() > KORVRMaxDatagramSize)
    return;
  const double seconds =
      std::max(_lastSeconds, std::chrono::duration<double>(iArrival - _start).count());
  _lastSeconds = seconds;
  char prefix[64];
  const int length =
      std::snprintf(prefix, sizeof prefix, "%.6f %zu\n", seconds, iDatagram.size());
  std::string record(prefix, static_cast<std::size_t>(length));
  record.append(iDatagram);
  record.push_back('\n');
  if (!KORWriteAll(_descriptor, record))
    _writeError = SystemError("cannot write", _temporary);
}

void KORVRTrackingRecorder::Discard() {
  ::close(_descriptor);
  ::unlink(_temporary.c_str());
  _descriptor = -1;
}

HRESULT KORVRTrackingRecorder::Close(KORString& oError) {
  std::lock_guard lock(_mutex);
  if (_descriptor < 0)
    return S_FALSE;
  if (_writeError.empty() && ::fsync(_descriptor) != 0)
    _writeError = SystemError("cannot flush", _temporary);
  // mkstemp makes the file private; a recording is an ordinary file.
  if (_writeError.empty() && ::fchmod(_descriptor, 0644) != 0)
    _writeError = SystemError("cannot set the permissions of", _temporary);
  if (!_writeError.empty()) {
    oError = _writeError;
    Discard();
    return E_FAIL;
  }
  ::close(_descriptor);
  _descriptor = -1;
  if (::rename(_temporary.c_str(), _target.c_str()) != 0) {
    oError = SystemError("cannot write", _target);
    ::unlink(_temporary.c_str());
    return E_FAIL;
  }
  return S_OK;
}

namespace {

// Reads records one after the other, remembering where it is for errors.
class RecordReader {
public:
  RecordReader(std::string_view iText, const KORString& iName) : _text(iText), _name(iName) {}

  HRESULT Read(KORVRTrackingRecording& oRecording, KORString& oError) {
    if (_text.substr(0, kHeader.size()) != kHeader)
      return Fail("does not start with \"kortrack/1\"", oError, /*iAtRecord=*/false);
    _offset = kHeader.size();
    double lastSeconds = 0.0;
    while (_offset < _text.size()) {
      ++_record;
      _recordStart = _offset;
      KORVRRecordedDatagram datagram;
      std::size_t length = 0;
      if (FAILED(ReadRecordLine(datagram.seconds, length, oError)))
        return E_FAIL;
      if (datagram.seconds < lastSeconds)
        return Fail("time goes backwards", oError);
      lastSeconds = datagram.seconds;
      if (_text.size() - _offset < length + 1 || _text[_offset + length] != '\n')
        return Fail("truncated datagram (" + std::to_string(length) + " bytes announced)", oError);
      datagram.bytes.assign(_text.substr(_offset, length));
      _offset += length + 1;
      oRecording.datagrams.push_back(std::move(datagram));
    }
    return S_OK;
  }

private:
  HRESULT ReadRecordLine(double& oSeconds, std::size_t& oLength, KORString& oError) {
    const std::size_t lineEnd = _text.find('\n', _offset);
    if (lineEnd == std::string_view::npos)
      return Fail("record line without end", oError);
    const char* begin = _text.data() + _offset;
    const char* end = _text.data() + lineEnd;
    auto [afterSeconds, secondsError] = std::from_chars(begin, end, oSeconds);
    if (secondsError != std::errc() || afterSeconds == end || *afterSeconds != ' ' ||
        !std::isfinite(oSeconds) || oSeconds < 0.0)
      return Fail("expected \"SECONDS LENGTH\"", oError);
    auto [afterLength, lengthError] = std::from_chars(afterSeconds + 1, end, oLength);
    if (lengthError != std::errc() || afterLength != end)
      return Fail("expected \"SECONDS LENGTH\"", oError);
    if (oLength > KORVRMaxDatagramSize)
      return Fail("datagram longer than " + std::to_string(KORVRMaxDatagramSize) +
                             " bytes",
                  oError);
    _offset = lineEnd + 1;
    return S_OK;
  }

  HRESULT Fail(const KORString& iWhat, KORString& oError, bool iAtRecord = true) const {
    oError = _name + ": ";
    if (iAtRecord)
      oError +=
          "record " + std::to_string(_record) + " at byte " + std::to_string(_recordStart) + ": ";
    oError += iWhat;
    return E_FAIL;
  }

  std::string_view _text;
  const KORString& _name;
  std::size_t _offset = 0;
  std::size_t _record = 0;
  std::size_t _recordStart = 0;
};

} // namespace

HRESULT KORVRParseTrackingRecording(std::string_view iText, const KORString& iName,
                                    KORVRTrackingRecording& oRecording, KORString& oError) {
  oRecording = KORVRTrackingRecording();
  const HRESULT result = RecordReader(iText, iName).Read(oRecording, oError);
  if (FAILED(result))
    oRecording = KORVRTrackingRecording();
  return result;
}

HRESULT KORVRReadTrackingRecording(const KORUnicodeString& iPath, KORVRTrackingRecording& oRecording,
                                   KORString& oError) {
  oRecording = KORVRTrackingRecording();
  std::ifstream file(iPath, std::ios::binary);
  if (!file) {
    oError = SystemError("cannot open", iPath);
    return E_FAIL;
  }
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) {
    oError = SystemError("cannot read", iPath);
    return E_FAIL;
  }
  return KORVRParseTrackingRecording(text, iPath, oRecording, oError);
}

std::size_t KORVRReplayRecording(const KORVRTrackingRecording& iRecording, KORVRReplayPace iPace,
                                 const std::function<void(std::string_view)>& iSend,
                                 const std::atomic<bool>* iStop) {
  const auto start = std::chrono::steady_clock::now();
  std::size_t sent = 0;
  for (const KORVRRecordedDatagram& datagram : iRecording.datagrams) {
    if (iStop && iStop->load())
      break;
    if (iPace == KORVRReplayPace::Recorded)
      std::this_thread::sleep_until(
          start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                      std::chrono::duration<double>(datagram.seconds)));
    iSend(datagram.bytes);
    ++sent;
  }
  return sent;
}
