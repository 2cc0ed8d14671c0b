#pragma once
// Representation trees: what a viewer draws for the elements of a document.
//
// A representation (rep) is a plain node: bags gather children under a
// placement, custom representations hold graphic primitives (lines,
// polylines, arrows, texts, polygons, points, images), and the leaf kinds draw
// one shape (sphere, cuboid, polygon, model). Every rep has a bounding sphere
// in its own frame (unset until given) and a graphic attribute.
//
// Reps are reference counted like interfaces: a new rep carries one
// reference for whoever made it, and a bag holds one on each child, so that a
// cached rep can be gathered by several builds of its fathers. Reps are not
// changed once built: a change rebuilds them.
#include "visu/KORGraphicAttribute.h"
#include "objectmodel/KORSmartPtr.h"

#include <Eigen/Dense>

#include <memory>
#include <string>
#include <vector>

class KORRepVisitor;
struct KORMesh;
struct KORImage;

struct KORBoundingSphere {
  Eigen::Vector3d centre = Eigen::Vector3d::Zero();
  double radius = -1.0; // negative: not set
  bool IsSet() const { return radius >= 0.0; }
};

class KORRep {
public:
  KORRep(const KORRep&) = delete;
  KORRep& operator=(const KORRep&) = delete;

  unsigned long AddRef() { return ++_count; }
  unsigned long Release();

  virtual void Accept(KORRepVisitor& iVisitor) const = 0;

  const KORBoundingSphere& GetBoundingSphere() const { return _sphere; }
  void SetBoundingSphere(const Eigen::Vector3d& iCentre, double iRadius) {
    _sphere = {iCentre, iRadius};
  }
  const KORGraphicAttribute& GetAttribute() const { return _attribute; }
  void SetAttribute(const KORGraphicAttribute& iAttribute) { _attribute = iAttribute; }
  // The name a scene file gives the node of this rep (the element's name).
  const std::string& GetName() const { return _name; }
  void SetName(std::string iName) { _name = std::move(iName); }

  // Reps alive in this process (lifetime tests).
  static long LiveCount();

protected:
  KORRep();
  virtual ~KORRep();

private:
  unsigned long _count = 1;
  KORBoundingSphere _sphere;
  KORGraphicAttribute _attribute;
  std::string _name;
};
using KORRep_var = KORSmartPtr<KORRep>;

// Makes a rep of class R; the pointer holds the creation reference.
template <class R, class... Args> KORSmartPtr<R> KORNewRep(Args&&... iArgs) {
  return KORSmartPtr<R>::Adopt(new R(std::forward<Args>(iArgs)...));
}

// Bags: children drawn under the bag's placement.
class KORBagRep : public KORRep {
public:
  void AddChild(KORRep* iChild);
  const std::vector<KORRep_var>& GetChildren() const { return _children; }

private:
  std::vector<KORRep_var> _children;
};

// A bag in space; its matrix maps the children's frame to the bag's father's
// frame (homogeneous, the translation in the last column).
class KOR3DBagRep : public KORBagRep {
public:
  void Accept(KORRepVisitor& iVisitor) const override;
  const Eigen::Matrix4d& GetMatrix() const { return _matrix; }
  void SetMatrix(const Eigen::Matrix4d& iMatrix) { _matrix = iMatrix; }

private:
  Eigen::Matrix4d _matrix = Eigen::Matrix4d::Identity();
};

// A bag in the plane; its matrix is a 2D affine map (homogeneous 3x3).
class KOR2DBagRep : public KORBagRep {
public:
  void Accept(KORRepVisitor& iVisitor) const override;
  const Eigen::Matrix3d& GetMatrix() const { return _matrix; }
  void SetMatrix(const Eigen::Matrix3d& iMatrix) { _matrix = iMatrix; }

private:
  Eigen::Matrix3d _matrix = Eigen::Matrix3d::Identity();
};

