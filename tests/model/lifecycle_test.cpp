#include "ConfigBuilder.h"

#include "featurestore/KORDocumentIO.h"
#include "featurestore/KORICutAndPastable.h"
#include "featurestore/KORITransactions.h"
#include "featurestore/KORLifeCycleObject.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {
class LifeCycleTest : public ModelTest {
protected:
  void SetUp() override {
    ModelTest::SetUp();
    ConfigBuilder build(factory);
    ig = build.IG(":0.0");
    build.Camera("Cam", 1, 0, 1, 0);
    shown = build.Window(ig, "Shown", {0, 0, 1, 1}, "Cam");
    alone = build.Window(ig, "Alone");
    ASSERT_EQ(shown->GetRendering(rendering.Out()), S_OK);
    TakeHeard();
  }

  std::size_t RenderingCount() { return Listed(Config(), &KORIVrcConfig::GetRenderings).size(); }
  static HRESULT Accepts(KORBaseUnknown* iElement, const char* iCommand) {
    auto filter = KORQuery<KORICSOFilter>(iElement);
    return filter ? filter->CommandIsAvailable(iCommand, nullptr) : E_NOINTERFACE;
  }

  KORIVrcIG_var ig;
  KORIVrcWindow_var shown, alone;
  KORIVrcRendering_var rendering;
};

TEST_F(LifeCycleTest, DeletingAWindowDropsItsRenderingFromTheRootAndAnnouncesIt) {
  ASSERT_EQ(RenderingCount(), 1u);
  ASSERT_EQ(KORQuery<LifeCycleObject>(alone)->remove(), S_OK);
  EXPECT_EQ(RenderingCount(), 1u) << "a window without rendering only goes itself";
  EXPECT_TRUE(KORQuery<KORISpecObject>(alone)->IsDeleted());
  EXPECT_EQ(CountHeard(KORNotificationKind::Delete, alone), 1);
  EXPECT_EQ(Listed(ig, &KORIVrcIG::GetWindows).size(), 1u);

  ASSERT_EQ(KORQuery<LifeCycleObject>(shown)->remove(), S_OK);
  EXPECT_EQ(RenderingCount(), 0u);
  EXPECT_FALSE(KORQuery<KORISpecObject>(rendering)->IsDeleted()) << "the rendering itself lives on";
  EXPECT_TRUE(KORQuery<KORISpecObject>(shown)->IsDeleted());
}

TEST_F(LifeCycleTest, OnlyOrdinaryElementsAcceptDelete) {
  KORIVrcTrackingStation_var station;
  ASSERT_EQ(factory->CreateTrackingStation(KORVrcStationIS900, "S", station.Out()), S_OK);
  KORIVrcTracker_var tracker;
  ASSERT_EQ(factory->CreateTracker("1", tracker.Out(), station), S_OK);
  for (KORBaseUnknown* element :
       std::initializer_list<KORBaseUnknown*>{tracker, alone, ig, station}) {
    EXPECT_EQ(Accepts(element, "Delete"), S_OK);
    EXPECT_EQ(Accepts(element, "Cut"), E_FAIL);
  }
  const std::vector<KORBaseUnknown_var> fixed{Head(),  Config(),  Resources(),
                                              Specs(), Devices(), Hand()};
  for (const KORBaseUnknown_var& element : fixed)
    EXPECT_EQ(Accepts(element, "Delete"), E_FAIL);
  KORListValKORBaseUnknown_var* elements = nullptr;
  EXPECT_EQ(KORQuery<KORICSOFilter>(tracker)->AvailableElements("Delete", nullptr, &elements),
            E_FAIL);
  EXPECT_EQ(elements, nullptr);
}

// Renewals within one transaction rewrite the recorded identifier in place:
// each read still sees a new value, and undo and redo give back the values
// before and after the transaction.
TEST_F(LifeCycleTest, IdentifiersRenewedInATransactionAreFreshAndReplayed) {
  auto config = Config();
  auto transactions = KORQuery<KORITransactions>(document->Identity());
  ASSERT_TRUE(transactions);
  std::vector<KORUuid> seen(1);
  ASSERT_EQ(config->GetID(seen.back()), S_OK);
  ASSERT_EQ(transactions->OpenTransaction(), S_OK);
  for (int width : {640, 800, 1024}) {
    ASSERT_EQ(ig->SetPixelWidth(width), S_OK);
    KORUuid now;
    ASSERT_EQ(config->GetID(now), S_OK);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), now), 0) << "width " << width;
    seen.push_back(now);
  }
  ASSERT_EQ(transactions->CommitTransaction(), S_OK);
  KORUuid replayed;
  ASSERT_EQ(transactions->Undo(), S_OK);
  ASSERT_EQ(config->GetID(replayed), S_OK);
  EXPECT_EQ(replayed, seen.front());
  ASSERT_EQ(transactions->Redo(), S_OK);
  ASSERT_EQ(config->GetID(replayed), S_OK);
  EXPECT_EQ(replayed, seen.back());
}

