#include "KORVRTrackingTestSupport.h"
#include "vr/KORVRDeviceManager.h"
#include "vr/KORVRDispatcher.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

// A tracking test's reading of the two layouts back into the sensor placement.
KORMathTransformation DecodePositionEvent(const std::vector<double>& e) {
  const KORMath3x3Matrix rotation(KORMathVector(e[0], e[1], e[2]), KORMathVector(e[4], e[5], e[6]),
                                  KORMathVector(e[8], e[9], e[10]));
  return KORMathTransformation(rotation, KORMathVector(e[12], e[13], e[14]));
}

KORMathVector Unit(const KORMathVector& iVector) {
  return (1.0 / iVector.Norm()) * iVector;
}

KORMathTransformation DecodeViewportEvent(const std::vector<double>& e) {
  const KORMathPoint a(e[0], e[1], e[2]), b(e[3], e[4], e[5]), c(e[6], e[7], e[8]),
      d(e[9], e[10], e[11]);
  const KORMathVector d1 = Unit(c - b), d2 = Unit(c - d);
  return KORMathTransformation(KORMath3x3Matrix(d1, d2, d1 ^ d2), a - KORMathPoint());
}

// The events a manager makes of one datagram, as a receiver would.
std::vector<KORVRDeviceEvent> EventsOf(const KORVRDeviceManager& iManager,
                                       const std::string& iDatagram) {
  KORVRTrackingFrame frame;
  KORString error;
  EXPECT_EQ(KORVRParseTrackingDatagram(iDatagram, frame, error), S_OK) << error;
  std::vector<KORVRDeviceEvent> events;
  iManager.MakeEvents(frame, events);
  return events;
}

TEST(DeviceEvent, TheReaderRecoversTheSensorPlacementFromEitherLayout) {
  const std::pair<const char*, KORMathTransformation> sensors[] = {
      {"identity at the origin", KORMathTransformation()},
      {"oblique turn, installation-sized offset",
       KORVRTestPlacement(1, -2, 0.5, 73.25, 1234.5, -987.25, 1700)},
      {"half turn", KORVRTestPlacement(0, 0, 1, 180, -3000, 2500, 0)},
      {"nearly a half turn about a skew axis",
       KORVRTestPlacement(-1, 1, 1, 179.999, 0.001, 0, -0.001)}};
  for (const auto& [what, sensor] : sensors)
    for (const char* kind : {KORVRViewportEventName, KORVRPositionEventName}) {
      SCOPED_TRACE(std::string(what) + ", " + kind);
      KORVRDeviceManager manager("Polhemus");
      ASSERT_EQ(manager.SetHeadBody(1, kind), S_OK);
      const std::vector<KORVRDeviceEvent> events =
          EventsOf(manager, KORVRTestDatagram(1, {{1, sensor}}));
      ASSERT_EQ(events.size(), 1u);
      const std::vector<double>& e = events[0].GetDoubleValue();
      const bool viewport = std::string(kind) == KORVRViewportEventName;
      ASSERT_EQ(e.size(), viewport ? 12u : 16u);
      if (!viewport) {
        EXPECT_EQ((std::vector<double>{e[3], e[7], e[11], e[15]}),
                  (std::vector<double>{0, 0, 0, 1}))
            << "the bottom row of a 4x4 placement";
      }
      const KORMathTransformation read = viewport ? DecodeViewportEvent(e) : DecodePositionEvent(e);
      EXPECT_TRUE(read.IsEqual(sensor, 1e-9));
    }
}

TEST(DeviceManager, MappedBodiesBecomeTheirEventsHeadFirst) {
  KORVRDeviceManager manager = KORVRTestHeadAndHand();
  const KORMathTransformation hand = KORVRTestPlacement(0, 0, 1, 30, 10, 20, 30);
  const std::vector<KORVRDeviceEvent> events =
      EventsOf(manager, KORVRTestDatagram(42, {{2, hand}, {5, {}}, {1, {}}}));
  ASSERT_EQ(events.size(), 2u) << "body 5 is mapped to nothing";
  EXPECT_TRUE(events[0].IsSameEvent(KORVRDeviceEvent("ART1", KORVRViewportEventName, 1)));
  EXPECT_TRUE(events[1].IsSameEvent(KORVRDeviceEvent("ART1", KORVRPositionEventName, 2)));
  EXPECT_TRUE(DecodePositionEvent(events[1].GetDoubleValue()).IsEqual(hand, 1e-12));
  EXPECT_EQ(events[1].GetFrameNumber(), 42u);
  EXPECT_EQ(events[1].GetTimestamp(), 100.25);
}