// One graphic primitive of a custom representation. Points of 2D primitives
// have z = 0.
struct KORPrimitive {
  enum class Kind { Line, Polyline, Arrow, Text, Polygon, Points, Image };
  Kind kind = Kind::Line;
  KORGraphicAttribute attribute;
  std::vector<Eigen::Vector3d> points; // Arrow: origin; Text, Image: anchor
  Eigen::Vector3d direction = Eigen::Vector3d::Zero(); // Arrow: unit direction
  double length = 0.0;                                 // Arrow: shaft length
  double headLength = 0.0;                             // Arrow: head length
  std::string text;                                    // Text
  int anchor = 0;                                      // Text: anchor value
  double size = 0.0;                                   // Text: size value
  std::shared_ptr<const KORImage> image;               // Image
};

class KORCustomRep : public KORRep {
public:
  const std::vector<KORPrimitive>& GetPrimitives() const { return _primitives; }

  void AddLine(const Eigen::Vector3d& iFrom, const Eigen::Vector3d& iTo,
               const KORGraphicAttribute& iAttribute);
  void AddPolyline(std::vector<Eigen::Vector3d> iPoints, const KORGraphicAttribute& iAttribute);
  void AddArrow(const Eigen::Vector3d& iOrigin, const Eigen::Vector3d& iDirection, double iLength,
                double iHeadLength, const KORGraphicAttribute& iAttribute);
  void AddText(const Eigen::Vector3d& iAnchor, std::string iText,
               const KORGraphicAttribute& iAttribute, int iAnchorValue = 0, double iSize = 0.0);
  void AddPolygon(std::vector<Eigen::Vector3d> iPoints, const KORGraphicAttribute& iAttribute);
  void AddPoints(std::vector<Eigen::Vector3d> iPoints, const KORGraphicAttribute& iAttribute);
  void AddImage(const Eigen::Vector3d& iAnchor, std::shared_ptr<const KORImage> iImage,
                const KORGraphicAttribute& iAttribute);

private:
  std::vector<KORPrimitive> _primitives;
};

class KOR3DCustomRep : public KORCustomRep {
public:
  void Accept(KORRepVisitor& iVisitor) const override;
};
class KOR2DCustomRep : public KORCustomRep {
public:
  void Accept(KORRepVisitor& iVisitor) const override;
};

// Plane content placed in space: the 2D point (u, v) lands at
// origin + u * a1 + v * a2, a1 and a2 the unit vectors along the two axes
// (which need not be perpendicular).
class KOR2DTo3DRep : public KORRep {
public:
  KOR2DTo3DRep(KORRep* iContent, const Eigen::Vector3d& iOrigin, const Eigen::Vector3d& iFirstAxis,
               const Eigen::Vector3d& iSecondAxis);
  void Accept(KORRepVisitor& iVisitor) const override;
  const KORRep* GetContent() const { return _content.get(); }
  const Eigen::Vector3d& GetOrigin() const { return _origin; }
  const Eigen::Vector3d& GetFirstAxis() const { return _first; }
  const Eigen::Vector3d& GetSecondAxis() const { return _second; }

private:
  KORRep_var _content;
  Eigen::Vector3d _origin, _first, _second;
};

class KOR3DSimpleSphereRep : public KORRep {
public:
  KOR3DSimpleSphereRep(const Eigen::Vector3d& iCentre, double iRadius, int iSubdivision)
      : _centre(iCentre), _radius(iRadius), _subdivision(iSubdivision) {}
  void Accept(KORRepVisitor& iVisitor) const override;
  const Eigen::Vector3d& GetCentre() const { return _centre; }
  double GetRadius() const { return _radius; }
  int GetSubdivision() const { return _subdivision; }

private:
  Eigen::Vector3d _centre;
  double _radius;
  int _subdivision;
};

