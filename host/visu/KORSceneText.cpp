#include "visu/KORModelReader.h"
#include "visu/KORSceneWriters.h"

#include <cmath>
#include <cstdio>

namespace {
std::string Number(double iValue) {
  double rounded = std::round(iValue * 1000.0) / 1000.0;
  if (rounded == 0.0)
    rounded = 0.0; // no "-0"
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", rounded);
  std::string result = text;
  result.erase(result.find_last_not_of('0') + 1);
  if (result.back() == '.')
    result.pop_back();
  return result;
}

std::string Point(const Eigen::Vector3d& iPoint) {
  return "(" + Number(iPoint.x()) + " " + Number(iPoint.y()) + " " + Number(iPoint.z()) + ")";
}

std::string Attribute(const KORGraphicAttribute& iAttribute) {
  char text[32];
  std::snprintf(text, sizeof text, "%08X/%08X", iAttribute.word1, iAttribute.word2);
  return text;
}

class TextWriter final : public KORRepVisitor {
public:
  explicit TextWriter(std::ostream& oStream) : _out(oStream) {}

  void Write(const KORRep& iRep) {
    iRep.Accept(*this);
  }

  void Visit(const KOR3DBagRep& iRep) override {
    Head("3DBag", iRep);
    if (!iRep.GetMatrix().isIdentity()) {
      _out << " matrix";
      for (int row = 0; row < 3; ++row)
        _out << " [" << Number(iRep.GetMatrix()(row, 0)) << " " << Number(iRep.GetMatrix()(row, 1))
             << " " << Number(iRep.GetMatrix()(row, 2)) << " " << Number(iRep.GetMatrix()(row, 3))
             << "]";
    }
    Children(iRep);
  }
  void Visit(const KOR2DBagRep& iRep) override {
    Head("2DBag", iRep);
    if (!iRep.GetMatrix().isIdentity()) {
      _out << " matrix";
      for (int row = 0; row < 2; ++row)
        _out << " [" << Number(iRep.GetMatrix()(row, 0)) << " " << Number(iRep.GetMatrix()(row, 1))
             << " " << Number(iRep.GetMatrix()(row, 2)) << "]";
    }
    Children(iRep);
  }
  void Visit(const KOR3DCustomRep& iRep) override { Custom("3DCustom", iRep); }
  void Visit(const KOR2DCustomRep& iRep) override { Custom("2DCustom", iRep); }
  void Visit(const KOR2DTo3DRep& iRep) override {
    Head("2DTo3D", iRep);
    _out << " origin " << Point(iRep.GetOrigin()) << " axes " << Point(iRep.GetFirstAxis()) << " "
         << Point(iRep.GetSecondAxis()) << "\n";
    Nested(*iRep.GetContent());
  }
  void Visit(const KOR3DSimpleSphereRep& iRep) override {
    Head("Sphere", iRep);
    _out << " centre " << Point(iRep.GetCentre()) << " radius " << Number(iRep.GetRadius())
         << " colour " << Attribute(iRep.GetAttribute()) << "\n";
  }
  void Visit(const KOR3DCuboidRep& iRep) override {
    Head("Cuboid", iRep);
    _out << " corner " << Point(iRep.GetCorner()) << " edges " << Point(iRep.GetEdge(0)) << " "
         << Point(iRep.GetEdge(1)) << " " << Point(iRep.GetEdge(2)) << "\n";
  }
  void Visit(const KOR2DPolygonRep& iRep) override {
    Head("2DPolygon", iRep);
    _out << " " << Attribute(iRep.GetAttribute());
    for (const Eigen::Vector2d& corner : iRep.GetCorners())
      _out << " (" << Number(corner.x()) << " " << Number(corner.y()) << ")";
    _out << "\n";
  }
  void Visit(const KOR3DModelRep& iRep) override {
    Head("Model", iRep);
    _out << " " << iRep.GetFileName() << " " << iRep.GetMesh().triangles.size() << " triangles\n";
  }

private:
  void Indent() { _out << std::string(static_cast<std::size_t>(_depth) * 2, ' '); }
  void Head(const char* iKind, const KORRep& iRep) {
    Indent();
    _out << iKind;
    if (!iRep.GetName().empty())
      _out << " \"" << iRep.GetName() << "\"";
    const KORBoundingSphere& sphere = iRep.GetBoundingSphere();
    if (sphere.IsSet())
      _out << " sphere " << Point(sphere.centre) << " " << Number(sphere.radius);
  }
  void Nested(const KORRep& iRep) {
    ++_depth;
    iRep.Accept(*this);
    --_depth;
  }
  void Children(const KORBagRep& iBag) {
    _out << "\n";
    for (const KORRep_var& child : iBag.GetChildren())
      Nested(*child);
  }
  void Custom(const char* iKind, const KORCustomRep& iRep) {
    Head(iKind, iRep);
    _out << " " << Attribute(iRep.GetAttribute()) << "\n";
    ++_depth;
    for (const KORPrimitive& primitive : iRep.GetPrimitives())
      Primitive(primitive);
    --_depth;
  }
  void Primitive(const KORPrimitive& iPrimitive) {
    static const char* const kNames[] = {"line",    "polyline", "arrow", "text",
                                         "polygon", "points",   "image"};
    Indent();
    _out << kNames[static_cast<int>(iPrimitive.kind)] << " " << Attribute(iPrimitive.attribute);
    switch (iPrimitive.kind) {
    case KORPrimitive::Kind::Arrow:
      _out << " from " << Point(iPrimitive.points[0]) << " along " << Point(iPrimitive.direction)
           << " length " << Number(iPrimitive.length) << " head " << Number(iPrimitive.headLength);
      break;
    case KORPrimitive::Kind::Text:
      _out << " \"" << iPrimitive.text << "\" at " << Point(iPrimitive.points[0]);
      if (iPrimitive.anchor != 0)
        _out << " anchor " << iPrimitive.anchor << " size " << Number(iPrimitive.size);
      break;
    case KORPrimitive::Kind::Image:
      _out << " " << (iPrimitive.image ? iPrimitive.image->width : 0) << "x"
           << (iPrimitive.image ? iPrimitive.image->height : 0) << " at "
           << Point(iPrimitive.points[0]);
      break;
    default:
      for (const Eigen::Vector3d& point : iPrimitive.points)
        _out << " " << Point(point);
    }
    _out << "\n";
  }

  std::ostream& _out;
  int _depth = 0;
};
} // namespace

void KORWriteRepText(const KORRep& iRoot, std::ostream& oStream) {
  TextWriter writer(oStream);
  writer.Write(iRoot);
}
