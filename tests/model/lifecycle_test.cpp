#include "ConfigBuilder.h"

#include "featurestore/KORDocumentIO.h"
#include "featurestore/KORICutAndPastable.h"
#include "featurestore/KORLifeCycleObject.h"

#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {
class LifeCycleTest : public BuildTest {
protected:
  void SetUp() override {
    BuildTest::SetUp();
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
  auto station = build.Station("S", KORVrcStationIS900, "d");
  auto tracker = build.Tracker(station, 1);
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

// Moves of the hand device and head, and deletions of devices, stopped short
// of the configuration root: its identifier stayed and the views never heard.
class DeviceEventsTest : public BuildTest {
protected:
  struct Devices {
    KORIVrcTrackedElement_var hand, head;
    KORIVrcTrackingStation_var station;
    KORIVrcTracker_var tracker;
    KORIVrcButtonDevice_var buttons;
  };
  static Devices Find(KORIVrcFactory* iFactory) {
    Devices found;
    found.hand =
        KORQuery<KORIVrcTrackedElement>(Retrieved(iFactory, &KORIVrcFactory::RetrieveHandDevice));
    found.head =
        KORQuery<KORIVrcTrackedElement>(Retrieved(iFactory, &KORIVrcFactory::RetrieveHead));
    auto devices = Retrieved(iFactory, &KORIVrcFactory::RetrieveDevices);
    found.station =
        Listed<KORIVrcTrackingStation>(devices, &KORIVrcDevices::GetTrackingStations).at(0);
    found.buttons = Listed<KORIVrcButtonDevice>(devices, &KORIVrcDevices::GetButtonDevices).at(0);
    found.tracker =
        Listed<KORIVrcTracker>(found.station, &KORIVrcTrackingStation::GetTrackers).at(0);
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
    KORIVrcConfig_var config = Retrieved(iFactory, &KORIVrcFactory::RetrieveConfig);
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
    BuildTest::SetUp();
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
