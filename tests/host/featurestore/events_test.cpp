#include "StoreFixture.h"

#include "featurestore/KORNotificationDispatcher.h"

#include <utility>

namespace {
class EventsTest : public StoreTest {
protected:
  void SetUp() override {
    StoreTest::SetUp();
    KORBaseUnknown_var root;
    ASSERT_EQ(document->GetRootContainer(root.Out()), S_OK);
    rootEvents = KORQuery<KORIModelEvents>(root);
    ASSERT_TRUE(rootEvents);
    ASSERT_EQ(rootEvents->ConnectTo(container->Identity()), S_OK);
    listener = rootEvents->GetDispatcher()->AddListener([this](const KORNotification& iEvent) {
      if (const auto* event = KORModelNotification::From(iEvent))
        heard.push_back(event->Object());
    });
  }
  static void Connect(KORISpecObject* iChild, KORISpecObject* iFather) {
    ASSERT_EQ(KORQuery<KORIModelEvents>(iFather)->ConnectTo(iChild), S_OK);
  }
  // Raises a modification of iSender, carrying iMode, from iSender.
  static void Raise(KORISpecObject* iSender, int iMode = 1) {
    KORModify change(KORQuery<KORBaseUnknown>(iSender).get(), iMode);
    ASSERT_EQ(KORQuery<KORIModelEvents>(iSender)->Dispatch(change), S_OK);
  }

  KORIModelEvents_var rootEvents;
  int listener = 0;
  std::vector<KORBaseUnknown*> heard;
};

TEST_F(EventsTest, AnEventFromDeepDownReachesTheRootListenerOnce) {
  std::vector<KORISpecObject_var> chain{Node()};
  for (int depth = 1; depth < 12; ++depth) {
    chain.push_back(Node());
    Connect(chain.back(), chain[chain.size() - 2]);
  }
  ASSERT_EQ(KORQuery<KORIModelEvents>(container->Identity())->ConnectTo(chain.front()), S_OK);

  Raise(chain.back());
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0], KORQuery<KORBaseUnknown>(chain.back()).get());
}

TEST_F(EventsTest, ACycleOrADiamondDeliversOncePerObject) {
  auto a = Node(), b = Node(), c = Node();
  Connect(a, b);
  Connect(b, c);
  Connect(c, a); // a cycle a -> b -> c -> a
  Connect(a, c); // and a second way from a to c
  ASSERT_EQ(KORQuery<KORIModelEvents>(container->Identity())->ConnectTo(c), S_OK);
  int receivedByC = 0;
  KORQuery<KORIModelEvents>(c)->GetDispatcher()->AddListener(
      [&](const KORNotification&) { ++receivedByC; });

  Raise(a);
  EXPECT_EQ(receivedByC, 1);
  EXPECT_EQ(heard.size(), 1u);
}

TEST_F(EventsTest, DisconnectingAndRemovingStopEvents) {
  auto child = Node(), father = Node();
  Connect(child, father);
  ASSERT_EQ(KORQuery<KORIModelEvents>(container->Identity())->ConnectTo(father), S_OK);
  Raise(child);
  EXPECT_EQ(heard.size(), 1u);

  ASSERT_EQ(KORQuery<KORIModelEvents>(father)->DeconnectFrom(child), S_OK);
  Raise(child);
  EXPECT_EQ(heard.size(), 1u) << "a disconnected child still reached its father";

  Connect(child, father);
  ASSERT_EQ(KORQuery<LifeCycleObject>(father)->remove(), S_OK);
  const std::size_t heardBefore = heard.size();
  Raise(child);
  EXPECT_EQ(heard.size(), heardBefore) << "an event reached through a removed father";
}

