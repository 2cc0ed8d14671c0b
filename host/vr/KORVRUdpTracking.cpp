#include "vr/KORVRUdpTracking.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Room for bursts: a second of frames at 1 kHz while the reader is held up.
constexpr int kReceiveBufferBytes = 4 * 1024 * 1024;

KORString Describe(const KORString& iAddress, unsigned short iPort) {
  return iAddress + ":" + std::to_string(iPort);
}

HRESULT MakeAddress(const KORString& iAddress, unsigned short iPort, sockaddr_in& oAddress,
                    KORString& oError) {
  std::memset(&oAddress, 0, sizeof oAddress);
  oAddress.sin_family = AF_INET;
  oAddress.sin_port = htons(iPort);
  if (::inet_pton(AF_INET, iAddress.c_str(), &oAddress.sin_addr) != 1) {
    oError = "not an IPv4 address: \"" + iAddress + "\"";
    return E_INVALIDARG;
  }
  return S_OK;
}

// A UDP socket connected (sender) or bound (receiver) to iAddress:iPort, or
// -1 with oError.
int OpenSocket(const KORString& iAddress, unsigned short iPort, bool iBind, KORString& oError,
               HRESULT& oResult) {
  sockaddr_in address;
  oResult = MakeAddress(iAddress, iPort, address, oError);
  if (FAILED(oResult))
    return -1;
  oResult = E_FAIL;
  const int descriptor = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (descriptor < 0) {
    oError = KORString("cannot make a UDP socket: ") + std::strerror(errno);
    return -1;
  }
  const auto* generic = reinterpret_cast<const sockaddr*>(&address);
  const int status = iBind ? ::bind(descriptor, generic, sizeof address)
                           : ::connect(descriptor, generic, sizeof address);
  if (status != 0) {
    oError = KORString(iBind ? "cannot bind " : "cannot address ") + Describe(iAddress, iPort) +
             ": " + std::strerror(errno);
    ::close(descriptor);
    return -1;
  }
  oResult = S_OK;
  return descriptor;
}

void CloseDescriptor(int& ioDescriptor) {
  if (ioDescriptor >= 0)
    ::close(ioDescriptor);
  ioDescriptor = -1;
}

} // namespace

HRESULT KORVRUdpTrackingReceiver::Open(unsigned short iPort, KORString& oError,
                                       const KORString& iAddress) {
  if (IsOpen()) {
    oError = "the receiver is already open on port " + std::to_string(_port);
    return E_FAIL;
  }
  HRESULT result = E_FAIL;
  const int descriptor = OpenSocket(iAddress, iPort, /*iBind=*/true, oError, result);
  if (FAILED(result))
    return result;
  // Where the system refuses the larger buffer, its default one still works.
  ::setsockopt(descriptor, SOL_SOCKET, SO_RCVBUF, &kReceiveBufferBytes, sizeof kReceiveBufferBytes);
  sockaddr_in bound;
  socklen_t boundSize = sizeof bound;
  int wake[2] = {-1, -1};
  if (::getsockname(descriptor, reinterpret_cast<sockaddr*>(&bound), &boundSize) != 0 ||
      ::pipe2(wake, O_CLOEXEC) != 0) {
    oError = "cannot set up the receiver on " + Describe(iAddress, iPort) + ": " +
             std::strerror(errno);
    ::close(descriptor);
    return E_FAIL;
  }
  _socket = descriptor;
  _wakeRead = wake[0];
  _wakeWrite = wake[1];
  _port = ntohs(bound.sin_port);
  _thread = std::thread(&KORVRUdpTrackingReceiver::ReadLoop, this);
  return S_OK;
}

void KORVRUdpTrackingReceiver::ReadLoop() {
  std::string buffer(KORVRMaxDatagramSize, '\0');
  pollfd watched[2] = {{_socket, POLLIN, 0}, {_wakeRead, POLLIN, 0}};
  for (;;) {
    if (::poll(watched, 2, -1) < 0) {
      if (errno == EINTR)
        continue;
      return;
    }
    if (watched[1].revents != 0)
      return;
    const ssize_t received = ::recv(_socket, buffer.data(), buffer.size(), MSG_DONTWAIT);
    if (received >= 0)
      _feed.Accept(std::string_view(buffer.data(), static_cast<std::size_t>(received)));
  }
}

void KORVRUdpTrackingReceiver::Close() {
  if (!IsOpen())
    return;
  const char stop = 0;
  while (::write(_wakeWrite, &stop, 1) < 0 && errno == EINTR) {
  }
  _thread.join();
  CloseDescriptor(_socket);
  CloseDescriptor(_wakeRead);
  CloseDescriptor(_wakeWrite);
  _port = 0;
}

HRESULT KORVRUdpSender::Open(unsigned short iPort, KORString& oError, const KORString& iAddress) {
  if (_socket >= 0) {
    oError = "the sender is already open";
    return E_FAIL;
  }
  HRESULT result = E_FAIL;
  _socket = OpenSocket(iAddress, iPort, /*iBind=*/false, oError, result);
  return result;
}

HRESULT KORVRUdpSender::Send(std::string_view iDatagram) const {
  if (_socket < 0)
    return E_FAIL;
  const ssize_t sent = ::send(_socket, iDatagram.data(), iDatagram.size(), 0);
  return sent == static_cast<ssize_t>(iDatagram.size()) ? S_OK : E_FAIL;
}

void KORVRUdpSender::Close() {
  CloseDescriptor(_socket);
}
