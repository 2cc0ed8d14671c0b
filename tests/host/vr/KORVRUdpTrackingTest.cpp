#include "vr/KORVRUdpTracking.h"
#include "KORVRTrackingTestSupport.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Waits (at most a few seconds) until iFeed has taken iCount datagrams.
bool WaitForDatagrams(const KORVRTrackingFeed& iFeed, std::uint64_t iCount) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (iFeed.GetCounts().datagrams < iCount) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

struct Tally {
  std::vector<std::uint64_t> headFrames;
  std::size_t hand = 0;
};

void Listen(KORVRDispatcher& ioDispatcher, Tally& oTally) {
  ioDispatcher.Subscribe(KORVRViewportEventName, [&oTally](const KORVRNotification& iNotification) {
    for (const KORVRDeviceEvent& event : iNotification.GetEvents())
      oTally.headFrames.push_back(event.GetFrameNumber());
  });
  ioDispatcher.Subscribe(KORVRPositionEventName, [&oTally](const KORVRNotification& iNotification) {
    oTally.hand += iNotification.GetEvents().size();
  });
}

KORVRDeviceManager HeadAndHand() {
  KORVRDeviceManager manager("ART1");
  EXPECT_EQ(manager.SetHeadBody(1, KORVRViewportEventName), S_OK);
  EXPECT_EQ(manager.SetHandBody(2), S_OK);
  return manager;
}

// Every tenth datagram is broken in one of the ways a datagram breaks.
std::string StreamDatagram(std::uint64_t iFrame) {
  static const char* const kBroken[] = {"", "fr x\n", "fr 1\n6d 2 [1 1.0][0 0 0 0 0 0]\n",
                                        "fr 1\n6d 1 [1 nan][0 0 0 0 0 0][1 0 0 0 1 0 0 0 1]\n"};
  if (iFrame % 10 == 0)
    return kBroken[(iFrame / 10) % 4];
  const KORMathTransformation head = KORVRTestPlacement(0, 0, 1, double(iFrame), 100, 200, 1700);
  return KORVRTestDatagram(iFrame, {{1, head}, {2, {}}, {3, {}}});
}

constexpr std::uint64_t kStreamLength = 300;
constexpr std::uint64_t kBrokenInStream = kStreamLength / 10;

TEST(UdpTracking, ALoopbackStreamDeliversEveryGoodFrameAndCountsTheMalformed) {
  KORVRDispatcher dispatcher;
  KORVRTrackingFeed feed(HeadAndHand(), dispatcher);
  KORVRUdpTrackingReceiver receiver(feed);
  KORString error;
  ASSERT_EQ(receiver.Open(0, error), S_OK) << error;
  const unsigned short port = receiver.GetPort();
  ASSERT_NE(port, 0) << "port 0 picks a free port and reports it";

  // Bursts of 50, each waiting for the receiver to take the last one: the
  // system's socket buffer may be small, and UDP drops what does not fit.
  std::thread sender([port, &feed] {
    KORVRUdpSender udp;
    KORString senderError;
    ASSERT_EQ(udp.Open(port, senderError), S_OK) << senderError;
    for (std::uint64_t frame = 1; frame <= kStreamLength; ++frame) {
      EXPECT_EQ(udp.Send(StreamDatagram(frame)), S_OK);
      if (frame % 50 == 0) {
        ASSERT_TRUE(WaitForDatagrams(feed, frame));
      }
    }
  });
  sender.join();
  ASSERT_TRUE(WaitForDatagrams(feed, kStreamLength)) << feed.GetCounts().datagrams;
  // As below: the last datagram is counted before its events are posted.
  receiver.Close();

  Tally tally;
  Listen(dispatcher, tally);
  dispatcher.Pump();
  const KORVRTrackingCounts counts = feed.GetCounts();
  EXPECT_EQ(counts.malformed, kBrokenInStream);
  EXPECT_EQ(counts.events, 2 * (kStreamLength - kBrokenInStream));
  EXPECT_EQ(tally.headFrames.size(), kStreamLength - kBrokenInStream);
  EXPECT_EQ(tally.hand, kStreamLength - kBrokenInStream);
  EXPECT_TRUE(std::is_sorted(tally.headFrames.begin(), tally.headFrames.end()));
  EXPECT_EQ(receiver.GetPort(), 0);
}

TEST(UdpTracking, OpeningFailuresSayWhatAndWhere) {
  KORVRDispatcher dispatcher;
  KORVRTrackingFeed feed(HeadAndHand(), dispatcher);
  KORVRUdpTrackingReceiver first(feed), second(feed);
  KORString error;
  ASSERT_EQ(first.Open(0, error), S_OK) << error;
  const std::string where = "127.0.0.1:" + std::to_string(first.GetPort());
  EXPECT_EQ(second.Open(first.GetPort(), error), E_FAIL);
  EXPECT_EQ(error.rfind("cannot bind " + where + ": ", 0), 0u) << error;
  EXPECT_FALSE(second.IsOpen());
  EXPECT_EQ(first.Open(0, error), E_FAIL) << "already open";
  EXPECT_EQ(second.Open(0, error, "localhost"), E_INVALIDARG);
  EXPECT_EQ(error, "not an IPv4 address: \"localhost\"");
  KORVRUdpSender sender;
  EXPECT_EQ(sender.Send("fr 1\n"), E_FAIL) << "not open";
  EXPECT_EQ(sender.Open(5000, error, "300.1.1.1"), E_INVALIDARG);
}

} // namespace
