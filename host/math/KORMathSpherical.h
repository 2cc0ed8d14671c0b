#pragma once
// Conversions between vectors and spherical coordinates, all angles in radians.
//
// Azimuth is measured in the XY plane from +X toward +Y, in [-pi, pi].
// Elevation is measured from the XY plane, positive toward +Z, in
// [-pi/2, pi/2]. Radius is the vector's norm. Where an angle is undefined
// (azimuth on the Z axis, both angles for the null vector) it is 0.
#include "math/KORMathVector.h"

void KORMathVectorToSpherical(const KORMathVector& iVector, double& oAzimuth, double& oElevation,
                              double& oRadius);
KORMathVector KORMathSphericalToVector(double iAzimuth, double iElevation, double iRadius);
