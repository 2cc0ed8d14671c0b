// The 3D representations of the element kinds, against values worked out by
// hand from each kind's drawing rules.
#include "VisuFixture.h"

#include "visu/KORModelReader.h"

#include <cmath>

using Kind = KORPrimitive::Kind;
using testing::ElementsAre;

namespace {
struct Expected {
  Kind kind;
  std::uint32_t word1;
  std::vector<Eigen::Vector3d> points;
};

void ExpectPrimitives(const KORCustomRep& iCustom, const std::vector<Expected>& iExpected) {
  const auto& primitives = iCustom.GetPrimitives();
  ASSERT_EQ(primitives.size(), iExpected.size());
  for (std::size_t i = 0; i < primitives.size(); ++i) {
    SCOPED_TRACE("primitive " + std::to_string(i));
    EXPECT_EQ(primitives[i].kind, iExpected[i].kind);
    EXPECT_EQ(primitives[i].attribute.word1, iExpected[i].word1);
    EXPECT_EQ(primitives[i].attribute.word2, 0x000000FFu);
    ASSERT_EQ(primitives[i].points.size(), iExpected[i].points.size());
    for (std::size_t p = 0; p < iExpected[i].points.size(); ++p)
      EXPECT_LT((primitives[i].points[p] - iExpected[i].points[p]).norm(), 1e-6)
          << "point " << p << " is " << primitives[i].points[p].transpose();
  }
}

Eigen::Vector3d Placed(const Eigen::Matrix4d& iMatrix, const Eigen::Vector3d& iPoint) {
  return (iMatrix * iPoint.homogeneous()).head<3>();
}
} // namespace

TEST_F(VisuTest, ScreenOutlineDiagonalsCrossAndChevronAtItsCorners) {
  // A 3000 by 3000 screen facing the viewer, 3000 in front: UR = (3000, -1500, 1500).
  auto screen =
      build.Screen("Front", {3000, 1500, 1500}, {3000, 1500, -1500}, {3000, -1500, -1500});
  KORRep_var rep = Rep3D(screen);
  const auto& children = ChildrenOf<KOR3DBagRep>(rep);
  ASSERT_EQ(children.size(), 2u);
  auto placed = dynamic_cast<KOR2DTo3DRep*>(children[0].get());
  auto custom = dynamic_cast<KOR3DCustomRep*>(children[1].get());
  ASSERT_TRUE(placed && custom) << "the fill comes first, then the lines";

  EXPECT_EQ(custom->GetAttribute().word1, 0xFD040410u);
  // clang-format off
  ExpectPrimitives(*custom, {
      {Kind::Polyline, 0xFD043410u, {{3000, 1500, 1500}, {3000, 1500, -1500}, {3000, -1500, -1500},
                                     {3000, -1500, 1500}, {3000, 1500, 1500}}},
      {Kind::Line, 0xFD041410u, {{3000, 1500, 1500}, {3000, -1500, -1500}}},
      {Kind::Line, 0xFD041A30u, {{3000, -90, 0}, {3000, -30, 0}}},
      {Kind::Line, 0xFD041A30u, {{3000, 90, 0}, {3000, 30, 0}}},
      {Kind::Line, 0xFD041A30u, {{3000, 0, -90}, {3000, 0, -30}}},
      {Kind::Line, 0xFD041A30u, {{3000, 0, 90}, {3000, 0, 30}}},
      {Kind::Line, 0xFD041F30u, {{3000, 0, 0}, {3000, 0, 0}}},
      {Kind::Polyline, 0xFD043410u, {{3000, 900, -1500}, {3000, 1200, -1200}, {3000, 1500, -1200}}},
      {Kind::Line, 0xFD041410u, {{3000, 1200, -1200}, {3000, -1500, 1500}}}});
  // clang-format on

  const double radius = 1500.0 * std::sqrt(2.0);
  for (KORRep* part : {rep.get(), static_cast<KORRep*>(placed), static_cast<KORRep*>(custom)}) {
    EXPECT_THAT(part->GetBoundingSphere().centre, At(3000, 0, 0));
    EXPECT_NEAR(part->GetBoundingSphere().radius, radius, 1e-9);
  }
  auto fill = FirstChild<KOR2DCustomRep>(const_cast<KORRep*>(placed->GetContent()));
  ASSERT_NE(fill, nullptr);
  EXPECT_EQ(fill->GetAttribute(), (KORGraphicAttribute{0x14042490u, 0x000000B3u}));
  ASSERT_EQ(fill->GetPrimitives().size(), 1u);
  EXPECT_EQ(fill->GetPrimitives()[0].kind, Kind::Polygon);
  EXPECT_EQ(fill->GetPrimitives()[0].attribute.word2, 0x000000B3u);
  EXPECT_THAT(fill->GetPrimitives()[0].points,
              ElementsAre(At(0, 0, 0), At(3000, 0, 0), At(3000, 3000, 0), At(0, 3000, 0)));
}

