#pragma once
// The ASCII frames that optical tracking controllers send over UDP, one
// datagram per frame. A datagram is a list of lines ("\n" or "\r\n"):
//
//   fr 21753
//   ts 39596.024
//   6d 2 [1 1.000][326.8 -187.2 1109.5 -160.4 -1.5 -28.1][-0.880 0.436 0.196 ...]
//        [4 0.962][...][...]
//
// "fr FRAME" (required, once): the frame counter. "ts TIMESTAMP" (optional,
// once): seconds. "6d COUNT" followed by COUNT bodies (optional, once), each
// "[ID QUALITY][X Y Z RX RY RZ][R0 ... R8]": the body's ID (the tracker
// number of a station), a quality, its position in millimetres, three angles
// in degrees that are carried but not used, and its rotation as a 3x3 matrix
// given column by column (R0 R1 R2 is the first column), which is
// authoritative. Blanks may separate the brackets. Every other line kind
// ("3d", "6df", "gl", ...) is ignored. A trailing NUL ends the text.
//
// A datagram is malformed (and refused whole) when a required line is
// missing or repeated, a 6d line announces another number of bodies than it
// holds, a bracket is missing, a field is not a number, a number is NaN or
// infinite, an ID is not a non-negative integer or appears twice.
#include "math/KORMathTransformation.h"
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

struct KORVRTrackedBody {
  int id = 0;
  // Controllers send a negative quality for a body they do not see.
  double quality = 0.0;
  std::array<double, 3> position{};
  std::array<double, 3> angles{};
  std::array<double, 9> rotation{};

  bool IsTracked() const { return quality >= 0.0; }
  // The body's placement in the controller's frame: rotation and position.
  KORMathTransformation GetPlacement() const;
};

struct KORVRTrackingFrame {
  std::uint64_t number = 0;
  std::optional<double> timestamp;
  std::vector<KORVRTrackedBody> bodies;
};

// S_OK with oFrame filled; E_FAIL for a malformed datagram, with oError
// naming the line and what is wrong ("line 3: body 2: missing '['"), and
// oFrame emptied.
HRESULT KORVRParseTrackingDatagram(std::string_view iDatagram, KORVRTrackingFrame& oFrame,
                                   KORString& oError);
