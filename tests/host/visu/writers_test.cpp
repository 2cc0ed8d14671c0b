// The scene writers: text for diffs, binary glTF, SVG.
#include "visu/KORModelReader.h"
#include "visu/KORSceneWriters.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
const KORGraphicAttribute kLine{0xFD043410u, 0x000000FFu};
const KORGraphicAttribute kSeeThrough{0x14042490u, 0x0080FFB3u};
const KORGraphicAttribute kRed{0xFD041410u, 0xFF0000FFu};

// A tree with every kind of rep, in millimetres, Z up.
KORRep_var EveryKind() {
  auto root = KORNewRep<KOR3DBagRep>();
  root->SetName("Installation");
  auto custom = KORNewRep<KOR3DCustomRep>();
  custom->SetName("Lines");
  custom->AddLine({0, 0, 0}, {1000, 2000, 3000}, kRed);
  custom->AddPolyline({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}}, kLine);
  custom->AddArrow({0, 0, 0}, {0, 0, 1}, 200, 30, kLine);
  custom->AddText({0, 0, 210}, "Z", kLine);
  custom->AddPolygon({{0, 0, 0}, {500, 0, 0}, {500, 500, 0}}, kSeeThrough);
  custom->AddPoints({{1, 2, 3}}, kLine);
  root->AddChild(custom);
  auto placed = KORNewRep<KOR3DBagRep>();
  placed->SetName("Placed");
  Eigen::Matrix4d matrix = Eigen::Matrix4d::Identity();
  matrix.block<3, 1>(0, 3) = Eigen::Vector3d(0, 0, 1000);
  placed->SetMatrix(matrix);
  placed->AddChild(KORNewRep<KOR3DSimpleSphereRep>(Eigen::Vector3d::Zero(), 30, 10).get());
  placed->AddChild(KORNewRep<KOR3DCuboidRep>(Eigen::Vector3d(4, 4, 4), Eigen::Vector3d(-8, 0, 0),
                                             Eigen::Vector3d(0, -8, 0), Eigen::Vector3d(0, 0, -8))
                       .get());
  auto mesh = std::make_shared<KORMesh>();
  mesh->vertices = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
  mesh->triangles = {{0, 1, 2}};
  placed->AddChild(KORNewRep<KOR3DModelRep>(mesh, "tri.cgr").get());
  root->AddChild(placed);
  auto fill = KORNewRep<KOR2DCustomRep>();
  fill->AddPolygon({{0, 0, 0}, {10, 0, 0}, {10, 20, 0}, {0, 20, 0}}, kSeeThrough);
  auto plane = KORNewRep<KOR2DBagRep>();
  plane->AddChild(fill);
  root->AddChild(KORNewRep<KOR2DTo3DRep>(plane.get(), Eigen::Vector3d(0, 0, 0),
                                         Eigen::Vector3d(0, -2, 0), Eigen::Vector3d(0, 0, 3))
                     .get());
  return root;
}

// A schematic: a bag moved by (100, 50) holding a window and a name.
KORRep_var Schematic() {
  auto bag = KORNewRep<KOR2DBagRep>();
  Eigen::Matrix3d matrix = Eigen::Matrix3d::Identity();
  matrix(0, 2) = 100;
  matrix(1, 2) = 50;
  bag->SetMatrix(matrix);
  auto window =
      KORNewRep<KOR2DPolygonRep>(std::vector<Eigen::Vector2d>{{0, 10}, {20, 10}, {20, 0}, {0, 0}});
  window->SetAttribute({0xFD043400u, 0x000000FFu});
  bag->AddChild(window);
  auto name = KORNewRep<KOR2DCustomRep>();
  name->AddText({0, 30, 0}, "ig <1> & 2", {});
  bag->AddChild(name);
  return bag;
}

std::uint32_t Word(const std::string& iBytes, std::size_t iOffset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(iBytes[iOffset + static_cast<std::size_t>(i)]);
  return value;
}