TEST_F(VisuTest, ParallelogramScreenGetsItsFourthCornerAndAFillAlongItsEdges) {
  // UL - LL = (0, 500, 1000) leans over LR - LL = (0, -2000, 0).
  auto screen = build.Screen("Leaning", {0, 500, 1000}, {0, 0, 0}, {0, -2000, 0});
  KORRep_var rep = Rep3D(screen);
  auto custom = FirstChild<KOR3DCustomRep>(rep);
  auto placed = FirstChild<KOR2DTo3DRep>(rep);
  ASSERT_TRUE(custom && placed);
  EXPECT_THAT(custom->GetPrimitives()[0].points[3], At(0, -1500, 1000)) << "UR = UL + LR - LL";
  auto fill = FirstChild<KOR2DCustomRep>(const_cast<KORRep*>(placed->GetContent()));
  ASSERT_NE(fill, nullptr);
  const double height = std::sqrt(500.0 * 500.0 + 1000.0 * 1000.0);
  const auto& corners = fill->GetPrimitives()[0].points;
  EXPECT_THAT(corners,
              ElementsAre(At(0, 0, 0), At(2000, 0, 0), At(2000, height, 0), At(0, height, 0)));
  const Eigen::Matrix4d placement = KORPlacementOf(*placed);
  EXPECT_THAT(Placed(placement, corners[1]), At(0, -2000, 0)) << "W along LL-LR lands on LR";
  EXPECT_THAT(Placed(placement, corners[2]), At(0, -1500, 1000)) << "the far corner is UR";
  EXPECT_THAT(Placed(placement, corners[3]), At(0, 500, 1000)) << "H along LL-UL lands on UL";
}

TEST_F(VisuTest, CameraFrustumAtOneHundredBeforeTheHead) {
  // Left -1, right 1, top 0.5, bottom -0.5 at unit distance.
  auto camera = build.Camera("Cam", 2.0 * std::atan(1.0), 0.0, 2.0 * std::atan(0.5), 0.0);
  auto head = KORQuery<KORIVrcTrackedElement>(Head());
  ASSERT_EQ(camera->SetHead(Head().get()), S_OK);
  ASSERT_EQ(head->SetLocation(ConfigBuilder::Placement(10, 20, 1700)), S_OK);

  KORRep_var rep = Rep3D(camera);
  auto custom = FirstChild<KOR3DCustomRep>(rep);
  ASSERT_NE(custom, nullptr);
  const Eigen::Vector3d p1(110, 120, 1750), p2(110, 120, 1650), p3(110, -80, 1650),
      p4(110, -80, 1750), eye(10, 20, 1700);
  ExpectPrimitives(*custom, {{Kind::Polyline, 0xFD043400u, {p1, p2, p3, p4, p1}},
                             {Kind::Line, 0xFD041400u, {eye, p2}},
                             {Kind::Line, 0xFD041400u, {eye, p3}},
                             {Kind::Line, 0xFD041400u, {eye, p4}},
                             {Kind::Line, 0xFD041400u, {eye, p1}}});
  EXPECT_THAT(rep->GetBoundingSphere().centre, At(10, 20, 1700));
  EXPECT_NEAR(rep->GetBoundingSphere().radius, 150.0, 1e-9) << "|(100, 100, 50)|";
}

TEST_F(VisuTest, HeadModelsScaleWithTheEyeDistanceAboutTheHeadOrigin) {
  auto head = Head();
  auto tracked = KORQuery<KORIVrcTrackedElement>(head);
  ASSERT_EQ(tracked->SetLocation(ConfigBuilder::Placement(0, 0, 1700, 90)), S_OK);
  struct Case {
    double ipd, scale;
  };
  for (const Case& c : {Case{57.0, 1.0}, Case{114.0, 2.0}}) {
    SCOPED_TRACE(c.ipd);
    ASSERT_EQ(head->SetIPD(c.ipd), S_OK);
    KORRep_var rep = Rep3D(head);
    auto bag = dynamic_cast<KOR3DBagRep*>(rep.get());
    ASSERT_NE(bag, nullptr);
    ASSERT_EQ(bag->GetChildren().size(), 2u);
    auto headModel = dynamic_cast<KOR3DModelRep*>(bag->GetChildren()[0].get());
    auto eyesModel = dynamic_cast<KOR3DModelRep*>(bag->GetChildren()[1].get());
    ASSERT_TRUE(headModel && eyesModel);
    EXPECT_EQ(headModel->GetFileName(), "head.cgr");
    EXPECT_EQ(eyesModel->GetFileName(), "eyes.cgr");
    EXPECT_THAT(headModel->GetBoundingSphere().centre, At(-100, 0, 0));
    EXPECT_EQ(headModel->GetBoundingSphere().radius, 200.0);
    EXPECT_EQ(eyesModel->GetBoundingSphere().radius, 57.0);
    // The head's x axis (straight ahead) turned by the heading, scaled.
    const Eigen::Matrix4d& m = bag->GetMatrix();
    EXPECT_THAT(Placed(m, {0, 0, 0}), At(0, 0, 1700)) << "scaling is about the head's origin";
    EXPECT_NEAR((Placed(m, {1, 0, 0}) - Placed(m, {0, 0, 0})).norm(), c.scale, 1e-6);
  }
}

