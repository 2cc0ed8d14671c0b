// Transactions, undo and redo, store-change listeners and the removal of
// features taken out of their father.
#include "StoreChecks.h"
#include "StoreFixture.h"

#include "featurestore/KORISpecEvents.h"

#include <gmock/gmock.h>

#include <functional>

namespace {
using testing::ElementsAre;

class TransactionsTest : public StoreTest {
protected:
  void SetUp() override {
    StoreTest::SetUp();
    transactions = KORQuery<KORITransactions>(document->Identity());
    ASSERT_TRUE(transactions);
    KORBaseUnknown_var root;
    ASSERT_EQ(document->GetRootContainer(root.Out()), S_OK);
    rootEvents = KORQuery<KORIModelEvents>(root);
    ASSERT_EQ(rootEvents->ConnectTo(container->Identity()), S_OK);
    listener = rootEvents->GetDispatcher()->AddListener([this](const KORNotification& iEvent) {
      if (const auto* event = KORModelNotification::From(iEvent))
        heard.emplace_back(event->Kind(), event->Object());
    });
  }
  void TearDown() override { rootEvents->GetDispatcher()->RemoveListener(listener); }

  // The document as its file says it.
  std::string Saved() { return SavedBytes(*document); }
  // A node connected for events to iFather (or to the container), so that its
  // events reach the root, as a module's elements are.
  KORSmartPtr<KORISpecObject> Hooked(KORBaseUnknown* iFather = nullptr) {
    auto node = Node();
    KORBaseUnknown* father = iFather ? iFather : container->Identity();
    EXPECT_EQ(KORQuery<KORIModelEvents>(father)->ConnectTo(node), S_OK);
    return node;
  }
  static int CountOf(KORISpecObject* iNode) {
    int count = -1;
    EXPECT_EQ(Attr(iNode)->GetInteger("Count", count), S_OK);
    return count;
  }
  int Heard(KORNotificationKind iKind, KORISpecObject* iObject) const {
    auto identity = KORQuery<KORBaseUnknown>(iObject);
    return static_cast<int>(std::count(heard.begin(), heard.end(),
                                       std::pair{iKind, static_cast<KORBaseUnknown*>(identity)}));
  }