TEST(DeviceManager, EachMappingOfASeenBodyMakesOneEvent) {
  const KORVRTestBody unseen{1, {}, -1.0};
  const struct {
    const char* what;
    int head, hand;
    std::string datagram;
    std::size_t events;
  } cases[] = {
      {"no body line", 1, 2, "fr 1\n", 0},
      {"a body the tracker does not see", 1, 2, KORVRTestDatagram(1, {unseen}), 0},
      {"one body for head and hand", 3, 3, KORVRTestDatagram(1, {{3, {}}}), 2},
  };
  for (const auto& c : cases) {
    KORVRDeviceManager manager("ART1");
    ASSERT_EQ(manager.SetHeadBody(c.head, KORVRPositionEventName), S_OK);
    ASSERT_EQ(manager.SetHandBody(c.hand), S_OK);
    EXPECT_EQ(EventsOf(manager, c.datagram).size(), c.events) << c.what;
  }
}

TEST(DeviceManager, RefusedMappingsLeaveTheMappingAsItWas) {
  KORVRDeviceManager manager = KORVRTestHeadAndHand();
  EXPECT_EQ(manager.SetHeadBody(4, "BUTTON_EVENT"), E_INVALIDARG);
  EXPECT_EQ(manager.SetHeadBody(-1, KORVRPositionEventName), E_INVALIDARG);
  EXPECT_EQ(manager.SetHandBody(-2), E_INVALIDARG);
  KORVRDeviceEvent head, hand;
  ASSERT_EQ(manager.GetHeadTrackingEvent(head), S_OK);
  ASSERT_EQ(manager.GetHandTrackingEvent(hand), S_OK);
  EXPECT_TRUE(head.IsSameEvent(KORVRDeviceEvent("ART1", KORVRViewportEventName, 1)));
  EXPECT_TRUE(hand.IsSameEvent(KORVRDeviceEvent("ART1", KORVRPositionEventName, 2)));
}

TEST(DeviceManager, FindsOnlyTheEventsItMakes) {
  KORVRDeviceManager manager("Polhemus");
  KORVRDeviceEvent found("untouched", "", 0);
  EXPECT_EQ(manager.GetHeadTrackingEvent(found), E_FAIL);
  EXPECT_EQ(manager.FindEvent("Polhemus", KORVRViewportEventName, 1, found), E_FAIL);
  ASSERT_EQ(manager.SetHeadBody(1, KORVRViewportEventName), S_OK);
  struct Lookup {
    const char* device;
    const char* name;
    int index;
    HRESULT result;
  };
  for (const Lookup& lookup : {Lookup{"Polhemus", KORVRViewportEventName, 1, S_OK},
                               Lookup{"Polhemus1", KORVRViewportEventName, 1, E_FAIL},
                               Lookup{"Polhemus", KORVRPositionEventName, 1, E_FAIL},
                               Lookup{"Polhemus", KORVRViewportEventName, 2, E_FAIL}})
    EXPECT_EQ(manager.FindEvent(lookup.device, lookup.name, lookup.index, found), lookup.result)
        << lookup.device << " " << lookup.name << " " << lookup.index;
  EXPECT_EQ(found.GetDeviceName(), "Polhemus");
  manager.ClearMapping();
  EXPECT_EQ(manager.GetHeadTrackingEvent(found), E_FAIL);
}

KORVRDeviceEvent Event(const char* iDevice, const char* iName, int iIndex, double iValue) {
  KORVRDeviceEvent event(iDevice, iName, iIndex);
  event.SetDoubleValue({iValue});
  return event;
}

// The first value of each event of each notification a subscriber received.
using Received = std::vector<std::vector<double>>;
KORVRDeviceCallback Collect(Received& oReceived) {
  return [&oReceived](const KORVRNotification& iNotification) {
    oReceived.emplace_back();
    for (const KORVRDeviceEvent& event : iNotification.GetEvents())
      oReceived.back().push_back(event.GetDoubleValue()[0]);
  };
}