TEST_F(VisuTest, HandDeviceModelAtItsLocation) {
  auto hand = KORQuery<KORIVrcTrackedElement>(Hand());
  ASSERT_EQ(hand->SetLocation(ConfigBuilder::Placement(500, -400, 1200)), S_OK);
  KORRep_var rep = Rep3D(hand);
  auto bag = dynamic_cast<KOR3DBagRep*>(rep.get());
  ASSERT_NE(bag, nullptr);
  auto model = FirstChild<KOR3DModelRep>(bag);
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(model->GetFileName(), "joystick.cgr");
  EXPECT_EQ(model->GetBoundingSphere().radius, 500.0);
  EXPECT_EQ(bag->GetBoundingSphere().radius, 500.0);
  EXPECT_THAT(Placed(bag->GetMatrix(), {0, 0, 0}), At(500, -400, 1200));
  EXPECT_THAT(Placed(bag->GetMatrix(), {1, 0, 0}), At(501, -400, 1200)) << "no scaling";
}

TEST_F(VisuTest, FreeTrackersAreLaidOutBesideTheirStationByRank) {
  auto station = build.Station("S", KORVrcStationIS900, "d", 1, 115200,
                               ConfigBuilder::Placement(1000, 0, 2000));
  // Made out of order: the rank follows the numbers, not the creation.
  auto second = build.Tracker(station, 2);
  auto first = build.Tracker(station, 1, "", ConfigBuilder::Placement(0, 0, 5));
  struct Case {
    KORIVrcTracker* tracker;
    Eigen::Vector3d origin;
  };
  // Tracker 1's offset translation keeps its direction at length 80.
  for (const Case& c : {Case{first, {1000, 330, 2080}}, Case{second, {1000, 570, 2000}}}) {
    KORRep_var rep = Rep3D(c.tracker);
    auto custom = FirstChild<KOR3DCustomRep>(rep);
    auto sphere = FirstChild<KOR3DSimpleSphereRep>(rep);
    ASSERT_TRUE(custom && sphere);
    EXPECT_LT((sphere->GetCentre() - c.origin).norm(), 1e-6) << sphere->GetCentre().transpose();
    EXPECT_EQ(sphere->GetRadius(), 30.0);
    EXPECT_EQ(sphere->GetAttribute().word2, 0x006400FFu) << "green: follows nothing";
    EXPECT_LT((rep->GetBoundingSphere().centre - c.origin).norm(), 1e-6);
    EXPECT_EQ(rep->GetBoundingSphere().radius, 200.0);
    const Eigen::Vector3d& o = c.origin;
    ExpectPrimitives(*custom, {{Kind::Arrow, 0xFD042410u, {o}},
                               {Kind::Text, 0xFD042410u, {o + Eigen::Vector3d(200, 4, 0)}},
                               {Kind::Arrow, 0xFD042410u, {o}},
                               {Kind::Text, 0xFD042410u, {o + Eigen::Vector3d(-4, 200, 0)}},
                               {Kind::Arrow, 0xFD042410u, {o}},
                               {Kind::Text, 0xFD042410u, {o + Eigen::Vector3d(0, 4, 200)}}});
    EXPECT_EQ(custom->GetPrimitives()[0].length, 200.0);
    EXPECT_EQ(custom->GetPrimitives()[0].headLength, 30.0);
  }
}