  KORITransactions_var transactions;
  KORIModelEvents_var rootEvents;
  int listener = 0;
  std::vector<std::pair<KORNotificationKind, KORBaseUnknown*>> heard;
};

// Each kind of write, made in one transaction, is undone to the same file and
// redone to the same file; removed features come back as the very objects
// their holders kept, with their identifiers, children and the links to them.
TEST_F(TransactionsTest, EveryKindOfWriteIsUndoneAndRedoneToTheSameFile) {
  using Edit = std::function<void(KORISpecAttrAccess&, KORISpecObject&, KORISpecObject&)>;
  const std::vector<std::pair<const char*, Edit>> edits{
      {"integer", [](auto& a, auto&, auto&) { EXPECT_EQ(a.SetInteger("Count", 9), S_OK); }},
      {"doubles", [](auto& a, auto&, auto&) { EXPECT_EQ(a.SetDoubles("Placement", {7}), S_OK); }},
      {"link", [](auto& a, auto&, auto& o) { EXPECT_EQ(a.SetLink("Partner", &o), S_OK); }},
      {"first entry of a list without value",
       [](auto& a, auto&, auto& o) { EXPECT_EQ(a.AppendLink("Friends", &o), S_OK); }},
      {"emptied aggregated entry",
       [](auto& a, auto&, auto&) { EXPECT_EQ(a.EmptyPosition("Children", 1), S_OK); }},
      {"removed aggregated entry",
       [](auto& a, auto& c, auto&) { EXPECT_EQ(a.RemoveLink("Children", &c), S_OK); }},
      {"removed feature",
       [](auto&, auto&, auto& o) { EXPECT_EQ(KORQuery<LifeCycleObject>(&o)->remove(), S_OK); }},
      {"removed father",
       [](auto& a, auto&, auto&) { EXPECT_EQ(KORQuery<LifeCycleObject>(&a)->remove(), S_OK); }},
      {"new child",
       [&](auto& a, auto&, auto&) { EXPECT_EQ(a.AppendLink("Children", Node().get()), S_OK); }}};
  for (const auto& [name, edit] : edits) {
    SCOPED_TRACE(name);
    auto father = Node(), child = Node(), grandChild = Node(), other = Node();
    ASSERT_EQ(Attr(father)->AppendLink("Children", child), S_OK);
    ASSERT_EQ(Attr(child)->AppendLink("Children", grandChild), S_OK);
    ASSERT_EQ(Attr(other)->SetLink("Partner", grandChild), S_OK);
    const std::string before = Saved();

    ASSERT_EQ(transactions->OpenTransaction(), S_OK);
    edit(*Attr(father), *child, *other);
    ASSERT_EQ(transactions->CommitTransaction(), S_OK);
    const std::string after = Saved();
    ASSERT_NE(after, before) << "the edit changed nothing";

    ASSERT_EQ(transactions->Undo(), S_OK);
    EXPECT_EQ(Saved(), before);
    ASSERT_EQ(transactions->Redo(), S_OK);
    EXPECT_EQ(Saved(), after);
    ASSERT_EQ(transactions->Undo(), S_OK);
    EXPECT_EQ(Saved(), before) << "a second undo differs from the first";
    for (auto* feature : {father.get(), child.get(), grandChild.get(), other.get()})
      EXPECT_FALSE(feature->IsDeleted());
    // Start the next case from an empty container.
    for (auto* feature : {father.get(), other.get()})
      ASSERT_EQ(KORQuery<LifeCycleObject>(feature)->remove(), S_OK);
  }
}

TEST_F(TransactionsTest, ReplaysRaiseTheEventsOfAnEdit) {
  auto father = Hooked();
  auto changed = Hooked(father);
  ASSERT_EQ(Attr(father)->AppendLink("Children", changed), S_OK);
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  auto made = Hooked(father);
  ASSERT_EQ(Attr(father)->AppendLink("Children", made), S_OK);
  ASSERT_EQ(Attr(changed)->SetInteger("Count", 4), S_OK);
  ASSERT_EQ(Attr(changed)->SetInteger("Count", 5), S_OK);
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);

  heard.clear();
  ASSERT_EQ(transactions->Undo(), S_OK);
  EXPECT_EQ(Heard(KORNotificationKind::Delete, made), 1);
  EXPECT_EQ(Heard(KORNotificationKind::Modify, changed), 1) << "one per feature, not per write";
  EXPECT_EQ(Heard(KORNotificationKind::Modify, father), 1);
  EXPECT_EQ(Heard(KORNotificationKind::Create, made), 0);

  heard.clear();
  ASSERT_EQ(transactions->Redo(), S_OK);
  EXPECT_EQ(Heard(KORNotificationKind::Create, made), 1) << "its connection came back with it";
  EXPECT_EQ(Heard(KORNotificationKind::Modify, changed), 1);
  EXPECT_EQ(Heard(KORNotificationKind::Delete, made), 0);
}

// Outside a transaction a connection is made at once and recorded nowhere;
// inside one it is a step that an abort takes back.
TEST_F(TransactionsTest, AbortRestoresTheStateBeforeTheOpenWithTheEvents) {
  auto kept = Hooked();
  ASSERT_EQ(Attr(kept)->SetString("Name", "kept"), S_OK);
  auto doomed = Hooked();
  auto connectedWithin = Node();
  const std::string before = Saved();

  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  auto made = Hooked();
  ASSERT_EQ(KORQuery<KORIModelEvents>(container->Identity())->ConnectTo(connectedWithin), S_OK);
  ASSERT_EQ(Attr(kept)->SetString("Name", "changed"), S_OK);
  ASSERT_EQ(KORQuery<LifeCycleObject>(doomed)->remove(), S_OK);
  heard.clear();
  ASSERT_EQ(transactions->AbortTransaction(), S_OK);

  EXPECT_EQ(Saved(), before);
  EXPECT_TRUE(made->IsDeleted());
  EXPECT_FALSE(doomed->IsDeleted());
  EXPECT_EQ(Heard(KORNotificationKind::Delete, made), 1);
  EXPECT_EQ(Heard(KORNotificationKind::Create, doomed), 1);
  EXPECT_EQ(Heard(KORNotificationKind::Modify, kept), 1);
  EXPECT_EQ(transactions->GetUndoCount(), 0) << "an aborted transaction was kept for undo";
  EXPECT_EQ(transactions->AbortTransaction(), E_FAIL) << "nothing is open any more";

  heard.clear();
  for (KORISpecObject* sender : {kept.get(), connectedWithin.get()}) {
    KORModify modified(sender);
    EXPECT_EQ(KORQuery<KORIModelEvents>(sender)->Dispatch(modified), S_OK);
  }
  EXPECT_EQ(Heard(KORNotificationKind::Modify, kept), 1);
  EXPECT_EQ(Heard(KORNotificationKind::Modify, connectedWithin), 0)
      << "its connection outlived the abort";
}

