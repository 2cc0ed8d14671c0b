#pragma once
// The packed graphic attribute of a rep or a primitive: two 32-bit words.
//
// Word 2 is the colour, one byte each for red, green, blue and alpha from the
// most significant byte down. Word 1 holds the drawing fields this host
// reads (docs/scene-files.md lists them):
//   bits 12-15  line thickness (0: the thinnest line, 15: the thickest)
//   bits  8-11  line type: 0x4 solid, 0xA dotted, 0xF drawn as a point
//   bit   7     filled (polygons are filled, not outlined)
// The other bits are kept as given and ignored.
#include <cstdint>

struct KORGraphicAttribute {
  std::uint32_t word1 = 0xFD040410u;
  std::uint32_t word2 = 0x000000FFu;

  int Red() const { return static_cast<int>(word2 >> 24); }
  int Green() const { return static_cast<int>((word2 >> 16) & 0xFFu); }
  int Blue() const { return static_cast<int>((word2 >> 8) & 0xFFu); }
  int Alpha() const { return static_cast<int>(word2 & 0xFFu); }
  // A colour byte above 255 becomes 0, an alpha above 255 becomes 255.
  void SetColor(int iRed, int iGreen, int iBlue, int iAlpha);

  int Thickness() const { return static_cast<int>((word1 >> 12) & 0xFu); }
  int LineType() const { return static_cast<int>((word1 >> 8) & 0xFu); }
  bool IsFilled() const { return (word1 & 0x80u) != 0; }
  bool IsPoint() const { return LineType() == 0xF; }
  bool IsDotted() const { return LineType() == 0xA; }

  friend bool operator==(const KORGraphicAttribute&, const KORGraphicAttribute&) = default;
};
