// The graphic specifications branch and its elements: views, projection
// areas, heads, regions and decompositions, with the change chains that carry
// a moved head or screen to the views that use it.
#include "ModelFixture.h"
#include "featurestore/KORITransactions.h"
#include "interfaces/KORIVrcVisuRefreshOnElement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace {
constexpr double kPi = std::numbers::pi;
using Kind = KORNotificationKind;

class GraphicSpecsTest : public ModelTest {
protected:
  KORIVrcProjectionArea_var Area() {
    KORIVrcProjectionArea_var area;
    EXPECT_EQ(factory->CreateProjectionArea(0, 1500, 3000, 0, 0, 3000, 3000, 0, 3000, area.Out()),
              S_OK);
    return area;
  }
  KORIVrcScreenView_var Screen(KORIVrcProjectionArea* iArea) {
    KORIVrcScreenView_var view;
    EXPECT_EQ(factory->CreateScreenView("Wall", iArea, view.Out()), S_OK);
    return view;
  }
  KORIVrcCameraView_var Camera(double iHfov, double iHshift, double iVfov, double iVshift) {
    KORIVrcCameraView_var view;
    EXPECT_EQ(factory->CreateCameraView("Camera", iHfov, iHshift, iVfov, iVshift, view.Out()),
              S_OK);
    return view;
  }
};

TEST_F(GraphicSpecsTest, CameraFrustumFollowsTheAnglesAndEachWriteNotifies) {
  auto camera = Camera(kPi / 2, 0, kPi / 2, 0);
  double left = 0, right = 0, top = 0, bottom = 0;
  ASSERT_EQ(camera->GetFrustum(left, right, top, bottom), S_OK);
  EXPECT_NEAR(left, -1, 1e-12);
  EXPECT_NEAR(right, 1, 1e-12);
  EXPECT_NEAR(top, 1, 1e-12);
  EXPECT_NEAR(bottom, -1, 1e-12);

  TakeHeard();
  ASSERT_EQ(camera->SetFrustum(-1, 3, 1, -1), S_OK);
  // Once by the SetAngles it stores with, once by SetFrustum itself.
  EXPECT_EQ(CountHeard(Kind::Modify, camera), 2);
  double hfov = 0, hshift = 0, vfov = 0, vshift = 0;
  ASSERT_EQ(camera->GetAngles(hfov, hshift, vfov, vshift), S_OK);
  EXPECT_NEAR(hfov, 2 * std::atan(2.0), 1e-12);
  EXPECT_NEAR(hshift, kPi / 4, 1e-12);
  EXPECT_NEAR(vfov, kPi / 2, 1e-12);
  EXPECT_NEAR(vshift, 0, 1e-12);
  TakeHeard();
  ASSERT_EQ(camera->SetAngles(0.5, 0.1, 0.5, 0.1), S_OK);
  EXPECT_EQ(CountHeard(Kind::Modify, camera), 1);

  ASSERT_EQ(camera->SetFrustum(-0.3, 1.2, 0.8, -0.1), S_OK);
  ASSERT_EQ(camera->GetFrustum(left, right, top, bottom), S_OK);
  EXPECT_NEAR(left, -0.3, 1e-12);
  EXPECT_NEAR(right, 1.2, 1e-12);
  EXPECT_NEAR(top, 0.8, 1e-12);
  EXPECT_NEAR(bottom, -0.1, 1e-12);

  auto bare = Bare<KORIVrcCameraView>("KORVrcCameraView");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->GetFrustum(left, right, top, bottom), E_FAIL);
  EXPECT_NEAR(left, -0.3, 1e-12);
}

TEST_F(GraphicSpecsTest, TheEyeDistanceButNotTheHeadTypeReachesTheViewsUsingIt) {
  auto head = Head();
  auto screen = Screen(Area().get());
  auto camera = Camera(1, 0, 1, 0);
  TakeHeard();
  ASSERT_EQ(head->SetIPD(63), S_OK);
  EXPECT_EQ(CountHeard(Kind::Modify, screen), 1);
  EXPECT_EQ(CountHeard(Kind::Modify, camera), 1);

  // The head type is not a change that views show.
  TakeHeard();
  ASSERT_EQ(head->SetType(KORVrcHeadVR6), S_OK);
  EXPECT_EQ(CountHeard(Kind::Modify, screen), 0);
}

// A head move reaches the root once for the head and once for each view's
// own change: the identifier read as each one arrives is new every time, and
// undo and redo of the move give back the identifiers before and after it.
TEST_F(GraphicSpecsTest, EveryEventOfAHeadMoveRenewsTheIdentifierOnce) {
  auto head = Head();
  auto area = Area();
  auto screens = std::array{Screen(area), Screen(area)};
  auto camera = Camera(1, 0, 1, 0);
  auto config = Config();
  auto history = KORQuery<KORITransactions>(document->Identity());
  ASSERT_TRUE(history);
  std::vector<KORUuid> seen(1);
  ASSERT_EQ(config->GetID(seen.front()), S_OK);
  const int reading = rootEvents->GetDispatcher()->AddListener([&](const KORNotification&) {
    KORUuid now;
    ASSERT_EQ(config->GetID(now), S_OK);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), now), 0) << "event " << seen.size();
    seen.push_back(now);
  });
  TakeHeard();
  KORMathTransformation moved;
  moved.SetVector(KORMathVector(0, 0, 1700));
  ASSERT_EQ(history->OpenTransaction(), S_OK);
  ASSERT_EQ(KORQuery<KORIVrcTrackedElement>(head)->SetLocation(moved), S_OK);
  ASSERT_EQ(history->CommitTransaction(), S_OK);
  rootEvents->GetDispatcher()->RemoveListener(reading);
  for (const auto& screen : screens)
    EXPECT_EQ(CountHeard(Kind::Modify, screen), 1);
  EXPECT_EQ(CountHeard(Kind::Modify, camera), 1);
  EXPECT_EQ(CountHeard(Kind::Modify, head), 1);
  EXPECT_EQ(seen.size(), TakeHeard().size() + 1) << "one reading per event heard";

  KORUuid replayed;
  ASSERT_EQ(history->Undo(), S_OK);
  ASSERT_EQ(config->GetID(replayed), S_OK);
  EXPECT_EQ(replayed, seen.front());
  ASSERT_EQ(history->Redo(), S_OK);
  ASSERT_EQ(config->GetID(replayed), S_OK);
  EXPECT_EQ(replayed, seen.back());
}