TEST_F(EventsTest, ListenersMayUnsubscribeWhileAnEventIsDelivered) {
  KORNotificationDispatcher* dispatcher = rootEvents->GetDispatcher();
  int calls = 0;
  int self = 0;
  self = dispatcher->AddListener([&](const KORNotification&) {
    ++calls;
    dispatcher->RemoveListener(self);
    dispatcher->RemoveListener(listener);
  });
  auto node = Node();
  ASSERT_EQ(KORQuery<KORIModelEvents>(container->Identity())->ConnectTo(node), S_OK);
  KORCreate created(node, container->Identity());
  EXPECT_EQ(KORQuery<KORIModelEvents>(node)->Dispatch(created), S_OK);
  Raise(node);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(heard.size(), 1u) << "the earlier listener ran once, before it was removed";
}
TEST_F(EventsTest, ConnectionsChangedDuringDeliveryTakeEffectAtOnce) {
  // A source heard by many fathers, all connected to one top node: the top is
  // reached through every father but hears the event once.
  constexpr int kFathers = 40;
  auto source = Node(), top = Node(), late = Node();
  std::vector<KORISpecObject_var> fathers;
  std::vector<int> heardBy(kFathers + 1, 0); // the last one counts the late father
  auto count = [&](KORISpecObject* iNode, int iIndex) {
    KORQuery<KORIModelEvents>(iNode)->GetDispatcher()->AddListener(
        [&heardBy, iIndex](const KORNotification&) { ++heardBy[iIndex]; });
  };
  for (int i = 0; i < kFathers; ++i) {
    fathers.push_back(Node());
    Connect(source, fathers.back());
    Connect(fathers.back(), top);
    count(fathers.back(), i);
  }
  count(late, kFathers);
  int heardByTop = 0;
  KORQuery<KORIModelEvents>(top)->GetDispatcher()->AddListener(
      [&](const KORNotification&) { ++heardByTop; });
  // The first father, when reached, disconnects the second and connects a late one.
  KORQuery<KORIModelEvents>(fathers[0])->GetDispatcher()->AddListener([&](const KORNotification&) {
    if (heardBy[0] == 1) {
      EXPECT_EQ(KORQuery<KORIModelEvents>(fathers[1])->DeconnectFrom(source), S_OK);
      Connect(source, late);
    }
  });

  Raise(source);
  EXPECT_EQ(heardByTop, 1);
  EXPECT_EQ(heardBy[1], 0) << "a father disconnected during the delivery still heard it";
  EXPECT_EQ(heardBy[kFathers], 0) << "a father connected during the delivery heard it";
  for (int i = 2; i < kFathers; ++i)
    EXPECT_EQ(heardBy[i], 1) << "father " << i;

  Raise(source);
  EXPECT_EQ(heardBy[1], 0);
  EXPECT_EQ(heardBy[kFathers], 1) << "the late father missed the next event";
  EXPECT_EQ(heardByTop, 2);
  EXPECT_EQ(KORQuery<KORIModelEvents>(source)->GetDispatcher()->ReceiverCount(),
            static_cast<std::size_t>(kFathers));
}

// Events raised while another one is delivered (an object announcing its own
// change when it hears its source's), nested deeper than the few marks an
// object keeps: every event reaches each object once. The inner events pass
// through objects the outer one reached already, which must not make the
// outer one reach them again.
TEST_F(EventsTest, EventsRaisedDuringADeliveryEachReachEveryObjectOnce) {
  for (const int depth : {1, 3, 6}) {
    // source -> first -> top -> first (a cycle), and source -> raiser -> top;
    // the raiser's listener raises the next level's event from the raiser.
    auto source = Node(), first = Node(), raiser = Node(), top = Node();
    Connect(source, first);
    Connect(source, raiser);
    Connect(first, top);
    Connect(raiser, top);
    Connect(top, first);
    const auto levels = static_cast<std::size_t>(depth) + 1;
    std::vector<int> heardByTop(levels, 0), heardByFirst(levels, 0);
    // Each event carries its level as its mode.
    auto countInto = [](std::vector<int>& ioCounts) {
      return [&ioCounts](const KORNotification& iEvent) {
        ++ioCounts[static_cast<std::size_t>(KORModelNotification::From(iEvent)->Mode())];
      };
    };
    KORQuery<KORIModelEvents>(top)->GetDispatcher()->AddListener(countInto(heardByTop));
    KORQuery<KORIModelEvents>(first)->GetDispatcher()->AddListener(countInto(heardByFirst));
    KORQuery<KORIModelEvents>(raiser)->GetDispatcher()->AddListener(
        [&](const KORNotification& iEvent) {
          const int level = KORModelNotification::From(iEvent)->Mode();
          if (level == depth)
            return;
          Raise(raiser, level + 1);
        });

    Raise(source, 0);
    for (std::size_t level = 0; level < levels; ++level) {
      EXPECT_EQ(heardByTop[level], 1) << "depth " << depth << ", level " << level;
      EXPECT_EQ(heardByFirst[level], 1) << "depth " << depth << ", level " << level;
    }
    // The marks left by finished events do not stop the next one.
    Raise(source, depth);
    EXPECT_EQ(heardByTop.back(), 2) << "depth " << depth;
    EXPECT_EQ(heardByFirst.back(), 2) << "depth " << depth;
  }
}

TEST_F(EventsTest, AListenerAddedDuringDeliveryHearsOnlyTheNextEvent) {
  KORNotificationDispatcher* dispatcher = rootEvents->GetDispatcher();
  int lateCalls = 0;
  bool added = false;
  // Adding many listeners from inside a listener grows the list under the
  // running delivery.
  const int adder = dispatcher->AddListener([&](const KORNotification&) {
    if (std::exchange(added, true))
      return;
    for (int i = 0; i < 50; ++i)
      dispatcher->AddListener([&](const KORNotification&) { ++lateCalls; });
  });
  auto node = Node();
  ASSERT_EQ(KORQuery<KORIModelEvents>(container->Identity())->ConnectTo(node), S_OK);
  Raise(node);
  EXPECT_EQ(lateCalls, 0);
  Raise(node);
  EXPECT_EQ(lateCalls, 50);
  dispatcher->RemoveListener(adder);
}
} // namespace
