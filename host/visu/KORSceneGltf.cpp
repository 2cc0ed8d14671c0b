#include "visu/KORModelReader.h"
#include "visu/KORSceneWriters.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <map>

namespace {
using Json = nlohmann::json;

enum Mode { kPoints = 0, kLines = 1, kTriangles = 4 };

// Model millimetres, Z up, to glTF metres, Y up: (x, y, z) -> (x, z, -y) / 1000.
Eigen::Vector3f ToGltf(const Eigen::Vector3d& iPoint) {
  return Eigen::Vector3f(static_cast<float>(iPoint.x() / 1000.0),
                         static_cast<float>(iPoint.z() / 1000.0),
                         static_cast<float>(-iPoint.y() / 1000.0));
}

// Two unit vectors perpendicular to iDirection and to each other.
void Perpendiculars(const Eigen::Vector3d& iDirection, Eigen::Vector3d& oFirst,
                    Eigen::Vector3d& oSecond) {
  const Eigen::Vector3d other =
      std::abs(iDirection.x()) < 0.9 ? Eigen::Vector3d::UnitX() : Eigen::Vector3d::UnitY();
  oFirst = iDirection.cross(other).normalized();
  oSecond = iDirection.cross(oFirst).normalized();
}

class GltfWriter final : public KORPlacingVisitor {
public:
  GltfWriter() {
    _json["asset"] = {{"version", "2.0"}, {"generator", "korvrc scene"}};
    _json["extensionsUsed"] = {"KHR_materials_unlit"};
    _json["scene"] = 0;
    _json["scenes"] = Json::array({Json{{"name", "Installation"}, {"nodes", Json::array()}}});
    _json["nodes"] = Json::array();
  }

  void Walk(const KORRep& iRep) override {
    const int node = static_cast<int>(_json["nodes"].size());
    Json entry = Json::object();
    if (!iRep.GetName().empty())
      entry["name"] = iRep.GetName();
    _json["nodes"].push_back(entry);
    if (_parents.empty())
      _json["scenes"][0]["nodes"].push_back(node);
    else
      Node(_parents.back())["children"].push_back(node);
    _parents.push_back(node);
    iRep.Accept(*this);
    _parents.pop_back();
  }

  void Finish(std::ostream& oStream) {
    if (!_binary.empty()) {
      _json["buffers"] = Json::array({Json{{"byteLength", _binary.size()}}});
    }
    std::string text = _json.dump();
    text.append((4 - text.size() % 4) % 4, ' ');
    _binary.append((4 - _binary.size() % 4) % 4, '\0');
    const std::uint32_t total = static_cast<std::uint32_t>(
        12 + 8 + text.size() + (_binary.empty() ? 0 : 8 + _binary.size()));
    Put(oStream, 0x46546C67u); // "glTF"
    Put(oStream, 2u);
    Put(oStream, total);
    Put(oStream, static_cast<std::uint32_t>(text.size()));
    Put(oStream, 0x4E4F534Au); // "JSON"
    oStream << text;
    if (!_binary.empty()) {
      Put(oStream, static_cast<std::uint32_t>(_binary.size()));
      Put(oStream, 0x004E4942u); // "BIN"
      oStream << _binary;
    }
  }

