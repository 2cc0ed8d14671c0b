#include "ModelFixture.h"

#include "featurestore/KORICutAndPastable.h"
#include "featurestore/KORLifeCycleObject.h"

namespace {
class LifeCycleTest : public ModelTest {
protected:
  void SetUp() override {
    ModelTest::SetUp();
    ASSERT_EQ(factory->CreateIG(":0.0", 1280, 1024, ig.Out()), S_OK);
    KORIVrcViewport_var viewport;
    ASSERT_EQ(factory->CreateViewport(0, 0, 1, 1, viewport.Out()), S_OK);
    ASSERT_EQ(factory->CreateVrcWindow("Shown", viewport, ig, shown.Out()), S_OK);
    ASSERT_EQ(factory->CreateVrcWindow("Alone", viewport, ig, alone.Out()), S_OK);
    KORIVrcCameraView_var camera;
    ASSERT_EQ(factory->CreateCameraView("Cam", 1, 0, 1, 0, camera.Out()), S_OK);
    KORIVrcRenderingSpec_var spec;
    ASSERT_EQ(factory->CreateRenderingSpec(KORVrcRenderingMono, KORVrcMirrorNone, spec.Out()),
              S_OK);
    ASSERT_EQ(factory->CreateRendering("R", spec, camera, shown, rendering.Out()), S_OK);
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

TEST_F(LifeCycleTest, TheIdentifierChangesWithEveryEventAndOnlyThen) {
  auto config = Config();
  KORUuid first, again, later;
  ASSERT_EQ(config->GetID(first), S_OK);

  ASSERT_EQ(ig->SetPixelWidth(640), S_OK);
  ASSERT_EQ(config->GetID(later), S_OK);
  EXPECT_NE(later, first) << "a change that reached the root kept the identifier";
  ASSERT_EQ(config->GetID(again), S_OK);
  EXPECT_EQ(again, later);
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
