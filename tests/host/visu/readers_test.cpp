// Reading models and pictures, and the ones the module ships.
#include "visu/KORModelReader.h"
#include "visu/KORRep.h"

#include <gtest/gtest.h>

namespace {
// The shipped files are read where the module keeps them: the host itself has
// no resource folder of the module's.
std::string Resource(const char* iName) {
  return std::string(KOR_SHIPPED_IMAGES) + "/" + iName;
}
} // namespace

TEST(GraphicAttributeTest, ColourBytesPackRedToAlphaAndClampAbove255) {
  struct Case {
    int red, green, blue, alpha;
    std::uint32_t word2;
  };
  const Case cases[] = {
      {100, 0, 0, 255, 0x640000FFu},
      {0, 100, 100, 255, 0x006464FFu},
      {0, 0, 0, 179, 0x000000B3u},
      {300, 1, 2, 300, 0x000102FFu}, // above 255: 0 for a colour, 255 for alpha
  };
  for (const Case& c : cases) {
    KORGraphicAttribute attribute;
    attribute.SetColor(c.red, c.green, c.blue, c.alpha);
    EXPECT_EQ(attribute.word2, c.word2) << c.red << " " << c.alpha;
  }
  const KORGraphicAttribute fill{0x14042490u, 0x000000B3u}, cross{0xFD041A30u, 0xFFu};
  EXPECT_TRUE(fill.IsFilled());
  EXPECT_FALSE(cross.IsFilled());
  EXPECT_TRUE(cross.IsDotted());
  EXPECT_EQ((KORGraphicAttribute{0xFD043410u, 0xFFu}.Thickness()), 3);
}

TEST(MeshReaderTest, ReportsWhatIsWrongAndOnWhichLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"", "m.cgr: empty file"},
      {"kormesh 2\n", "m.cgr:1: expected the header"},
      {"kormesh 1\nv 1 2\n", "m.cgr:2: a vertex needs three numbers"},
      {"kormesh 1\nv 0 0 0\nv 1 0 0\nf 1 2 3\n", "m.cgr:4: vertex 3 is not one of the 2"},
      {"kormesh 1\nv 0 0 0\nf 1 1 0\n", "m.cgr:3: vertex 0"},
      {"kormesh 1\ncolor 1 2 3 256\n", "m.cgr:2: a colour byte"},
      {"kormesh 1\nv 0 0 0 7\n", "m.cgr:2: unexpected \"7\""},
      {"kormesh 1\n# only a comment\nv 0 0 0\n", "m.cgr: the model has no triangle"},
      {"kormesh 1\nquad 1 2 3 4\n", "m.cgr:2: unknown statement \"quad\""},
  };
  for (const Case& c : cases) {
    KORMesh mesh;
    std::string error;
    EXPECT_EQ(KORParseCgr(c.text, "m.cgr", mesh, error), E_FAIL) << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << "got: " << error;
  }
  KORMesh mesh;
  std::string error;
  ASSERT_EQ(KORParseCgr("kormesh 1\n\nv 0 0 0\nv 1 0 0\nv 0 1 0\ncolor 1 2 3 4\nf 1 2 3\n", "m",
                        mesh, error),
            S_OK)
      << error;
  EXPECT_EQ(mesh.triangles.size(), 1u);
  EXPECT_EQ(mesh.triangles[0][2], 2u) << "1-based in the file, 0-based in memory";
  EXPECT_EQ(mesh.color[3], 4);
}