TEST_F(TransactionsTest, NestedOpensJoinTheOuterTransaction) {
  auto node = Node();
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(Attr(node)->SetInteger("Count", 1), S_OK);
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(Attr(node)->SetInteger("Count", 2), S_OK);
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  EXPECT_EQ(transactions->GetTransactionDepth(), 1);
  EXPECT_EQ(transactions->GetUndoCount(), 0) << "an inner commit made its own undo step";

  // An inner abort takes back only what followed the inner open.
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(Attr(node)->SetInteger("Count", 3), S_OK);
  auto inner = Node();
  ASSERT_EQ(transactions->AbortTransaction(), S_OK);
  EXPECT_TRUE(inner->IsDeleted());
  EXPECT_EQ(CountOf(node), 2);

  EXPECT_EQ(transactions->Undo(), E_FAIL) << "undo while a transaction is open";
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  EXPECT_EQ(transactions->GetUndoCount(), 1);
  ASSERT_EQ(transactions->Undo(), S_OK);
  EXPECT_EQ(CountOf(node), 0) << "undo took back the whole outer transaction";
  EXPECT_EQ(transactions->Undo(), E_FAIL) << "nothing left to undo";
  EXPECT_EQ(transactions->CommitTransaction(), E_FAIL);
}

// Every write of a value added a step, so that a transaction writing the
// same attributes again and again grew without bound.
TEST_F(TransactionsTest, AValueWrittenAgainKeepsOneStepAndUndoGoesBackBeforeTheFirst) {
  auto node = Node();
  auto other = Node();
  const std::string before = Saved();
  const KORFeatureStore& store = document->Store();
  auto attributes = Attr(node);
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  for (int i = 1; i <= 10000; ++i) {
    ASSERT_EQ(attributes->SetInteger("Count", i), S_OK);
    ASSERT_EQ(attributes->SetDoubles("Placement", {static_cast<double>(i)}), S_OK);
  }
  EXPECT_EQ(store.OpenStepCount(), 2);
  // Links are recorded write by write: their targets take part in removals.
  ASSERT_EQ(attributes->SetLink("Partner", other), S_OK);
  ASSERT_EQ(attributes->SetLink("Partner", nullptr), S_OK);
  EXPECT_EQ(store.OpenStepCount(), 4);

  // A write after an inner open is its own step, which an abort takes back.
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(attributes->SetInteger("Count", -1), S_OK);
  ASSERT_EQ(attributes->SetInteger("Count", -2), S_OK);
  EXPECT_EQ(store.OpenStepCount(), 5);
  ASSERT_EQ(transactions->AbortTransaction(), S_OK);
  EXPECT_EQ(CountOf(node), 10000);
  ASSERT_EQ(attributes->SetInteger("Count", 20000), S_OK);
  EXPECT_EQ(store.OpenStepCount(), 4) << "folded into the outer transaction's write";

  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  const std::string after = Saved();
  ASSERT_EQ(transactions->Undo(), S_OK);
  EXPECT_EQ(Saved(), before);
  ASSERT_EQ(transactions->Redo(), S_OK);
  EXPECT_EQ(Saved(), after);
  EXPECT_EQ(CountOf(node), 20000);
}