  using KORPlacingVisitor::Visit;
  void Visit(const KOR3DCustomRep& iRep) override { Custom(iRep); }
  void Visit(const KOR2DCustomRep& iRep) override { Custom(iRep); }
  void Visit(const KOR3DSimpleSphereRep& iRep) override {
    const int rings = std::max(iRep.GetSubdivision(), 2), sectors = 2 * rings;
    auto at = [&](int iRing, int iSector) {
      const double theta = M_PI * iRing / rings, phi = 2.0 * M_PI * iSector / sectors;
      return Eigen::Vector3d(iRep.GetCentre() +
                             iRep.GetRadius() * Eigen::Vector3d(std::sin(theta) * std::cos(phi),
                                                                std::sin(theta) * std::sin(phi),
                                                                std::cos(theta)));
    };
    std::vector<Eigen::Vector3d>& triangles = Batch(kTriangles, iRep.GetAttribute());
    for (int ring = 0; ring < rings; ++ring)
      for (int sector = 0; sector < sectors; ++sector) {
        const Eigen::Vector3d a = at(ring, sector), b = at(ring + 1, sector),
                              c = at(ring + 1, sector + 1), d = at(ring, sector + 1);
        if (ring != 0)
          triangles.insert(triangles.end(), {a, b, d});
        if (ring != rings - 1)
          triangles.insert(triangles.end(), {d, b, c});
      }
    Flush();
  }
  void Visit(const KOR3DCuboidRep& iRep) override {
    const Eigen::Vector3d o = iRep.GetCorner(), e[3] = {iRep.GetEdge(0), iRep.GetEdge(1),
                                                       iRep.GetEdge(2)};
    std::vector<Eigen::Vector3d>& triangles = Batch(kTriangles, iRep.GetAttribute());
    for (int axis = 0; axis < 3; ++axis) {
      const Eigen::Vector3d& u = e[(axis + 1) % 3];
      const Eigen::Vector3d& v = e[(axis + 2) % 3];
      for (const Eigen::Vector3d& base : {o, Eigen::Vector3d(o + e[axis])})
        triangles.insert(triangles.end(), {base, base + u, base + u + v, base, base + u + v, base + v});
    }
    Flush();
  }
  void Visit(const KOR2DPolygonRep& iRep) override {
    std::vector<Eigen::Vector3d> corners;
    for (const Eigen::Vector2d& corner : iRep.GetCorners())
      corners.emplace_back(corner.x(), corner.y(), 0.0);
    Polygon(corners, iRep.GetAttribute());
    Flush();
  }
  void Visit(const KOR3DModelRep& iRep) override {
    const KORMesh& mesh = iRep.GetMesh();
    KORGraphicAttribute colour;
    colour.SetColor(mesh.color[0], mesh.color[1], mesh.color[2], mesh.color[3]);
    std::vector<Eigen::Vector3d>& triangles = Batch(kTriangles, colour);
    for (const auto& triangle : mesh.triangles)
      for (std::uint32_t index : triangle)
        triangles.push_back(mesh.vertices[index].cast<double>());
    Flush();
  }

private:
  Json& Node(int iIndex) { return _json["nodes"][static_cast<std::size_t>(iIndex)]; }


  // Geometry of the current node, gathered by mode and look (in the rep's
  // frame: Flush places it).
  std::vector<Eigen::Vector3d>& Batch(Mode iMode, const KORGraphicAttribute& iAttribute) {
    return _batches[{iMode, iAttribute.word2}];
  }
  void Polygon(const std::vector<Eigen::Vector3d>& iCorners, const KORGraphicAttribute& iLook) {
    if (iCorners.size() < 3)
      return;
    if (iLook.IsFilled()) {
      std::vector<Eigen::Vector3d>& triangles = Batch(kTriangles, iLook);
      for (std::size_t i = 1; i + 1 < iCorners.size(); ++i)
        triangles.insert(triangles.end(), {iCorners[0], iCorners[i], iCorners[i + 1]});
      return;
    }
    std::vector<Eigen::Vector3d>& lines = Batch(kLines, iLook);
    for (std::size_t i = 0; i < iCorners.size(); ++i)
      lines.insert(lines.end(), {iCorners[i], iCorners[(i + 1) % iCorners.size()]});
  }
  void Custom(const KORCustomRep& iRep) {
    Json labels = Json::array();
    for (const KORPrimitive& primitive : iRep.GetPrimitives()) {
      const auto& points = primitive.points;
      switch (primitive.kind) {
      case KORPrimitive::Kind::Line:
      case KORPrimitive::Kind::Polyline: {
        std::vector<Eigen::Vector3d>& lines = Batch(kLines, primitive.attribute);
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
          lines.insert(lines.end(), {points[i], points[i + 1]});
        break;
      }
      case KORPrimitive::Kind::Arrow: {
        const Eigen::Vector3d tip = points[0] + primitive.length * primitive.direction;
        const Eigen::Vector3d back = tip - primitive.headLength * primitive.direction;
        Eigen::Vector3d u, v;
        Perpendiculars(primitive.direction, u, v);
        const double spread = primitive.headLength * 0.3;
        std::vector<Eigen::Vector3d>& lines = Batch(kLines, primitive.attribute);
        lines.insert(lines.end(), {points[0], tip, tip, back + spread * u, tip, back - spread * u,
                                   tip, back + spread * v, tip, back - spread * v});
        break;
      }
      case KORPrimitive::Kind::Polygon:
        Polygon(points, primitive.attribute);
        break;
      case KORPrimitive::Kind::Points:
        Batch(kPoints, primitive.attribute).insert(Batch(kPoints, primitive.attribute).end(),
                                                   points.begin(), points.end());
        break;
      case KORPrimitive::Kind::Text: {
        const Eigen::Vector3f at = ToGltf(Place(points[0]));
        labels.push_back({{"text", primitive.text}, {"position", {at.x(), at.y(), at.z()}}});
        break;
      }
      case KORPrimitive::Kind::Image:
        break; // pictures belong to the 2D schematic
      }
    }
    if (!labels.empty())
      Node(_parents.back())["extras"]["labels"] = labels;
    Flush();
  }