// Moves of the hand device and head, and deletions of devices, stopped short
// of the configuration root: its identifier stayed and the views never heard.
class DeviceEventsTest : public ModelTest {
protected:
  struct Devices {
    KORIVrcTrackedElement_var hand, head;
    KORIVrcTrackingStation_var station;
    KORIVrcTracker_var tracker;
    KORIVrcButtonDevice_var buttons;
  };
  static Devices Find(KORIVrcFactory* iFactory) {
    Devices found;
    KORIVrcHandDevice_var hand;
    KORIVrcHead_var head;
    EXPECT_EQ(iFactory->RetrieveHandDevice(hand.Out()), S_OK);
    EXPECT_EQ(iFactory->RetrieveHead(head.Out()), S_OK);
    found.hand = KORQuery<KORIVrcTrackedElement>(hand);
    found.head = KORQuery<KORIVrcTrackedElement>(head);
    KORIVrcDevices_var devices;
    EXPECT_EQ(iFactory->RetrieveDevices(devices.Out()), S_OK);
    KORListValKORBaseUnknown_var* listed = nullptr;
    EXPECT_EQ(devices->GetTrackingStations(&listed), S_OK);
    found.station = KORQuery<KORIVrcTrackingStation>((*listed)[1]);
    delete listed;
    EXPECT_EQ(devices->GetButtonDevices(&listed), S_OK);
    found.buttons = KORQuery<KORIVrcButtonDevice>((*listed)[1]);
    delete listed;
    EXPECT_EQ(found.station->GetTrackers(&listed), S_OK);
    found.tracker = KORQuery<KORIVrcTracker>((*listed)[1]);
    delete listed;
    return found;
  }
  static HRESULT Remove(KORBaseUnknown* iElement) {
    return KORQuery<LifeCycleObject>(iElement)->remove();
  }

  // Runs each change on the configuration of iFactory and expects it to renew
  // the identifier; iHeard, when given, tells whether the document's root
  // heard of the changed element.
  void ExpectEachReachesTheRoot(
      KORIVrcFactory* iFactory,
      const std::function<bool(KORNotificationKind, KORBaseUnknown*)>& iHeard = nullptr) {
    const Devices found = Find(iFactory);
    ASSERT_TRUE(found.hand && found.head && found.station && found.tracker && found.buttons);
    const KORMathTransformation moved(KORMath3x3Matrix(), KORMathVector(10, 20, 30));
    struct Change {
      const char* what;
      std::function<HRESULT()> run;
      KORNotificationKind kind;
      KORBaseUnknown* object;
    };
    const std::vector<Change> changes{
        {"hand move", [&] { return found.hand->SetLocation(moved); }, KORNotificationKind::Modify,
         found.hand},
        {"head move", [&] { return found.head->SetLocation(moved); }, KORNotificationKind::Modify,
         found.head},
        {"tracker deletion", [&] { return Remove(found.tracker); }, KORNotificationKind::Delete,
         found.tracker},
        {"button device deletion", [&] { return Remove(found.buttons); },
         KORNotificationKind::Delete, found.buttons},
        {"station deletion", [&] { return Remove(found.station); }, KORNotificationKind::Delete,
         found.station},
    };
    KORIVrcConfig_var config;
    ASSERT_EQ(iFactory->RetrieveConfig(config.Out()), S_OK);
    for (const Change& change : changes) {
      KORUuid before, after;
      ASSERT_EQ(config->GetID(before), S_OK);
      TakeHeard();
      ASSERT_EQ(change.run(), S_OK) << change.what;
      ASSERT_EQ(config->GetID(after), S_OK);
      EXPECT_NE(before, after) << change.what << " did not renew the identifier";
      if (iHeard) {
        EXPECT_TRUE(iHeard(change.kind, change.object)) << change.what << " was not heard";
      }
    }
  }

  void SetUp() override {
    ModelTest::SetUp();
    ConfigBuilder build(factory);
    build.Tracker(build.Station("S", KORVrcStationIS900, "d").get(), 1);
    build.ButtonDevice("B", KORVrcButtonMike, "b");
  }
};

TEST_F(DeviceEventsTest, ChangesOfANewConfigurationReachTheRoot) {
  ExpectEachReachesTheRoot(factory, [this](KORNotificationKind iKind, KORBaseUnknown* iObject) {
    return CountHeard(iKind, iObject) == 1;
  });
}

TEST_F(DeviceEventsTest, ChangesOfAReloadedConfigurationReachTheRoot) {
  const std::string path = std::filesystem::temp_directory_path() /
                           ("kor-device-events-" + std::to_string(getpid()) + ".KORProduct");
  std::string error;
  ASSERT_EQ(KORSaveDocument(*document, path, error), S_OK) << error;
  KORSmartPtr<KORDocument> loaded;
  const HRESULT read = KORLoadDocument(path, loaded, error);
  std::filesystem::remove(path);
  ASSERT_EQ(read, S_OK) << error;
  auto loadedFactory = KORQuery<KORIVrcFactory>(loaded);
  ExpectEachReachesTheRoot(loadedFactory);
}

TEST_F(LifeCycleTest, RemovingASelectionRemovesEachElementWithItsChildren) {
  KORCSO selection;
  selection.Add(ig);
  KORListValKORBaseUnknown_var objects = selection.Objects();
  auto cut = KORQuery<KORICutAndPastable>(ig);
  ASSERT_TRUE(cut);
  ASSERT_EQ(cut->BoundaryRemove(objects), S_OK);
  EXPECT_EQ(objects.Size(), 3) << "the image generator and its two windows";
  ASSERT_EQ(cut->Remove(objects), S_OK);
  EXPECT_TRUE(KORQuery<KORISpecObject>(ig)->IsDeleted());
  EXPECT_TRUE(KORQuery<KORISpecObject>(shown)->IsDeleted());
}
} // namespace