// A text written again is copied in place into the recorded step: every read
// sees the latest text, listeners hear every write, and undo, abort and redo
// give back the right texts.
TEST_F(TransactionsTest, ATextWrittenAgainIsReadBackAndReplayedLikeAnyValue) {
  auto node = Node();
  auto attributes = Attr(node);
  const KORFeatureStore& store = document->Store();
  int told = 0;
  const int listener = document->AddStoreListener([&](const KORStoreChange&) { ++told; });
  auto read = [&] {
    KORUnicodeString text;
    EXPECT_EQ(attributes->GetString("Name", text), S_OK);
    return text;
  };
  ASSERT_EQ(attributes->SetString("Name", "before"), S_OK);
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  const std::vector<std::string> texts{"a", "a text longer than the short-string buffer", "b"};
  for (const std::string& text : texts) {
    ASSERT_EQ(attributes->SetString("Name", text), S_OK);
    EXPECT_EQ(read(), text);
  }
  EXPECT_EQ(store.OpenStepCount(), 1);
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(attributes->SetString("Name", "inner"), S_OK);
  ASSERT_EQ(attributes->SetString("Name", "inner again"), S_OK);
  ASSERT_EQ(transactions->AbortTransaction(), S_OK);
  EXPECT_EQ(read(), "b") << "the inner writes were not taken back alone";
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  EXPECT_EQ(told, 1 + 3 + 2 + 1) << "each write, and the abort, is told";
  ASSERT_EQ(transactions->Undo(), S_OK);
  EXPECT_EQ(read(), "before");
  ASSERT_EQ(transactions->Redo(), S_OK);
  EXPECT_EQ(read(), "b");
  document->RemoveStoreListener(listener);
}

TEST_F(TransactionsTest, JoiningIsRefusedBeyondTheHistoryAndAWriteOutsideEndsIt) {
  auto node = Node();
  auto attributes = Attr(node);
  for (int count : {1, 2, 3}) {
    ASSERT_EQ(transactions->OpenTransaction(), S_OK);
    ASSERT_EQ(attributes->SetInteger("Count", count), S_OK);
    ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  }
  EXPECT_EQ(transactions->JoinLastTransactions(4), E_FAIL) << "more than there are";
  EXPECT_EQ(transactions->JoinLastTransactions(0), E_FAIL);
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  EXPECT_EQ(transactions->JoinLastTransactions(2), E_FAIL) << "while a transaction is open";
  ASSERT_EQ(transactions->AbortTransaction(), S_OK);

  ASSERT_EQ(transactions->JoinLastTransactions(2), S_OK);
  EXPECT_EQ(transactions->GetUndoCount(), 2);
  // How one undo takes back joined parts shows in the driver's Apply-then-OK test.
  ASSERT_EQ(transactions->Undo(), S_OK);
  ASSERT_EQ(transactions->GetRedoCount(), 1);
  ASSERT_EQ(attributes->SetInteger("Count", 7), S_OK);
  EXPECT_EQ(transactions->GetUndoCount(), 0) << "a write outside a transaction ends the history";
  EXPECT_EQ(transactions->GetRedoCount(), 0);
}

TEST_F(TransactionsTest, ListenersCannotWriteWhileAReplayRuns) {
  auto node = Node(), other = Node();
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(Attr(node)->SetInteger("Count", 1), S_OK);
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  std::vector<HRESULT> results;
  int id = document->AddStoreListener([&](const KORStoreChange&) {
    results.push_back(Attr(other)->SetInteger("Count", 5));
    results.push_back(transactions->OpenTransaction());
  });
  ASSERT_EQ(transactions->Undo(), S_OK);
  document->RemoveStoreListener(id);
  EXPECT_THAT(results, ElementsAre(E_FAIL, E_FAIL));
  EXPECT_EQ(CountOf(other), 0);
}

