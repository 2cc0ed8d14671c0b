#include "vr/KORVRUdpTracking.h"
#include "KORVRTrackingTestSupport.h"
#include "vr/KORVRTrackingFeed.h"

#include <gtest/gtest.h>

namespace {

TEST(UdpTracking, OpeningFailuresSayWhatAndWhere) {
  KORVRDispatcher dispatcher;
  KORVRTrackingFeed feed(KORVRTestHeadAndHand(), dispatcher);
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