TEST_F(GraphicSpecsTest, SetHeadMovesTheConnectionToTheNewHeadAndRefusesNull) {
  auto oldHead = Head();
  auto view = Camera(1, 0, 1, 0);
  auto newHead = Bare<KORIVrcHead>("KORVrcHead");
  ASSERT_TRUE(newHead);
  ASSERT_EQ(Specs()->AddHead(newHead), S_OK);
  TakeHeard();
  ASSERT_EQ(view->SetHead(newHead), S_OK);
  EXPECT_EQ(CountHeard(Kind::Modify, view), 1);

  TakeHeard();
  ASSERT_EQ(oldHead->SetIPD(70), S_OK);
  EXPECT_EQ(CountHeard(Kind::Modify, view), 0);
  ASSERT_EQ(newHead->SetIPD(70), S_OK);
  EXPECT_EQ(CountHeard(Kind::Modify, view), 1);

  EXPECT_EQ(view->SetHead(nullptr), E_FAIL);
  KORIVrcHead_var kept;
  ASSERT_EQ(view->GetHead(kept.Out()), S_OK);
  EXPECT_TRUE(Same(kept, newHead)) << "a refused null keeps the head";
}

TEST_F(GraphicSpecsTest, ReconnectRestoresTheChainsOfTheViews) {
  auto specs = Specs();
  auto area = Area();
  auto screen = Screen(area);
  auto camera = Camera(1, 0, 1, 0);
  auto head = Head();
  // What a reload loses: the connections made by the setters.
  ASSERT_EQ(KORQuery<KORIVrcVisuRefreshOnElement>(area)->Deconnect(
                KORQuery<KORBaseUnknown>(screen).get()),
            S_OK);
  ASSERT_EQ(KORQuery<KORIVrcVisuRefreshOnElement>(head)->Deconnect(
                KORQuery<KORBaseUnknown>(camera).get()),
            S_OK);
  // Modifications heard about the screen when the area changes and about the
  // camera when the head changes (the head still reaches the screen view).
  auto hearChains = [&] {
    TakeHeard();
    EXPECT_EQ(area->SetLowerLeft(0, 0, 2900), S_OK);
    const int screenHeard = CountHeard(Kind::Modify, screen);
    TakeHeard();
    EXPECT_EQ(head->SetIPD(60), S_OK);
    return std::pair{screenHeard, CountHeard(Kind::Modify, camera)};
  };
  EXPECT_EQ(hearChains(), std::pair(0, 0));
  ASSERT_EQ(specs->Reconnect(), S_OK);
  const auto [screenHeard, cameraHeard] = hearChains();
  EXPECT_EQ(screenHeard, 1);
  EXPECT_EQ(cameraHeard, 1);
}

TEST_F(GraphicSpecsTest, RegionTypeGovernsWhichAttributesAreReachable) {
  auto region = Bare<KORIVrcRegion>("KORVrcRegion");
  ASSERT_TRUE(region);
  KORVrcRegionType type = KORVrcRegionEye;
  EXPECT_EQ(region->GetType(&type), E_FAIL);
  EXPECT_EQ(type, KORVrcRegionViewport);

  double inferior = 0, superior = 0;
  EXPECT_EQ(region->SetRange(1, 2), E_FAIL);
  EXPECT_EQ(region->GetRange(&inferior, &superior), E_FAIL);
  EXPECT_EQ(region->SetEye(1), E_FAIL);
  KORIVrcViewport_var viewport;
  ASSERT_EQ(factory->CreateViewport(0, 0, 1, 1, viewport.Out()), S_OK);
  EXPECT_EQ(region->SetViewport(viewport), S_OK);

  ASSERT_EQ(region->SetType(KORVrcRegionRange), S_OK);
  ASSERT_EQ(region->SetRange(0.25, 4), S_OK);
  ASSERT_EQ(region->GetRange(&inferior, &superior), S_OK);
  EXPECT_EQ(inferior, 0.25);
  EXPECT_EQ(superior, 4);
  KORIVrcViewport_var read;
  EXPECT_EQ(region->GetViewport(read.Out()), E_FAIL);

  ASSERT_EQ(region->SetType(KORVrcRegionEye), S_OK);
  EXPECT_EQ(region->GetRange(&inferior, &superior), E_FAIL);
  ASSERT_EQ(region->SetEye(2), S_OK);
  KORVrcEyeRegionType eye = 0;
  ASSERT_EQ(region->GetEye(&eye), S_OK);
  EXPECT_EQ(eye, 2);

  ASSERT_EQ(region->SetType(KORVrcRegionViewport), S_OK);
  ASSERT_EQ(region->GetViewport(read.Out()), S_OK);
  EXPECT_EQ(KORQuery<KORBaseUnknown>(read).get(), KORQuery<KORBaseUnknown>(viewport).get());
  EXPECT_EQ(region->SetRendering(nullptr), E_FAIL);
}
} // namespace