TEST_F(TransactionsTest, StoreListenersHearEachChangeAndMayLeaveDuringDelivery) {
  std::vector<std::pair<KORStoreChangeKind, std::string>> changes;
  int second = 0;
  int first = document->AddStoreListener([&](const KORStoreChange& iChange) {
    changes.emplace_back(iChange.kind, iChange.key ? iChange.key : "");
    document->RemoveStoreListener(second);
  });
  int secondCalls = 0;
  second = document->AddStoreListener([&](const KORStoreChange&) { ++secondCalls; });
  auto father = Node(), child = Node();
  ASSERT_EQ(Attr(father)->SetInteger("Count", 2), S_OK);
  ASSERT_EQ(Attr(father)->AppendLink("Children", child), S_OK);
  ASSERT_EQ(KORQuery<LifeCycleObject>(child)->remove(), S_OK);
  document->RemoveStoreListener(first);
  EXPECT_EQ(secondCalls, 0) << "a listener removed during delivery was still called";
  using K = KORStoreChangeKind;
  EXPECT_THAT(changes, ElementsAre(std::pair{K::Create, ""}, std::pair{K::Create, ""},
                                   std::pair{K::SetValue, "Count"}, std::pair{K::Link, "Children"},
                                   std::pair{K::Link, "Children"}, std::pair{K::Link, "Children"},
                                   std::pair{K::Remove, ""}));
}

// A child taken out of its list used to stay in the document, be saved, and
// pass its events to its old father, without any deletion event.
TEST_F(TransactionsTest, AChildTakenOutOfItsListIsRemovedWithItsChildren) {
  auto father = Hooked();
  auto child = Hooked(father);
  auto grandChild = Hooked(child);
  ASSERT_EQ(Attr(father)->AppendLink("Children", child), S_OK);
  ASSERT_EQ(Attr(child)->AppendLink("Children", grandChild), S_OK);
  std::vector<std::string> deaths;
  for (const auto& watched : {std::pair{child.get(), "child"}, {grandChild.get(), "grandChild"}})
    KORQuery<KORISpecEvents>(watched.first)
        ->AddDeathCallback(
            [&deaths, name = watched.second](KORBaseUnknown*) { deaths.push_back(name); });

  ASSERT_EQ(Attr(father)->RemoveLink("Children", child), S_OK);
  EXPECT_TRUE(child->IsDeleted());
  EXPECT_TRUE(grandChild->IsDeleted());
  EXPECT_THAT(deaths, ElementsAre("grandChild", "child"));
  EXPECT_EQ(Heard(KORNotificationKind::Delete, child), 1);
  EXPECT_EQ(Heard(KORNotificationKind::Delete, grandChild), 1);
  heard.clear();
  KORModify late(child);
  EXPECT_EQ(KORQuery<KORIModelEvents>(child)->Dispatch(late), E_FAIL);
  EXPECT_TRUE(heard.empty()) << "the old father still passed on the removed child's events";
}

TEST_F(TransactionsTest, AChildMovedToAnotherFatherInTheSameTransactionStays) {
  auto first = Node(), second = Node(), child = Node();
  ASSERT_EQ(Attr(first)->AppendLink("Children", child), S_OK);
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(Attr(first)->RemoveLink("Children", child), S_OK);
  EXPECT_FALSE(child->IsDeleted()) << "removed before the transaction ended";
  ASSERT_EQ(Attr(second)->AppendLink("Children", child), S_OK);
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  EXPECT_FALSE(child->IsDeleted());
  KORISpecObject_var father;
  ASSERT_EQ(child->GetFather(father.Out()), S_OK);
  EXPECT_EQ(father.get(), second.get());
}

TEST_F(TransactionsTest, ATakenOutChildIsNotSavedWhileItsRemovalIsPending) {
  auto father = Node(), child = Node(), grandChild = Node(), fan = Node();
  ASSERT_EQ(Attr(father)->AppendLink("Children", child), S_OK);
  ASSERT_EQ(Attr(child)->AppendLink("Children", grandChild), S_OK);
  ASSERT_EQ(Attr(fan)->AppendLink("Friends", grandChild), S_OK);
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(Attr(father)->EmptyPosition("Children", 1), S_OK);
  const std::string pending = Saved();
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  EXPECT_TRUE(grandChild->IsDeleted());
  EXPECT_EQ(pending, Saved()) << "the file written while the removal was pending differs";
  KORUuid uuid;
  ASSERT_EQ(KORQuery<KORIUuid>(grandChild)->GetUuid(uuid), S_OK);
  EXPECT_EQ(pending.find(uuid.ToText()), std::string::npos);
}

} // namespace
