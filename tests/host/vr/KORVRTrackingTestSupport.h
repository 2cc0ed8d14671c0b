#pragma once
// Tracking frames written the way a controller writes them, placements to
// send through them and a manager to make events of them.
#include "math/KORMathTransformation.h"
#include "vr/KORVRDeviceManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct KORVRTestBody {
  int id;
  KORMathTransformation placement;
  double quality = 1.0;
};

// "[ID QUALITY][X Y Z RX RY RZ][R0 ... R8]" with the rotation column by
// column; the angles are filler (a receiver must not use them) and every
// number is written with enough digits to read back exactly.
inline std::string KORVRTestBodyText(const KORVRTestBody& iBody) {
  const KORMath3x3Matrix& m = iBody.placement.GetMatrix();
  const KORMathVector& t = iBody.placement.GetVector();
  char text[512];
  std::snprintf(text, sizeof text,
                "[%d %.3f][%.17g %.17g %.17g 11.5 -22.5 33.5]"
                "[%.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g]",
                iBody.id, iBody.quality, t.GetX(), t.GetY(), t.GetZ(), m.GetCoef(1, 1),
                m.GetCoef(2, 1), m.GetCoef(3, 1), m.GetCoef(1, 2), m.GetCoef(2, 2), m.GetCoef(3, 2),
                m.GetCoef(1, 3), m.GetCoef(2, 3), m.GetCoef(3, 3));
  return text;
}

inline std::string KORVRTestDatagram(std::uint64_t iFrame, const std::vector<KORVRTestBody>& iBodies) {
  std::string datagram = "fr " + std::to_string(iFrame) + "\nts 100.25\n6d " +
                         std::to_string(iBodies.size());
  for (const KORVRTestBody& body : iBodies)
    datagram += " " + KORVRTestBodyText(body);
  return datagram + "\n";
}

// A placement turned by iDegrees about the axis (iAx, iAy, iAz), at (iX, iY, iZ).
inline KORMathTransformation KORVRTestPlacement(double iAx, double iAy, double iAz, double iDegrees,
                                                double iX, double iY, double iZ) {
  const KORMathDirection axis(KORMathVector(iAx, iAy, iAz));
  return KORMathTransformation(KORMath3x3Matrix::Rotation(axis, iDegrees * 3.14159265358979323846 / 180.0),
                               KORMathVector(iX, iY, iZ));
}

// A manager of device "ART1" mapping body 1 to the head's viewport events and
// body 2 to the hand.
inline KORVRDeviceManager KORVRTestHeadAndHand() {
  KORVRDeviceManager manager("ART1");
  EXPECT_EQ(manager.SetHeadBody(1, KORVRViewportEventName), S_OK);
  EXPECT_EQ(manager.SetHandBody(2), S_OK);
  return manager;
}
