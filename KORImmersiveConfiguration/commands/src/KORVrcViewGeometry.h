#pragma once
// The forms in which the view dialog shows a screen and a camera, and the
// conversions between them. Pure geometry: no dialog, no model.
//
// Model frame: the viewer looks along +X, +Y is to the viewer's left, +Z up.
// Lengths in millimetres, angles in radians. Spherical coordinates follow
// KORMathSpherical.h (azimuth from +X toward +Y, elevation from the XY plane).
//
// A screen is held in three forms at once, each conversion updating one from
// another:
// - corners: upper-left UL, lower-left LL, lower-right LR;
// - angles seen from the eye E: head h and pitch p of the viewing direction
//   (pitch positive looking down), the distance d from E to the screen's
//   plane, the fields of view Hfov, Vfov and the shifts Hshift (positive to
//   the right) and Vshift (positive upwards) of the screen's centre;
// - size: width W, height H, centre C, with the same h and p.
#include "math/KORMathPoint.h"

struct KORVrcScreenGeometry {
  KORMathPoint upperLeft, lowerLeft, lowerRight;
  double head = 0, pitch = 0, distance = 0;
  double hfov = 0, vfov = 0, hshift = 0, vshift = 0;
  double width = 0, height = 0;
  KORMathPoint centre;

  // Corners to W, H, C, h, p, and d from iEye.
  void CornersToSize(const KORMathPoint& iEye);
  // W, H, C, h, p to corners.
  void SizeToCorners();
  // h, p, d, fields of view and shifts, seen from iEye, to corners.
  void FovToCorners(const KORMathPoint& iEye);
  // Corners to h, p, d, shifts and, when d is not 0, fields of view.
  void CornersToFov(const KORMathPoint& iEye);

  // Both edges non-null and the lower edge horizontal, the screen upright.
  bool TestCorners() const;
  // Fields of view strictly between 0 and 180 degrees, d positive.
  bool TestFov() const;

  // Grows the rectangle so that it also covers the picked screen (iLL, iLR,
  // iUL) when that one is a rectangle parallel to this one with its edges
  // along this one's; false, and nothing changed, otherwise.
  bool EnlargeWith(const KORMathPoint& iLL, const KORMathPoint& iLR, const KORMathPoint& iUL);
};

// A camera: its fields of view and shifts, and its frustum at unit distance
// from the eye (tangents of the edge angles).
struct KORVrcCameraGeometry {
  double hfov = 0, vfov = 0, hshift = 0, vshift = 0;
  double left = 0, right = 0, top = 0, bottom = 0;

  void FovToFrustum();
  void FrustumToFov();
  // Fields of view strictly between 0 and pi, shifts strictly between -pi/2
  // and pi/2.
  bool TestCam() const;
};
