#include "ModelFixture.h"

#include "KORVrcTrace.h"
#include "featurestore/KORContainer.h"
#include "featurestore/KORLifeCycleObject.h"

#include <gmock/gmock.h>

namespace {
using testing::Contains;

class FactoryTest : public ModelTest {
protected:
  static KORUnicodeString NameOf(KORBaseUnknown* iElement) {
    KORUnicodeString name;
    auto element = KORQuery<KORIVrcElement>(iElement);
    EXPECT_TRUE(element);
    if (element) {
      EXPECT_EQ(element->GetName(name), S_OK);
    }
    return name;
  }
};

TEST_F(FactoryTest, TheFirstRequestMakesTheCompleteDefaultConfiguration) {
  auto config = Config();
  ASSERT_TRUE(config);
  EXPECT_EQ(NameOf(config), "Config");
  EXPECT_TRUE(Same(Config().get(), config)) << "a second request made another root";

  KORFeatureContainer* container = Store();
  ASSERT_NE(container, nullptr);
  EXPECT_STREQ(container->GetTypeName(), "VrcContainer");
  EXPECT_EQ(container->SuperType(), "KORFeatCont");
  KORString userId;
  EXPECT_EQ(container->GetUserId(userId), S_OK);
  EXPECT_EQ(userId, "VRConfig");
  EXPECT_EQ(container->GetNativeFormat(), "VrcContainer");
  EXPECT_EQ(container->Catalogs().Locate("KORVrc.KORfct"), 1);
  EXPECT_EQ(document->UndoRegisteredContainerCount(), 1u);
  // Root, three branches, head and hand device; nothing else.
  EXPECT_EQ(container->Features().size(), 6u);

  KORIVrcWindow_var mainWindow;
  EXPECT_EQ(Resources()->GetMainWindow(mainWindow.Out()), E_FAIL);
  EXPECT_EQ(Listed(Resources(), &KORIVrcGraphicResources::GetIGs).size(), 0u);
  EXPECT_EQ(Listed(Specs(), &KORIVrcGraphicSpecs::GetViews).size(), 0u);
  EXPECT_EQ(Listed(Devices(), &KORIVrcDevices::GetTrackingStations).size(), 0u);

  auto head = Head();
  EXPECT_EQ(NameOf(head), "Head");
  double ipd = 0;
  EXPECT_EQ(head->GetIPD(&ipd), S_OK);
  EXPECT_EQ(ipd, 57.0);
  KORVrcHeadType headType = KORVrcHeadVR6;
  EXPECT_EQ(head->GetType(&headType), S_OK);
  EXPECT_EQ(headType, KORVrcHeadCustom);
  KORIVrcTracker_var tracker;
  EXPECT_EQ(head->GetViewPointTracker(tracker.Out()), E_FAIL);
  KORMathTransformation location(KORMath3x3Matrix(), KORMathVector(1, 2, 3));
  EXPECT_EQ(KORQuery<KORIVrcTrackedElement>(head)->GetLocation(location), S_OK);
  EXPECT_TRUE(location.IsIdentity());

  auto hand = Hand();
  EXPECT_EQ(NameOf(hand), "Hand");
  KORVrcHandDeviceType handType = KORVrcHandMike;
  EXPECT_EQ(hand->GetType(&handType), S_OK);
  EXPECT_EQ(handType, KORVrcHandCustom);
  EXPECT_EQ(hand->GetPickingTracker(tracker.Out()), E_FAIL);
  EXPECT_EQ(KORQuery<KORIVrcTrackedElement>(hand)->GetLocation(location), S_OK);
  EXPECT_TRUE(location.GetMatrix().IsEqual(KORMath3x3Matrix()));
  EXPECT_TRUE(location.GetVector().IsEqual(KORMathVector(500, -400, -750)));
}

TEST_F(FactoryTest, EveryElementFindsTheSameFactoryResults) {
  auto config = Config();
  auto fromHead = KORQuery<KORIVrcFactory>(Head());
  ASSERT_TRUE(fromHead);
  EXPECT_TRUE(Same(Retrieved(fromHead, &KORIVrcFactory::RetrieveConfig).get(), config));
  EXPECT_TRUE(
      Same(Retrieved(fromHead, &KORIVrcFactory::RetrieveVrcContainer).get(), VrcContainer().get()));
  EXPECT_EQ(factory->RetrieveConfig(nullptr), E_FAIL);
}

// The Retrieve operations left the caller's earlier pointer in the out value on failure.
TEST_F(FactoryTest, AFailedRetrievalLeavesNullInItsOutValue) {
  // A factory asked from an element that is in no container finds nothing.
  auto lost = KORLooseElement::Make<KORIVrcFactory>("KORVrcElement");
  ASSERT_TRUE(lost);
  KORIVrcHead_var earlier = Head();
  // Whether iRetrieve fails and clears an out value that held an element.
  auto clears = [&]<class I>(HRESULT (KORIVrcFactory::*iRetrieve)(I**)) {
    I* value = reinterpret_cast<I*>(earlier.get());
    EXPECT_EQ((lost.get()->*iRetrieve)(&value), E_FAIL);
    return value == nullptr;
  };
  EXPECT_TRUE(clears(&KORIVrcFactory::RetrieveVrcContainer));
  EXPECT_TRUE(clears(&KORIVrcFactory::RetrieveConfig));
  EXPECT_TRUE(clears(&KORIVrcFactory::RetrieveGraphicResources));
  EXPECT_TRUE(clears(&KORIVrcFactory::RetrieveGraphicSpecs));
  EXPECT_TRUE(clears(&KORIVrcFactory::RetrieveDevices));
  EXPECT_TRUE(clears(&KORIVrcFactory::RetrieveMainWindow));
  EXPECT_TRUE(clears(&KORIVrcFactory::RetrieveHead));
  EXPECT_TRUE(clears(&KORIVrcFactory::RetrieveHandDevice));
}

TEST_F(FactoryTest, AViewMadeWithoutHeadHasNone) {
  ASSERT_EQ(Specs()->RemoveHead(Head().get()), S_OK);
  KORIVrcHead_var none;
  EXPECT_EQ(factory->RetrieveHead(none.Out()), E_FAIL);
  KORIVrcCameraView_var camera;
  EXPECT_EQ(factory->CreateCameraView("Cam", 1, 0, 1, 0, camera.Out()), S_OK);
  ASSERT_TRUE(camera);
  EXPECT_EQ(camera->GetHead(none.Out()), E_FAIL);
}

TEST_F(FactoryTest, ATrackerWithoutStationIsNotMade) {
  KORFeatureContainer* container = Store();
  const std::size_t before = container->Features().size();
  KORIVrcTracker_var tracker;
  EXPECT_EQ(factory->CreateTracker("1", tracker.Out(), nullptr), E_FAIL);
  EXPECT_FALSE(tracker);
  EXPECT_EQ(container->Features().size(), before);
  EXPECT_EQ(factory->CreateIG("x:0.0", 1, 1, nullptr), E_FAIL);
  EXPECT_EQ(container->Features().size(), before);
}

TEST_F(FactoryTest, TheDefaultConfigurationAndEachCreationTraceTheirSteps) {
  KORTraceCapture capture({KORVrcModelTraceName});
  ASSERT_TRUE(Config());
  factory = KORQuery<KORIVrcFactory>(document);
  KORIVrcIG_var ig;
  ASSERT_EQ(factory->CreateIG(":0.0", 1280, 1024, ig.Out()), S_OK);
  KORIVrcTrackingStation_var station;
  ASSERT_EQ(factory->CreateTrackingStation(KORVrcStationIS900, "S", station.Out()), S_OK);
  // An extension is made once per object: the new station's factory is made here.
  ASSERT_TRUE(KORQuery<KORIVrcFactory>(station));
  const auto lines = capture.Lines();
  for (const char* expected :
       {"{ Start of: KOREVrcFactory::CreateConfig()",
        "{ Start of: KOREVrcFactory::CreateGraphicResources",
        "} End of factory::Create GraphicResources()", "{ Start of: KOREVrcFactory::CreateHead()",
        "} End of factory::Create GraphicSpecs()", "} Start of factory::CreateHandDevice()",
        "} End of factory::Create Devices()", "} End of factory::CreateConfig()",
        "{ Start of: KOREVrcFactory::CreateIG()", "} End of factory::CreateIG()",
        "} Start of factory::CreateTrackingStation()", "KOREVrcFactory - Constructor"})
    EXPECT_THAT(lines, Contains(std::string("KORVrcModel: ") + expected));
}
} // namespace