TEST(MeshReaderTest, ShippedModelsFitTheirScale) {
  struct Case {
    const char* name;
    Eigen::Vector3f centre;
    float radius;
  };
  const Case cases[] = {
      {"eyes.cgr", {0, 0, 0}, 57},
      {"head.cgr", {-100, 0, 0}, 200},
      {"joystick.cgr", {0, 0, 0}, 500},
  };
  for (const Case& c : cases) {
    std::shared_ptr<const KORMesh> mesh;
    std::string error;
    ASSERT_EQ(KORReadCgr(Resource(c.name), mesh, error), S_OK) << error;
    float farthest = 0;
    for (const Eigen::Vector3f& vertex : mesh->vertices)
      farthest = std::max(farthest, (vertex - c.centre).norm());
    EXPECT_LE(farthest, c.radius) << c.name;
    EXPECT_GT(farthest, c.radius / 4) << c.name << " is too small to see";
  }
}

TEST(ImageReaderTest, ShippedPictureHasItsScreenAreaWhereTheSchematicDrawsWindows) {
  std::shared_ptr<const KORImage> image;
  std::string error;
  ASSERT_EQ(KORReadImage(Resource("VrcIGImage.bmp"), image, error), S_OK) << error;
  ASSERT_GE(image->width, 14 + 211);
  ASSERT_GE(image->height, 11 + 107);
  // Pixel (x, y) counted from the bottom-left corner.
  auto pixel = [&](int iX, int iY) {
    const std::size_t at =
        (static_cast<std::size_t>(image->height - 1 - iY) * static_cast<std::size_t>(image->width) +
         static_cast<std::size_t>(iX)) *
        4;
    return std::array<int, 3>{image->rgba[at], image->rgba[at + 1], image->rgba[at + 2]};
  };
  const auto screen = pixel(14, 11);
  EXPECT_EQ(pixel(224, 117)[0], screen[0]) << "the screen area's far corner";
  EXPECT_NE(pixel(13, 11), screen) << "left of the screen area";
  EXPECT_NE(pixel(14, 10), screen) << "below the screen area";
  EXPECT_NE(pixel(225, 117), screen) << "right of the screen area";
  EXPECT_NE(pixel(14, 118), screen) << "above the screen area";
}

TEST(ImageReaderTest, RefusesWhatItCannotRead) {
  KORImage image;
  std::string error;
  EXPECT_EQ(KORParseBmp("GIF89a", "p.bmp", image, error), E_FAIL);
  EXPECT_EQ(error, "p.bmp: not a BMP file (no \"BM\" header)");
  std::string header(54, '\0');
  header[0] = 'B';
  header[1] = 'M';
  header[18] = 2; // width 2
  header[22] = 2; // height 2
  header[28] = 8; // 8 bits a pixel
  EXPECT_EQ(KORParseBmp(header, "p.bmp", image, error), E_FAIL);
  EXPECT_NE(error.find("only uncompressed 24- and 32-bit"), std::string::npos) << error;
  header[28] = 24;
  header[10] = 54;
  EXPECT_EQ(KORParseBmp(header, "p.bmp", image, error), E_FAIL) << "no pixel data";
  EXPECT_NE(error.find("cut short"), std::string::npos) << error;
  header += std::string(16, '\x7f'); // two rows of 2 pixels, padded to 8 bytes
  ASSERT_EQ(KORParseBmp(header, "p.bmp", image, error), S_OK) << error;
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.rgba[3], 255) << "24-bit pictures are opaque";
}

TEST(RepLifetimeTest, BagsHoldTheirChildrenUntilTheLastReleaseDestroysAll) {
  const long before = KORRep::LiveCount();
  {
    auto bag = KORNewRep<KOR3DBagRep>();
    auto shared = KORNewRep<KOR3DCustomRep>();
    bag->AddChild(shared);
    auto other = KORNewRep<KOR3DBagRep>();
    other->AddChild(shared);
    other->AddChild(KORNewRep<KOR3DSimpleSphereRep>(Eigen::Vector3d::Zero(), 1.0, 4).get());
    EXPECT_EQ(KORRep::LiveCount(), before + 4);
    bag.reset();
    EXPECT_EQ(KORRep::LiveCount(), before + 3) << "the shared child lives on in the other bag";
  }
  EXPECT_EQ(KORRep::LiveCount(), before);
}
