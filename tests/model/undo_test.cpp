// Undo and redo of edits made through the module's interfaces: seeded random
// sequences of factory creations, setter calls and removals, in transactions.
#include "ConfigBuilder.h"

#include "../host/featurestore/StoreChecks.h"
#include "featurestore/KORLifeCycleObject.h"

#include <map>
#include <random>

namespace {
class UndoTest : public BuildTest {
protected:
  void SetUp() override {
    BuildTest::SetUp();
    transactions = KORQuery<KORITransactions>(document->Identity());
    ASSERT_TRUE(transactions);
    resources = Resources(); // makes the default configuration, outside any transaction
    specs = Specs();
    container = Store();
    ASSERT_NE(container, nullptr);
  }

  std::string Saved() { return SavedBytes(*document); }

  template <class I> I* Pick(const std::vector<KORSmartPtr<I>>& iFrom) {
    if (iFrom.empty())
      return nullptr;
    return iFrom[std::uniform_int_distribution<std::size_t>(0, iFrom.size() - 1)(random)];
  }
  static bool Removed(KORBaseUnknown* iElement) {
    auto object = KORQuery<KORISpecObject>(iElement);
    return !object || object->IsDeleted();
  }
  static HRESULT Remove(KORBaseUnknown* iElement) {
    auto lifeCycle = KORQuery<LifeCycleObject>(iElement);
    return lifeCycle && !Removed(iElement) ? lifeCycle->remove() : E_FAIL;
  }
  KORUnicodeString NextName(const char* iBase) { return iBase + std::to_string(++names); }

  // One edit of kind iWhat, as a user's command would make it; it may fail
  // (a removed element, nothing to edit yet).
  HRESULT Edit(int iWhat) {
    auto* ig = Pick(igs);
    auto* window = Pick(windows);
    auto* station = Pick(stations);
    auto* tracker = Pick(trackers);
    auto* view = Pick(views);
    const int number = static_cast<int>(random() % 2000);
    switch (iWhat) {
    case 0: {
      KORIVrcIG_var made;
      HRESULT result = factory->CreateIG(NextName("visu:0."), 1280, 1024, made.Out());
      igs.push_back(made);
      return result;
    }
    case 1: {
      KORIVrcViewport_var viewport;
      KORIVrcWindow_var made;
      if (!ig || FAILED(factory->CreateViewport(0, 0, 0.5, 1, viewport.Out())))
        return E_FAIL;
      HRESULT result = factory->CreateVrcWindow(NextName("Window"), viewport, ig, made.Out());
      windows.push_back(made);
      return result;
    }
    case 2: {
      KORIVrcTrackingStation_var made;
      HRESULT result =
          factory->CreateTrackingStation(KORVrcStationIS900, NextName("Station"), made.Out());
      stations.push_back(made);
      return result;
    }
    case 3: {
      KORIVrcTracker_var made;
      if (!station || FAILED(factory->CreateTracker(NextName("T"), made.Out(), station)))
        return E_FAIL;
      trackers.push_back(made);
      return S_OK;
    }
    case 4: {
      KORIVrcCameraView_var made;
      HRESULT result = factory->CreateCameraView(NextName("Cam"), 1, 0, 0.5, 0, made.Out());
      views.push_back(KORQuery<KORIVrcView>(made));
      return result;
    }
    case 5: {
      KORIVrcRenderingSpec_var spec;
      KORIVrcRendering_var rendering;
      if (!view || !window ||
          FAILED(factory->CreateRenderingSpec(KORVrcRenderingMono, KORVrcMirrorNone, spec.Out())))
        return E_FAIL;
      return factory->CreateRendering(NextName("R"), spec, view, window, rendering.Out());
    }
    case 6:
      return ig ? ig->SetPixelWidth(number) : E_FAIL;
    case 7:
      return station ? station->SetPort(number) : E_FAIL;
    case 8:
      return window ? window->SetName(NextName("Renamed")) : E_FAIL;
    case 9: {
      if (!tracker)
        return E_FAIL;
      KORBaseUnknown_var followed = random() % 3 ? KORBaseUnknown_var(Head()) : nullptr;
      return tracker->SetTrackedElement(KORQuery<KORIVrcTrackedElement>(followed).get());
    }
    case 10:
      return ig && !Removed(ig) ? resources->RemoveIG(ig, /*iPlainRemove=*/1) : E_FAIL;
    case 11:
      return station && tracker && !Removed(tracker) ? station->RemoveTracker(tracker) : E_FAIL;
    case 12:
      return view && !Removed(view) ? specs->RemoveView(view) : E_FAIL;
    default: {
      KORBaseUnknown* elements[] = {ig, window, station, tracker};
      return Remove(elements[random() % 4]);
    }
    }
  }

  // Every element whose last model event heard at the root was a creation
  // is alive, and a deletion dead. Tracking stations are left out: they are
  // not connected to their father for events, so that their creation is
  // handed to the father but their deletion is not heard at the root.
  void ExpectHeardEventsMatchTheStore(const char* iWhen) {
    std::map<KORBaseUnknown*, KORNotificationKind> last;
    for (const HeardEvent& event : heard)
      if (event.kind != KORNotificationKind::Modify)
        last[event.object.get()] = event.kind;
    int checked = 0;
    for (const auto& [object, kind] : last) {
      if (!KORQuery<KORIVrcElement>(object) || KORQuery<KORIVrcTrackingStation>(object))
        continue;
      ++checked;
      EXPECT_EQ(Removed(object), kind == KORNotificationKind::Delete)
          << iWhen << ": the events heard disagree with the store";
    }
    EXPECT_GT(checked, 10) << iWhen;
  }