TEST(DeviceDispatcher, SubscribersGetWhatTheyAskedForOnePumpOneNotification) {
  KORVRDispatcher dispatcher;
  Received viewports, hand, everything;
  dispatcher.Subscribe(KORVRViewportEventName, Collect(viewports));
  dispatcher.AddDeviceCallback({KORVRDeviceEvent("A", KORVRPositionEventName, 2)}, Collect(hand));
  dispatcher.Subscribe(KORVRPositionEventName, Collect(everything));
  dispatcher.Post(Event("A", KORVRViewportEventName, 1, 1));
  dispatcher.Post(Event("A", KORVRPositionEventName, 2, 2));
  dispatcher.Post(Event("B", KORVRViewportEventName, 7, 3));
  dispatcher.Post(Event("A", KORVRPositionEventName, 3, 4));
  dispatcher.Post(Event("A", KORVRPositionEventName, 2, 5));
  EXPECT_TRUE(viewports.empty()) << "nothing is delivered before the pump";
  EXPECT_EQ(dispatcher.Pump(), 5u);
  EXPECT_EQ(viewports, (Received{{1, 3}}));
  EXPECT_EQ(hand, (Received{{2, 5}}));
  EXPECT_EQ(everything, (Received{{2, 4, 5}}));
  EXPECT_EQ(dispatcher.Pump(), 0u);
  EXPECT_EQ(viewports.size(), 1u) << "an empty pump notifies no one";
}

TEST(DeviceDispatcher, EventsPostedOnAnotherThreadAreDeliveredOnThePumpingThread) {
  KORVRDispatcher dispatcher;
  std::vector<std::thread::id> threads;
  const KORVRDeviceEvent* newest = nullptr;
  double newestValue = 0;
  dispatcher.Subscribe(KORVRPositionEventName, [&](const KORVRNotification& iNotification) {
    threads.push_back(std::this_thread::get_id());
    newest = iNotification.Newest();
    newestValue = newest ? newest->GetDoubleValue()[0] : 0;
  });
  std::thread poster([&] {
    for (int i = 1; i <= 100; ++i)
      dispatcher.Post(Event("A", KORVRPositionEventName, 1, i));
  });
  poster.join();
  EXPECT_EQ(dispatcher.GetPendingCount(), 100u);
  EXPECT_EQ(dispatcher.Pump(), 100u);
  EXPECT_EQ(threads, std::vector<std::thread::id>{std::this_thread::get_id()});
  EXPECT_EQ(newestValue, 100);
}

TEST(DeviceDispatcher, CallbacksMayRemoveSubscriptionsWhileDelivering) {
  KORVRDispatcher dispatcher;
  Received first, second, added;
  KORVRDispatcher::SubscriptionId secondId = 0;
  KORVRDispatcher::SubscriptionId firstId = 0;
  firstId =
      dispatcher.Subscribe(KORVRPositionEventName, [&](const KORVRNotification& iNotification) {
        Collect(first)(iNotification);
        EXPECT_EQ(dispatcher.RemoveCallback(firstId), S_OK);
        EXPECT_EQ(dispatcher.RemoveCallback(secondId), S_OK);
        dispatcher.Subscribe(KORVRPositionEventName, Collect(added));
      });
  secondId = dispatcher.Subscribe(KORVRPositionEventName, Collect(second));
  dispatcher.Post(Event("A", KORVRPositionEventName, 1, 1));
  dispatcher.Pump();
  dispatcher.Post(Event("A", KORVRPositionEventName, 1, 2));
  dispatcher.Pump();
  EXPECT_EQ(first, (Received{{1}}));
  EXPECT_TRUE(second.empty()) << "removed before its turn in the same pump";
  EXPECT_EQ(added, (Received{{2}})) << "added during a pump, served from the next one";
  EXPECT_EQ(dispatcher.RemoveCallback(firstId), S_FALSE);
}

TEST(DeviceDispatcher, AFullQueueDropsTheOldestEvents) {
  KORVRDispatcher dispatcher(/*iCapacity=*/2);
  Received received;
  dispatcher.Subscribe(KORVRPositionEventName, Collect(received));
  std::vector<KORVRDeviceEvent> batch{Event("A", KORVRPositionEventName, 1, 1),
                                      Event("A", KORVRPositionEventName, 1, 2),
                                      Event("A", KORVRPositionEventName, 1, 3)};
  dispatcher.Post(batch);
  EXPECT_TRUE(batch.empty());
  EXPECT_EQ(dispatcher.GetDroppedCount(), 1u);
  dispatcher.Pump();
  EXPECT_EQ(received, (Received{{2, 3}}));
}

} // namespace