// Writes iBytes into $KOR_SCENE_OUT for the validators, when set.
void Keep(const std::string& iName, const std::string& iBytes) {
  const char* folder = std::getenv("KOR_SCENE_OUT");
  if (folder && *folder)
    std::ofstream(std::string(folder) + "/" + iName, std::ios::binary) << iBytes;
}
} // namespace

TEST(SceneTextTest, PrintsTheTreeIndentedWithRoundedNumbers) {
  auto root = KORNewRep<KOR3DBagRep>();
  root->SetName("Head");
  root->SetBoundingSphere({-100, 0, 0}, 200);
  auto custom = KORNewRep<KOR3DCustomRep>();
  custom->AddLine({0.0004, -0.0004, 1.23456}, {1, 2, 3}, kLine);
  custom->AddText({1, 2, 3}, "X", kLine);
  root->AddChild(custom);
  std::ostringstream text;
  KORWriteRepText(*root, text);
  EXPECT_EQ(text.str(), "3DBag \"Head\" sphere (-100 0 0) 200\n"
                        "  3DCustom FD040410/000000FF\n"
                        "    line FD043410/000000FF (0 0 1.235) (1 2 3)\n"
                        "    text FD043410/000000FF \"X\" at (1 2 3)\n");
}

TEST(SceneFileTest, GlbHoldsOneNodePerRepInMetresWithYUp) {
  KORRep_var root = EveryKind();
  std::ostringstream stream;
  std::string error;
  ASSERT_EQ(KORWriteGlb(*root, stream, error), S_OK) << error;
  const std::string bytes = stream.str();
  Keep("every-kind.glb", bytes);

  ASSERT_GE(bytes.size(), 20u);
  EXPECT_EQ(Word(bytes, 0), 0x46546C67u) << "glTF magic";
  EXPECT_EQ(Word(bytes, 4), 2u);
  EXPECT_EQ(Word(bytes, 8), bytes.size());
  const std::uint32_t jsonLength = Word(bytes, 12);
  EXPECT_EQ(jsonLength % 4, 0u);
  EXPECT_EQ(Word(bytes, 16), 0x4E4F534Au);
  const auto json = nlohmann::json::parse(bytes.substr(20, jsonLength));
  EXPECT_EQ(Word(bytes, 20 + jsonLength + 4), 0x004E4942u) << "then the binary chunk";

  EXPECT_EQ(json["nodes"][0]["name"], "Installation");
  EXPECT_EQ(json["nodes"][1]["name"], "Lines");
  EXPECT_EQ(json["nodes"][1]["extras"]["labels"][0]["text"], "Z");
  // The line from the origin to (1000, 2000, 3000) mm ends at (1, 3, -2) m.
  const auto& lines = json["meshes"][json["nodes"][1]["mesh"].get<int>()]["primitives"];
  const nlohmann::json* red = nullptr;
  for (const auto& primitive : lines)
    if (primitive["mode"] == 1 && json["materials"][primitive["material"].get<int>()]
                                      ["pbrMetallicRoughness"]["baseColorFactor"] ==
                                      nlohmann::json({1.0, 0.0, 0.0, 1.0}))
      red = &primitive;
  ASSERT_NE(red, nullptr) << "lines of one colour share a primitive of their own";
  const auto& accessor = json["accessors"][(*red)["attributes"]["POSITION"].get<int>()];
  EXPECT_EQ(accessor["max"], nlohmann::json({1.0, 3.0, 0.0}));
  EXPECT_EQ(accessor["min"], nlohmann::json({0.0, 0.0, -2.0}));
  // The placed bag's sphere sits 1000 mm up: 1 m along glTF's y.
  const auto& placed = json["nodes"][2];
  EXPECT_EQ(placed["name"], "Placed");
  const auto& sphereNode = json["nodes"][placed["children"][0].get<int>()];
  const auto& sphere =
      json["accessors"]
          [json["meshes"][sphereNode["mesh"].get<int>()]["primitives"][0]["attributes"]["POSITION"]
               .get<int>()];
  EXPECT_NEAR(sphere["max"][1].get<double>(), 1.03, 1e-6);
  EXPECT_NEAR(sphere["min"][1].get<double>(), 0.97, 1e-6);
  // See-through fills blend, with alpha 179/255.
  bool blended = false;
  for (const auto& material : json["materials"])
    if (material.value("alphaMode", "") == "BLEND")
      blended = std::abs(material["pbrMetallicRoughness"]["baseColorFactor"][3].get<double>() -
                         179.0 / 255.0) < 1e-9;
  EXPECT_TRUE(blended);
}

