#pragma once
// Reading the models and pictures that representations show.
//
// Models are files in our mesh format (docs/scene-files.md): a first line
// "kormesh 1", then one statement a line: "v X Y Z" (a vertex, millimetres),
// "f A B C" (a triangle by 1-based vertex numbers), "color R G B A" (bytes,
// once at most); blank lines and lines starting with '#' are skipped.
// Pictures are uncompressed BMP files of 24 or 32 bits a pixel.
//
// A reader fills its output only on success; on failure oError says what is
// wrong and where (file and line, or file and byte offset).
#include "objectmodel/KORResult.h"

#include <Eigen/Dense>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct KORMesh {
  std::vector<Eigen::Vector3f> vertices;
  std::vector<std::array<std::uint32_t, 3>> triangles; // 0-based
  std::array<int, 4> color{160, 160, 160, 255};
};

struct KORImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba; // rows from the top, 4 bytes a pixel
  std::string fileBytes;          // the file as read, for scene files that embed it
};

[[nodiscard]] HRESULT KORParseCgr(const std::string& iText, const std::string& iWhere,
                                  KORMesh& oMesh, std::string& oError);
[[nodiscard]] HRESULT KORReadCgr(const std::string& iPath, std::shared_ptr<const KORMesh>& oMesh,
                                 std::string& oError);

[[nodiscard]] HRESULT KORParseBmp(const std::string& iBytes, const std::string& iWhere,
                                  KORImage& oImage, std::string& oError);
[[nodiscard]] HRESULT KORReadImage(const std::string& iPath,
                                   std::shared_ptr<const KORImage>& oImage, std::string& oError);
