// The 2D schematic: image generators in rows of six, windows at their
// viewports inside the picture's screen area.
#include "VisuFixture.h"

#include "visu/KORModelReader.h"

namespace {
Eigen::Vector2d Mapped(const Eigen::Matrix3d& iMatrix, const Eigen::Vector2d& iPoint) {
  return (iMatrix * iPoint.homogeneous()).head<2>();
}
} // namespace

TEST_F(VisuTest, ImageGeneratorsSitSixToARow) {
  std::vector<KORIVrcIG_var> igs;
  for (int i = 1; i <= 7; ++i)
    igs.push_back(build.IG("ig" + std::to_string(i)));
  struct Case {
    int position;
    double x, y;
  };
  // Cell origin + (14, 11), the screen area's corner in the picture.
  for (const Case& c : {Case{1, 314, 11}, Case{6, 1814, 11}, Case{7, 314, 211}}) {
    SCOPED_TRACE(c.position);
    auto outer =
        dynamic_cast<KOR2DBagRep*>(Rep2D(igs[static_cast<std::size_t>(c.position - 1)]).get());
    ASSERT_NE(outer, nullptr);
    EXPECT_LT((Mapped(outer->GetMatrix(), {0, 0}) - Eigen::Vector2d(c.x, c.y)).norm(), 1e-9);
    EXPECT_LT((Mapped(outer->GetMatrix(), {1, 1}) - Eigen::Vector2d(c.x + 211, c.y + 107)).norm(),
              1e-9);
    // The inner bag draws in plain units from the cell origin.
    auto inner = FirstChild<KOR2DBagRep>(outer);
    ASSERT_NE(inner, nullptr);
    const Eigen::Matrix3d both = outer->GetMatrix() * inner->GetMatrix();
    EXPECT_LT((Mapped(both, {0, 0}) - Eigen::Vector2d(c.x - 14, c.y - 11)).norm(), 1e-9);
    EXPECT_LT((Mapped(both, {10, 20}) - Eigen::Vector2d(c.x - 4, c.y + 9)).norm(), 1e-9);
    auto custom = FirstChild<KOR2DCustomRep>(inner);
    ASSERT_NE(custom, nullptr);
    ASSERT_EQ(custom->GetPrimitives().size(), 2u);
    const KORPrimitive& picture = custom->GetPrimitives()[0];
    const KORPrimitive& name = custom->GetPrimitives()[1];
    ASSERT_EQ(picture.kind, KORPrimitive::Kind::Image);
    ASSERT_TRUE(picture.image);
    EXPECT_EQ(name.text, "ig" + std::to_string(c.position));
    EXPECT_LT((name.points[0] - Eigen::Vector3d(0, picture.image->height + 15, 0)).norm(), 1e-9);
    EXPECT_EQ(name.anchor, 3);
  }
}

TEST_F(VisuTest, WindowsLieAtTheirViewportsInsideTheScreenArea) {
  auto ig = build.IG("ig");
  struct Case {
    std::array<double, 4> viewport; // left, top, width, height
    std::vector<Eigen::Vector2d> corners;
  };
  const Case cases[] = {
      {{0, 0, 1, 1}, {{0, 1}, {1, 1}, {1, 0}, {0, 0}}},
      {{0.25, 0.5, 0.5, 0.25}, {{0.25, 0.5}, {0.75, 0.5}, {0.75, 0.25}, {0.25, 0.25}}},
  };
  for (const Case& c : cases) {
    auto window = build.Window(ig, "W", c.viewport);
    auto polygon = dynamic_cast<KOR2DPolygonRep*>(Rep2D(window).get());
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(polygon->GetAttribute(), (KORGraphicAttribute{0xFD043400u, 0x000000FFu}));
    ASSERT_EQ(polygon->GetCorners().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
      EXPECT_LT((polygon->GetCorners()[i] - c.corners[i]).norm(), 1e-9) << i;
    const double width = c.viewport[2], height = c.viewport[3];
    EXPECT_NEAR(polygon->GetBoundingSphere().radius, std::hypot(width, height) / 2, 1e-12);
  }
  // The image generator's bag holds its picture bag, then its windows.
  auto outer = Rep2D(ig);
  EXPECT_EQ(ChildrenOf<KOR2DBagRep>(outer).size(), 3u);
  // The full-screen window covers the 211 by 107 screen area of the picture.
  auto full = dynamic_cast<KOR2DPolygonRep*>(ChildrenOf<KOR2DBagRep>(outer)[1].get());
  ASSERT_NE(full, nullptr);
  const Eigen::Matrix3d& m = dynamic_cast<KOR2DBagRep*>(outer.get())->GetMatrix();
  EXPECT_LT((Mapped(m, full->GetCorners()[0]) - Eigen::Vector2d(314, 118)).norm(), 1e-9);
  EXPECT_LT((Mapped(m, full->GetCorners()[2]) - Eigen::Vector2d(525, 11)).norm(), 1e-9);
}

TEST_F(VisuTest, SchematicShowsGraphicsHardwareOnly) {
  auto ig = build.IG("ig");
  EXPECT_FALSE(Rep2D(Specs().get()).get());
  EXPECT_FALSE(Rep2D(Devices().get()).get());
  const auto& config = ChildrenOf<KOR2DBagRep>(Rep2D(Config().get()).get());
  ASSERT_EQ(config.size(), 1u) << "the graphic resources only";
  EXPECT_THAT(ChildrenOf<KOR2DBagRep>(config[0]), testing::ElementsAre(Rep2D(ig)));
  // What a selected image generator highlights is the schematic view's test.
}
