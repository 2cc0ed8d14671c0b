#pragma once
// The platform's geometric tolerance.
//
// KOREpsilon is the length (in model units) under which two positions are
// considered the same and a vector is considered null; it is also used, as a
// pure number, for cosines, sines and determinants close to zero. It is kept
// small on purpose: callers compare it against |cos(pitch)| to detect gimbal
// lock, and a larger value would flag orientations that are still well defined.
inline constexpr double KOREpsilon = 1e-6;