TEST(SceneFileTest, SvgDrawsTheSchematicWithYUpOnThePage) {
  KORRep_var root = Schematic();
  std::ostringstream stream;
  std::string error;
  ASSERT_EQ(KORWriteSvg(*root, stream, error), S_OK) << error;
  const std::string svg = stream.str();
  Keep("schematic.svg", svg);
  EXPECT_NE(svg.find("<polygon points=\"100,-60 120,-60 120,-50 100,-50\" fill=\"none\" "
                     "stroke=\"#000000\" stroke-opacity=\"1\" stroke-width=\"2.5\"/>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find(">ig &lt;1&gt; &amp; 2</text>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("<text x=\"100\" y=\"-80\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("viewBox=\"90 -90 40 50\""), std::string::npos) << "bounds and a margin of 10";
}

TEST(SceneFileTest, SvgEmbedsEachPictureOnceAndDrawsItWhereverItIsShown) {
  // Embedding the picture at every use made a 512-display schematic 64 MB.
  auto picture = std::make_shared<KORImage>();
  picture->width = 4;
  picture->height = 2;
  picture->fileBytes = "BMP";
  auto other = std::make_shared<KORImage>(*picture);
  other->fileBytes = "bmp";
  auto root = KORNewRep<KOR2DBagRep>();
  for (const auto& [x, image] : {std::pair{100.0, picture}, {400.0, picture}, {700.0, other}}) {
    auto bag = KORNewRep<KOR2DBagRep>();
    Eigen::Matrix3d matrix = Eigen::Matrix3d::Identity();
    matrix(0, 2) = x;
    matrix(1, 2) = 50;
    bag->SetMatrix(matrix);
    auto custom = KORNewRep<KOR2DCustomRep>();
    custom->AddImage(Eigen::Vector3d::Zero(), image, {});
    bag->AddChild(custom);
    root->AddChild(bag);
  }
  std::ostringstream stream;
  std::string error;
  ASSERT_EQ(KORWriteSvg(*root, stream, error), S_OK) << error;
  const std::string svg = stream.str();
  // "BMP" and "bmp" in base64; the picture's top-left corner lies at y = 52
  // up, -52 on the page.
  const std::string expected =
      "  <defs>\n"
      "    <image id=\"image1\" width=\"4\" height=\"2\" "
      "xlink:href=\"data:image/bmp;base64,Qk1Q\"/>\n"
      "    <image id=\"image2\" width=\"4\" height=\"2\" "
      "xlink:href=\"data:image/bmp;base64,Ym1w\"/>\n"
      "  </defs>\n"
      "  <use xlink:href=\"#image1\" transform=\"matrix(1 0 0 1 100 -52)\"/>\n"
      "  <use xlink:href=\"#image1\" transform=\"matrix(1 0 0 1 400 -52)\"/>\n"
      "  <use xlink:href=\"#image2\" transform=\"matrix(1 0 0 1 700 -52)\"/>\n"
      "</svg>\n";
  ASSERT_GE(svg.size(), expected.size());
  EXPECT_EQ(svg.substr(svg.size() - expected.size()), expected) << svg;
  EXPECT_NE(svg.find("viewBox=\"90 -62 624 22\""), std::string::npos) << "the pictures' extent";
}
