#pragma once
// Heading, pitch and roll in degrees: the one angle convention of the
// workbench, shared by the module's tools, the journal's verbs and the
// command line. The rotation is H about Z, then P about the new Y, then R
// about the new X (matrix Rz(H) * Ry(P) * Rx(R)).
#include "math/KORMath3x3Matrix.h"

// At a pitch of exactly +-90 degrees the heading is folded into the roll first.
void KORMathHPR(KORMath3x3Matrix& oMatrix, double iH, double iP, double iR);
// The inverse of KORMathHPR: R in (-180, 180], H in [-180, 180], P in
// [-90, 90]; at gimbal lock H is 0.
void KORMathGetHPR(const KORMath3x3Matrix& iMatrix, double& oH, double& oP, double& oR);
