#pragma once
// UDP transport of tracking frames.
//
// KORVRUdpTrackingReceiver binds a UDP socket (loopback by default; port 0
// lets the system pick a free port, which GetPort reports) and reads it on a
// thread of its own, handing every datagram to a KORVRTrackingFeed, so that
// the user-interface thread only pumps the dispatcher. Close (or the
// destructor) stops the thread and closes the socket; the feed must outlive
// the receiver. Datagrams still waiting in the socket at Close are dropped.
//
// KORVRUdpSender sends datagrams to one address and port: what a tracking
// controller does, and what a replay does to drive a receiver end to end.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"
#include "vr/KORVRTrackingFeed.h"

#include <string_view>
#include <thread>

inline constexpr const char* KORVRLoopbackAddress = "127.0.0.1";

class KORVRUdpTrackingReceiver {
public:
  explicit KORVRUdpTrackingReceiver(KORVRTrackingFeed& ioFeed) : _feed(ioFeed) {}
  ~KORVRUdpTrackingReceiver() { Close(); }
  KORVRUdpTrackingReceiver(const KORVRUdpTrackingReceiver&) = delete;
  KORVRUdpTrackingReceiver& operator=(const KORVRUdpTrackingReceiver&) = delete;

  // Binds iAddress:iPort (an IPv4 address in dotted form) and starts reading.
  // E_FAIL with oError ("cannot bind 127.0.0.1:5000: Address already in
  // use") when the socket cannot be made, or when the receiver is open;
  // E_INVALIDARG for an address that is not an IPv4 address.
  HRESULT Open(unsigned short iPort, KORString& oError,
               const KORString& iAddress = KORVRLoopbackAddress);
  // The bound port; 0 when not open.
  unsigned short GetPort() const { return _port; }
  bool IsOpen() const { return _socket >= 0; }
  void Close();

private:
  void ReadLoop();

  KORVRTrackingFeed& _feed;
  int _socket = -1;
  int _wakeRead = -1; // a pipe whose write end Close uses to end ReadLoop
  int _wakeWrite = -1;
  unsigned short _port = 0;
  std::thread _thread;
};

class KORVRUdpSender {
public:
  KORVRUdpSender() = default;
  ~KORVRUdpSender() { Close(); }
  KORVRUdpSender(const KORVRUdpSender&) = delete;
  KORVRUdpSender& operator=(const KORVRUdpSender&) = delete;

  // Same failures as KORVRUdpTrackingReceiver::Open.
  HRESULT Open(unsigned short iPort, KORString& oError,
               const KORString& iAddress = KORVRLoopbackAddress);
  // S_OK when the whole datagram was handed to the system; E_FAIL when it
  // was refused or the sender is not open.
  HRESULT Send(std::string_view iDatagram) const;
  void Close();

private:
  int _socket = -1;
};