  // Writes the gathered geometry as the current node's mesh.
  void Flush() {
    Json primitives = Json::array();
    for (const auto& [key, points] : _batches) {
      if (points.empty())
        continue;
      const std::size_t offset = _binary.size();
      Eigen::Vector3f low = Eigen::Vector3f::Constant(std::numeric_limits<float>::max());
      Eigen::Vector3f high = -low;
      for (const Eigen::Vector3d& point : points) {
        const Eigen::Vector3f vertex = ToGltf(Place(point));
        low = low.cwiseMin(vertex);
        high = high.cwiseMax(vertex);
        _binary.append(reinterpret_cast<const char*>(vertex.data()), 3 * sizeof(float));
      }
      const int view = Append("bufferViews", {{"buffer", 0},
                                              {"byteOffset", offset},
                                              {"byteLength", _binary.size() - offset}});
      const int accessor = Append("accessors", {{"bufferView", view},
                                                {"componentType", 5126},
                                                {"count", points.size()},
                                                {"type", "VEC3"},
                                                {"min", {low.x(), low.y(), low.z()}},
                                                {"max", {high.x(), high.y(), high.z()}}});
      primitives.push_back({{"attributes", {{"POSITION", accessor}}},
                            {"mode", key.first},
                            {"material", Material(key.second)}});
    }
    _batches.clear();
    if (!primitives.empty())
      Node(_parents.back())["mesh"] = Append("meshes", {{"primitives", primitives}});
  }

  int Material(std::uint32_t iColour) {
    auto found = _materials.find(iColour);
    if (found != _materials.end())
      return found->second;
    auto byte = [&](int iShift) { return ((iColour >> iShift) & 0xFFu) / 255.0; };
    Json material{{"pbrMetallicRoughness",
                   {{"baseColorFactor", {byte(24), byte(16), byte(8), byte(0)}},
                    {"metallicFactor", 0.0}}},
                  {"doubleSided", true},
                  {"extensions", {{"KHR_materials_unlit", Json::object()}}}};
    if ((iColour & 0xFFu) != 0xFFu)
      material["alphaMode"] = "BLEND";
    const int index = Append("materials", material);
    _materials.emplace(iColour, index);
    return index;
  }

  int Append(const char* iArray, Json iValue) {
    Json& array = _json[iArray];
    if (array.is_null())
      array = Json::array();
    array.push_back(std::move(iValue));
    return static_cast<int>(array.size()) - 1;
  }
  static void Put(std::ostream& oStream, std::uint32_t iValue) {
    char bytes[4];
    for (int i = 0; i < 4; ++i)
      bytes[i] = static_cast<char>((iValue >> (8 * i)) & 0xFFu);
    oStream.write(bytes, 4);
  }

  Json _json;
  std::string _binary;
  std::vector<int> _parents;
  std::map<std::pair<int, std::uint32_t>, std::vector<Eigen::Vector3d>> _batches;
  std::map<std::uint32_t, int> _materials;
};
} // namespace

HRESULT KORWriteGlb(const KORRep& iRoot, std::ostream& oStream, std::string& oError) {
  GltfWriter writer;
  writer.Walk(iRoot);
  writer.Finish(oStream);
  if (!oStream) {
    oError = "the scene could not be written";
    return E_FAIL;
  }
  return S_OK;
}
