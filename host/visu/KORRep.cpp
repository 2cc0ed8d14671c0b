#include "visu/KORRep.h"

#include <atomic>

namespace {
std::atomic<long> gLiveReps{0};
}

void KORGraphicAttribute::SetColor(int iRed, int iGreen, int iBlue, int iAlpha) {
  auto byte = [](int iValue, std::uint32_t iAbove) -> std::uint32_t {
    if (iValue > 255)
      return iAbove;
    return static_cast<std::uint32_t>(iValue < 0 ? 0 : iValue);
  };
  word2 = byte(iRed, 0) << 24 | byte(iGreen, 0) << 16 | byte(iBlue, 0) << 8 | byte(iAlpha, 255);
}

KORRep::KORRep() {
  ++gLiveReps;
}
KORRep::~KORRep() {
  --gLiveReps;
}
long KORRep::LiveCount() {
  return gLiveReps.load();
}

unsigned long KORRep::Release() {
  const unsigned long count = --_count;
  if (count == 0)
    delete this;
  return count;
}

void KORBagRep::AddChild(KORRep* iChild) {
  if (iChild)
    _children.emplace_back(iChild);
}

void KORCustomRep::AddLine(const Eigen::Vector3d& iFrom, const Eigen::Vector3d& iTo,
                           const KORGraphicAttribute& iAttribute) {
  KORPrimitive line;
  line.kind = KORPrimitive::Kind::Line;
  line.attribute = iAttribute;
  line.points = {iFrom, iTo};
  _primitives.push_back(std::move(line));
}

void KORCustomRep::AddPolyline(std::vector<Eigen::Vector3d> iPoints,
                               const KORGraphicAttribute& iAttribute) {
  KORPrimitive polyline;
  polyline.kind = KORPrimitive::Kind::Polyline;
  polyline.attribute = iAttribute;
  polyline.points = std::move(iPoints);
  _primitives.push_back(std::move(polyline));
}

void KORCustomRep::AddArrow(const Eigen::Vector3d& iOrigin, const Eigen::Vector3d& iDirection,
                            double iLength, double iHeadLength,
                            const KORGraphicAttribute& iAttribute) {
  KORPrimitive arrow;
  arrow.kind = KORPrimitive::Kind::Arrow;
  arrow.attribute = iAttribute;
  arrow.points = {iOrigin};
  arrow.direction = iDirection;
  arrow.length = iLength;
  arrow.headLength = iHeadLength;
  _primitives.push_back(std::move(arrow));
}

void KORCustomRep::AddText(const Eigen::Vector3d& iAnchor, std::string iText,
                           const KORGraphicAttribute& iAttribute, int iAnchorValue, double iSize) {
  KORPrimitive text;
  text.kind = KORPrimitive::Kind::Text;
  text.attribute = iAttribute;
  text.points = {iAnchor};
  text.text = std::move(iText);
  text.anchor = iAnchorValue;
  text.size = iSize;
  _primitives.push_back(std::move(text));
}

void KORCustomRep::AddPolygon(std::vector<Eigen::Vector3d> iPoints,
                              const KORGraphicAttribute& iAttribute) {
  KORPrimitive polygon;
  polygon.kind = KORPrimitive::Kind::Polygon;
  polygon.attribute = iAttribute;
  polygon.points = std::move(iPoints);
  _primitives.push_back(std::move(polygon));
}

void KORCustomRep::AddPoints(std::vector<Eigen::Vector3d> iPoints,
                             const KORGraphicAttribute& iAttribute) {
  KORPrimitive points;
  points.kind = KORPrimitive::Kind::Points;
  points.attribute = iAttribute;
  points.points = std::move(iPoints);
  _primitives.push_back(std::move(points));
}

void KORCustomRep::AddImage(const Eigen::Vector3d& iAnchor, std::shared_ptr<const KORImage> iImage,
                            const KORGraphicAttribute& iAttribute) {
  KORPrimitive image;
  image.kind = KORPrimitive::Kind::Image;
  image.attribute = iAttribute;
  image.points = {iAnchor};
  image.image = std::move(iImage);
  _primitives.push_back(std::move(image));
}

KOR2DTo3DRep::KOR2DTo3DRep(KORRep* iContent, const Eigen::Vector3d& iOrigin,
                           const Eigen::Vector3d& iFirstAxis, const Eigen::Vector3d& iSecondAxis)
    : _content(iContent), _origin(iOrigin), _first(iFirstAxis.normalized()),
      _second(iSecondAxis.normalized()) {}

Eigen::Matrix4d KORPlacementOf(const KOR2DBagRep& iBag) {
  Eigen::Matrix4d matrix = Eigen::Matrix4d::Identity();
  matrix.block<2, 2>(0, 0) = iBag.GetMatrix().block<2, 2>(0, 0);
  matrix.block<2, 1>(0, 3) = iBag.GetMatrix().block<2, 1>(0, 2);
  return matrix;
}

Eigen::Matrix4d KORPlacementOf(const KOR2DTo3DRep& iPlaced) {
  Eigen::Matrix4d matrix = Eigen::Matrix4d::Identity();
  matrix.block<3, 1>(0, 0) = iPlaced.GetFirstAxis();
  matrix.block<3, 1>(0, 1) = iPlaced.GetSecondAxis();
  matrix.block<3, 1>(0, 2) = iPlaced.GetFirstAxis().cross(iPlaced.GetSecondAxis()).normalized();
  matrix.block<3, 1>(0, 3) = iPlaced.GetOrigin();
  return matrix;
}

void KORPlacingVisitor::Visit(const KOR2DTo3DRep& iRep) {
  const Eigen::Matrix4d outer = _placement;
  _placement = outer * KORPlacementOf(iRep);
  Walk(*iRep.GetContent());
  _placement = outer;
}

void KORPlacingVisitor::Children(const KORBagRep& iBag, const Eigen::Matrix4d& iMatrix) {
  const Eigen::Matrix4d outer = _placement;
  _placement = outer * iMatrix;
  for (const KORRep_var& child : iBag.GetChildren())
    Walk(*child);
  _placement = outer;
}

#define KOR_ACCEPT(Class)                                                                          \
  void Class::Accept(KORRepVisitor& iVisitor) const { iVisitor.Visit(*this); }
KOR_ACCEPT(KOR3DBagRep)
KOR_ACCEPT(KOR2DBagRep)
KOR_ACCEPT(KOR3DCustomRep)
KOR_ACCEPT(KOR2DCustomRep)
KOR_ACCEPT(KOR2DTo3DRep)
KOR_ACCEPT(KOR3DSimpleSphereRep)
KOR_ACCEPT(KOR3DCuboidRep)
KOR_ACCEPT(KOR2DPolygonRep)
KOR_ACCEPT(KOR3DModelRep)
