#pragma once
// The image-generator name rule shared by the image-generator dialog and the
// importers of installation descriptions: a display name is an optional host,
// a colon, the display number, a point and the screen number ("visu2:0.1",
// ":0.0", ":12.3"). Refused: no colon (":" first or after the host), a point
// missing or at either end of the numbers, anything but digits around it, and
// a screen part whose value as a fraction is neither 0 nor at least one tenth
// (":0.05"). The fraction is compared with the platform's geometric tolerance,
// not the machine epsilon: 4.1 - 4 is 0.0999999999999996 in doubles.
#include "math/KORMathTolerance.h"

#include <cmath>
#include <cstdlib>
#include <string>

inline bool KORVrcIsDisplayName(const std::string& iName) {
  std::string rest = iName;
  // A colon after the first character ends the host part.
  const std::size_t colon = rest.find(':');
  if (colon != std::string::npos && colon > 0)
    rest.erase(0, colon);
  if (rest.empty() || rest[0] != ':')
    return false;
  rest.erase(0, 1);
  const std::size_t point = rest.find('.');
  if (point == std::string::npos || point == 0 || point + 1 >= rest.size())
    return false;
  std::string digits = rest;
  digits.erase(point, 1);
  if (digits.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const double number = std::strtod(rest.c_str(), nullptr);
  const double fraction = number - std::floor(number);
  return number >= 0 && (fraction == 0 || fraction >= 0.1 - KOREpsilon);
}