// A parallelepiped from a corner along three edges.
class KOR3DCuboidRep : public KORRep {
public:
  KOR3DCuboidRep(const Eigen::Vector3d& iCorner, const Eigen::Vector3d& iEdge1,
                 const Eigen::Vector3d& iEdge2, const Eigen::Vector3d& iEdge3)
      : _corner(iCorner), _edges{iEdge1, iEdge2, iEdge3} {}
  void Accept(KORRepVisitor& iVisitor) const override;
  const Eigen::Vector3d& GetCorner() const { return _corner; }
  const Eigen::Vector3d& GetEdge(int iIndex) const { return _edges[iIndex]; }

private:
  Eigen::Vector3d _corner;
  Eigen::Vector3d _edges[3];
};

class KOR2DPolygonRep : public KORRep {
public:
  explicit KOR2DPolygonRep(std::vector<Eigen::Vector2d> iCorners) : _corners(std::move(iCorners)) {}
  void Accept(KORRepVisitor& iVisitor) const override;
  const std::vector<Eigen::Vector2d>& GetCorners() const { return _corners; }

private:
  std::vector<Eigen::Vector2d> _corners;
};

// A triangle mesh read from a model file; the mesh is shared, not copied.
class KOR3DModelRep : public KORRep {
public:
  KOR3DModelRep(std::shared_ptr<const KORMesh> iMesh, std::string iFileName)
      : _mesh(std::move(iMesh)), _fileName(std::move(iFileName)) {}
  void Accept(KORRepVisitor& iVisitor) const override;
  const KORMesh& GetMesh() const { return *_mesh; }
  const std::string& GetFileName() const { return _fileName; }

private:
  std::shared_ptr<const KORMesh> _mesh;
  std::string _fileName;
};

// The placements of the plane kinds as maps of space (the plane is z = 0).
Eigen::Matrix4d KORPlacementOf(const KOR2DBagRep& iBag);
Eigen::Matrix4d KORPlacementOf(const KOR2DTo3DRep& iPlaced);

class KORRepVisitor {
public:
  virtual ~KORRepVisitor() = default;
  virtual void Visit(const KOR3DBagRep& iRep) = 0;
  virtual void Visit(const KOR2DBagRep& iRep) = 0;
  virtual void Visit(const KOR3DCustomRep& iRep) = 0;
  virtual void Visit(const KOR2DCustomRep& iRep) = 0;
  virtual void Visit(const KOR2DTo3DRep& iRep) = 0;
  virtual void Visit(const KOR3DSimpleSphereRep& iRep) = 0;
  virtual void Visit(const KOR3DCuboidRep& iRep) = 0;
  virtual void Visit(const KOR2DPolygonRep& iRep) = 0;
  virtual void Visit(const KOR3DModelRep& iRep) = 0;
};

// Walks a tree with the placement from the root down to each rep: bags and
// placed plane content are walked through under their placements; what the
// leaves mean is the derived visitor's (by default nothing).
class KORPlacingVisitor : public KORRepVisitor {
public:
  virtual void Walk(const KORRep& iRep) { iRep.Accept(*this); }

  void Visit(const KOR3DBagRep& iRep) override { Children(iRep, iRep.GetMatrix()); }
  void Visit(const KOR2DBagRep& iRep) override { Children(iRep, KORPlacementOf(iRep)); }
  void Visit(const KOR2DTo3DRep& iRep) override;
  void Visit(const KOR3DCustomRep&) override {}
  void Visit(const KOR2DCustomRep&) override {}
  void Visit(const KOR3DSimpleSphereRep&) override {}
  void Visit(const KOR3DCuboidRep&) override {}
  void Visit(const KOR2DPolygonRep&) override {}
  void Visit(const KOR3DModelRep&) override {}

protected:
  // The map from the rep being visited to the root's frame.
  const Eigen::Matrix4d& Placement() const { return _placement; }
  Eigen::Vector3d Place(const Eigen::Vector3d& iPoint) const {
    return (_placement * iPoint.homogeneous()).head<3>();
  }

private:
  void Children(const KORBagRep& iBag, const Eigen::Matrix4d& iMatrix);
  Eigen::Matrix4d _placement = Eigen::Matrix4d::Identity();
};
