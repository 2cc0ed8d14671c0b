#include "visu/KORModelReader.h"

#include <fstream>
#include <sstream>

namespace {
bool ReadFile(const std::string& iPath, std::string& oBytes, std::string& oError) {
  std::ifstream file(iPath, std::ios::binary);
  if (!file) {
    oError = iPath + ": cannot be opened";
    return false;
  }
  std::ostringstream bytes;
  bytes << file.rdbuf();
  oBytes = bytes.str();
  return true;
}

HRESULT Fail(std::string& oError, const std::string& iWhere, const std::string& iWhat) {
  oError = iWhere + ": " + iWhat;
  return E_FAIL;
}
} // namespace

HRESULT KORParseCgr(const std::string& iText, const std::string& iWhere, KORMesh& oMesh,
                    std::string& oError) {
  std::istringstream lines(iText);
  std::string line;
  KORMesh mesh;
  bool header = false, colored = false;
  for (int number = 1; std::getline(lines, line); ++number) {
    const std::string where = iWhere + ":" + std::to_string(number);
    std::istringstream words(line);
    std::string keyword;
    if (!(words >> keyword) || keyword[0] == '#')
      continue;
    if (!header) {
      int version = 0;
      if (keyword != "kormesh" || !(words >> version) || version != 1)
        return Fail(oError, where, "expected the header \"kormesh 1\"");
      header = true;
    } else if (keyword == "v") {
      Eigen::Vector3f vertex;
      if (!(words >> vertex.x() >> vertex.y() >> vertex.z()))
        return Fail(oError, where, "a vertex needs three numbers");
      mesh.vertices.push_back(vertex);
    } else if (keyword == "f") {
      long a = 0, b = 0, c = 0;
      if (!(words >> a >> b >> c))
        return Fail(oError, where, "a triangle needs three vertex numbers");
      const long count = static_cast<long>(mesh.vertices.size());
      for (long index : {a, b, c})
        if (index < 1 || index > count)
          return Fail(oError, where,
                      "vertex " + std::to_string(index) + " is not one of the " +
                          std::to_string(count) + " vertices given so far");
      mesh.triangles.push_back({static_cast<std::uint32_t>(a - 1), static_cast<std::uint32_t>(b - 1),
                                static_cast<std::uint32_t>(c - 1)});
    } else if (keyword == "color") {
      auto& color = mesh.color;
      if (colored || !(words >> color[0] >> color[1] >> color[2] >> color[3]))
        return Fail(oError, where, "\"color\" takes four bytes and comes once at most");
      for (int byte : color)
        if (byte < 0 || byte > 255)
          return Fail(oError, where, "a colour byte lies outside 0..255");
      colored = true;
    } else {
      return Fail(oError, where, "unknown statement \"" + keyword + "\"");
    }
    std::string extra;
    if (words >> extra)
      return Fail(oError, where, "unexpected \"" + extra + "\" at the end of the line");
  }
  if (!header)
    return Fail(oError, iWhere, "empty file, expected the header \"kormesh 1\"");
  if (mesh.triangles.empty())
    return Fail(oError, iWhere, "the model has no triangle");
  oMesh = std::move(mesh);
  return S_OK;
}

HRESULT KORReadCgr(const std::string& iPath, std::shared_ptr<const KORMesh>& oMesh,
                   std::string& oError) {
  std::string text;
  if (!ReadFile(iPath, text, oError))
    return E_FAIL;
  auto mesh = std::make_shared<KORMesh>();
  if (FAILED(KORParseCgr(text, iPath, *mesh, oError)))
    return E_FAIL;
  oMesh = std::move(mesh);
  return S_OK;
}

namespace {
std::uint32_t Little(const std::string& iBytes, std::size_t iOffset, int iSize) {
  std::uint32_t value = 0;
  for (int i = iSize - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(iBytes[iOffset + static_cast<std::size_t>(i)]);
  return value;
}
} // namespace

HRESULT KORParseBmp(const std::string& iBytes, const std::string& iWhere, KORImage& oImage,
                    std::string& oError) {
  constexpr std::size_t kHeaders = 54;
  if (iBytes.size() < kHeaders || iBytes.compare(0, 2, "BM") != 0)
    return Fail(oError, iWhere, "not a BMP file (no \"BM\" header)");
  const std::uint32_t pixelOffset = Little(iBytes, 10, 4);
  const auto width = static_cast<std::int32_t>(Little(iBytes, 18, 4));
  const auto height = static_cast<std::int32_t>(Little(iBytes, 22, 4));
  const std::uint32_t bits = Little(iBytes, 28, 2);
  const std::uint32_t compression = Little(iBytes, 30, 4);
  if ((bits != 24 && bits != 32) || (compression != 0 && !(bits == 32 && compression == 3)))
    return Fail(oError, iWhere + " at byte 28", "only uncompressed 24- and 32-bit BMP are read");
  if (width <= 0 || height == 0 || width > 16384 || height > 16384 || height < -16384)
    return Fail(oError, iWhere + " at byte 18", "unusable picture size");
  const bool bottomUp = height > 0;
  const int rows = bottomUp ? height : -height;
  const std::size_t pixelBytes = bits / 8;
  const std::size_t stride = (static_cast<std::size_t>(width) * pixelBytes + 3) / 4 * 4;
  if (pixelOffset < kHeaders || pixelOffset + stride * static_cast<std::size_t>(rows) > iBytes.size())
    return Fail(oError, iWhere, "the pixel data is cut short");
  KORImage image;
  image.width = width;
  image.height = rows;
  image.rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows) * 4);
  for (int row = 0; row < rows; ++row) {
    const std::size_t fileRow = static_cast<std::size_t>(bottomUp ? rows - 1 - row : row);
    for (int column = 0; column < width; ++column) {
      const std::size_t from =
          pixelOffset + fileRow * stride + static_cast<std::size_t>(column) * pixelBytes;
      std::uint8_t* to =
          &image.rgba[(static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(column)) *
                      4];
      to[0] = static_cast<std::uint8_t>(iBytes[from + 2]);
      to[1] = static_cast<std::uint8_t>(iBytes[from + 1]);
      to[2] = static_cast<std::uint8_t>(iBytes[from]);
      to[3] = bits == 32 ? static_cast<std::uint8_t>(iBytes[from + 3]) : 255;
    }
  }
  image.fileBytes = iBytes;
  oImage = std::move(image);
  return S_OK;
}

HRESULT KORReadImage(const std::string& iPath, std::shared_ptr<const KORImage>& oImage,
                     std::string& oError) {
  std::string bytes;
  if (!ReadFile(iPath, bytes, oError))
    return E_FAIL;
  auto image = std::make_shared<KORImage>();
  if (FAILED(KORParseBmp(bytes, iPath, *image, oError)))
    return E_FAIL;
  oImage = std::move(image);
  return S_OK;
}
