#pragma once
// Everything of the math subsystem: tolerance, points, vectors, directions,
// 3x3 matrices, transformations, axis systems, planes and spherical
// coordinates.
#include "math/KORMath3x3Matrix.h"
#include "math/KORMathAxis.h"
#include "math/KORMathPlane.h"
#include "math/KORMathPoint.h"
#include "math/KORMathSpherical.h"
#include "math/KORMathTolerance.h"
#include "math/KORMathTransformation.h"
#include "math/KORMathVector.h"