TEST_F(VisuTest, TrackerSphereShowsItsKindOrRedWhenOffTheBestOffset) {
  ASSERT_EQ(Head()->SetType(KORVrcHeadCrystalEyes), S_OK);
  auto station = build.Station("S", KORVrcStationIS900, "d");
  auto onHead = build.Tracker(station, 1, "head");
  KORMathTransformation best;
  ASSERT_EQ(onHead->GetBestOffset(best), S_OK);
  struct Case {
    const char* what;
    KORMathTransformation offset;
    std::uint32_t sphere, axes;
  };
  for (const Case& c :
       {Case{"best offset", best, 0x006464FFu, 0xFD042410u},
        Case{"other offset", ConfigBuilder::Placement(0, 0, 10), 0x640000FFu, 0xCA102410u}}) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(onHead->SetOffset(c.offset), S_OK);
    KORRep_var rep = Rep3D(onHead);
    auto sphere = FirstChild<KOR3DSimpleSphereRep>(rep);
    auto custom = FirstChild<KOR3DCustomRep>(rep);
    ASSERT_TRUE(sphere && custom);
    EXPECT_EQ(sphere->GetAttribute().word2, c.sphere);
    EXPECT_EQ(custom->GetPrimitives()[0].attribute.word1, c.axes);
  }
  auto onHand = build.Tracker(station, 2, "hand");
  auto handSphere = FirstChild<KOR3DSimpleSphereRep>(Rep3D(onHand).get());
  ASSERT_NE(handSphere, nullptr);
  EXPECT_EQ(handSphere->GetAttribute().word2, 0x000064FFu) << "blue: follows the hand";
}

TEST_F(VisuTest, StationDrawsItsTrackersThenCubeThenAxes) {
  // Heading 90: the station's x axis is the absolute y axis.
  auto station = build.Station("S", KORVrcStationIS900, "d", 1, 115200,
                               ConfigBuilder::Placement(100, 200, 300, 90));
  auto tracker = build.Tracker(station, 1);
  KORRep_var rep = Rep3D(station);
  const auto& children = ChildrenOf<KOR3DBagRep>(rep);
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(children[0].get(), Rep3D(tracker).get()) << "the tracker's own cached rep";
  auto cube = dynamic_cast<KOR3DCuboidRep*>(children[1].get());
  auto custom = dynamic_cast<KOR3DCustomRep*>(children[2].get());
  ASSERT_TRUE(cube && custom);

  // Heading 90 turns the station's axes to (0, 1, 0), (-1, 0, 0), (0, 0, 1).
  EXPECT_THAT(cube->GetCorner(), At(96, 204, 304));
  EXPECT_THAT(cube->GetEdge(0), At(0, -8, 0));
  EXPECT_THAT(cube->GetEdge(1), At(8, 0, 0));
  EXPECT_THAT(cube->GetEdge(2), At(0, 0, -8));
  ASSERT_EQ(custom->GetPrimitives().size(), 6u);
  const KORPrimitive& xArrow = custom->GetPrimitives()[0];
  EXPECT_EQ(xArrow.attribute.word1, 0xFD041410u);
  EXPECT_THAT(xArrow.direction, At(0, 1, 0));
  EXPECT_EQ(xArrow.length, 300.0);
  EXPECT_EQ(xArrow.headLength, 40.0);
  EXPECT_THAT(custom->GetPrimitives()[1].points[0], At(100, 504, 300))
      << "X label: tip + (0, 4, 0)";
  EXPECT_THAT(custom->GetBoundingSphere().centre, At(100, 200, 300));
  EXPECT_EQ(custom->GetBoundingSphere().radius, 300.0);
}

TEST_F(VisuTest, GroupsGatherTheirChildrenInOrder) {
  auto screen = build.Screen("V", {3000, 1500, 1500}, {3000, 1500, -1500}, {3000, -1500, -1500});
  auto station = build.Station("S", KORVrcStationIS900, "d");
  auto specs = ChildrenOf<KOR3DBagRep>(Rep3D(Specs().get()).get());
  EXPECT_THAT(specs, ElementsAre(Rep3D(Head().get()).get(), Rep3D(screen).get()))
      << "heads, then views";
  auto devices = ChildrenOf<KOR3DBagRep>(Rep3D(Devices().get()).get());
  EXPECT_THAT(devices, ElementsAre(Rep3D(station).get(), Rep3D(Hand().get()).get()))
      << "stations, then hand devices";
  auto button = build.ButtonDevice("B", KORVrcButtonDeviceType{}, "d");
  EXPECT_EQ(ChildrenOf<KOR3DBagRep>(Rep3D(Devices().get()).get()).size(), 2u)
      << "button devices: not drawn";
  EXPECT_FALSE(Rep3D(button));
  EXPECT_EQ(ChildrenOf<KOR3DBagRep>(Rep3D(Config().get()).get()).size(), 3u)
      << "resources, specifications, devices";
  EXPECT_EQ(ChildrenOf<KOR3DBagRep>(Rep3D(Container().get()).get()).size(), 1u);
}