  KORITransactions_var transactions;
  KORIVrcGraphicResources_var resources;
  KORIVrcGraphicSpecs_var specs;
  KORFeatureContainer* container = nullptr;
  std::mt19937 random{20261206};
  int names = 0;
  std::vector<KORIVrcIG_var> igs;
  std::vector<KORIVrcWindow_var> windows;
  std::vector<KORIVrcTrackingStation_var> stations;
  std::vector<KORIVrcTracker_var> trackers;
  std::vector<KORIVrcView_var> views;
};

TEST_F(UndoTest, UndoingEveryEditGivesTheFileBeforeAndRedoingThemTheFileAfter) {
  StoreMirror mirror(*document, *container);
  const std::string before = Saved();
  int succeeded = 0;
  for (int step = 0; step < 400;) {
    ASSERT_EQ(transactions->OpenTransaction(), S_OK);
    for (int edits = 1 + static_cast<int>(random() % 4); edits > 0; --edits, ++step)
      succeeded += SUCCEEDED(Edit(static_cast<int>(random() % 14))) ? 1 : 0;
    ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  }
  EXPECT_GT(succeeded, 200) << "too few edits succeeded to test anything";
  const std::string after = Saved();
  ASSERT_NE(after, before);
  EXPECT_EQ(mirror.State(), StoreMirror::Of(*container));
  ExpectHeardEventsMatchTheStore("after the edits");

  const int committed = transactions->GetUndoCount();
  while (transactions->GetUndoCount() > 0)
    ASSERT_EQ(transactions->Undo(), S_OK);
  EXPECT_EQ(Saved(), before);
  EXPECT_EQ(mirror.State(), StoreMirror::Of(*container));
  ExpectHeardEventsMatchTheStore("after undoing");
  EXPECT_EQ(transactions->GetRedoCount(), committed);

  while (transactions->GetRedoCount() > 0)
    ASSERT_EQ(transactions->Redo(), S_OK);
  EXPECT_EQ(Saved(), after);
  EXPECT_EQ(mirror.State(), StoreMirror::Of(*container));
  ExpectHeardEventsMatchTheStore("after redoing");
}

TEST_F(UndoTest, AnAbortedCommandLeavesTheDocumentAsItWas) {
  auto ig = build.IG("visu:0.0", 1280, 1024);
  const std::string before = Saved();
  TakeHeard();
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  auto window = build.Window(ig, "W");
  ASSERT_EQ(ig->SetPixelWidth(640), S_OK);
  ASSERT_EQ(transactions->AbortTransaction(), S_OK);
  EXPECT_EQ(Saved(), before);
  EXPECT_TRUE(Removed(window));
  EXPECT_EQ(CountHeard(KORNotificationKind::Delete, window), 1);
  int width = 0;
  ASSERT_EQ(ig->GetPixelWidth(&width), S_OK);
  EXPECT_EQ(width, 1280);
}

// Extensions and event bindings live with their feature: a view removed
// follows its head no more, and brought back by undo follows it again, each
// move renewing the configuration's identifier.
TEST_F(UndoTest, AViewBroughtBackByUndoFollowsItsHeadAgain) {
  auto view = build.Screen("Wall", {0, 0, -3000}, {0, 3000, -3000}, {3000, 0, -3000});
  auto head = KORQuery<KORIVrcTrackedElement>(Head());
  ASSERT_TRUE(head);
  KORIVrcConfig_var config = Config();
  double x = 0;
  // How many changes of the view one head move made; whether the identifier
  // changed. The move is aborted, so that the history stays as it was.
  auto moveHead = [&](int& oViewChanges, bool& oRenewed) {
    KORUuid before, after;
    ASSERT_EQ(config->GetID(before), S_OK);
    ASSERT_EQ(transactions->OpenTransaction(), S_OK);
    TakeHeard();
    ASSERT_EQ(head->SetLocation(KORMathTransformation(KORMath3x3Matrix(), {x += 10, 0, 1700})),
              S_OK);
    oViewChanges = CountHeard(KORNotificationKind::Modify, view);
    ASSERT_EQ(config->GetID(after), S_OK);
    oRenewed = !(after == before);
    ASSERT_EQ(transactions->AbortTransaction(), S_OK);
  };
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  ASSERT_EQ(Remove(view), S_OK);
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);

  struct Case {
    const char* after;
    HRESULT (KORITransactions::*replay)();
    int viewChanges;
  };
  const Case cases[] = {{"the removal", nullptr, 0},
                        {"undo", &KORITransactions::Undo, 1},
                        {"redo", &KORITransactions::Redo, 0},
                        {"undo again", &KORITransactions::Undo, 1}};
  for (const Case& test : cases) {
    if (test.replay) {
      ASSERT_EQ((transactions.get()->*test.replay)(), S_OK) << test.after;
    }
    for (int move = 0; move < 2; ++move) { // bound on the first, kept for the second
      int viewChanges = -1;
      bool renewed = false;
      moveHead(viewChanges, renewed);
      EXPECT_EQ(viewChanges, test.viewChanges) << "after " << test.after << ", move " << move;
      EXPECT_TRUE(renewed) << "after " << test.after << ", move " << move;
    }
  }
}
} // namespace
