#include "vr/KORVRTrackingDatagram.h"

#include <charconv>
#include <cmath>
#include <set>
#include <string>

namespace {

// The refusal of one line; the parser adds the line number.
struct LineError {
  std::string text;
};

bool IsBlank(char iChar) {
  return iChar == ' ' || iChar == '\t';
}

// Reads the fields of one line from left to right.
class LineCursor {
public:
  explicit LineCursor(std::string_view iLine) : _rest(iLine) {}

  bool AtEnd() {
    SkipBlanks();
    return _rest.empty();
  }

  std::string_view Word() {
    SkipBlanks();
    std::size_t length = 0;
    while (length < _rest.size() && !IsBlank(_rest[length]))
      ++length;
    std::string_view word = _rest.substr(0, length);
    _rest.remove_prefix(length);
    return word;
  }

  void Expect(char iBracket, const std::string& iWhere) {
    SkipBlanks();
    if (_rest.empty() || _rest.front() != iBracket)
      throw LineError{iWhere + ": missing '" + iBracket + "'"};
    _rest.remove_prefix(1);
  }

  // A number ends at a blank, a bracket or the end of the line.
  template <class T> T Number(const std::string& iWhere) {
    SkipBlanks();
    const char* begin = _rest.data();
    const char* end = begin + _rest.size();
    T value{};
    auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop == begin || (stop != end && !IsBlank(*stop) && *stop != ']' && *stop != '['))
      throw LineError{iWhere + ": not a number: \"" + std::string(Word()) + "\""};
    if constexpr (std::is_floating_point_v<T>) {
      if (!std::isfinite(value))
        throw LineError{iWhere + ": not a finite number"};
    }
    _rest.remove_prefix(static_cast<std::size_t>(stop - begin));
    return value;
  }

  template <std::size_t N>
  void Bracketed(std::array<double, N>& oValues, const std::string& iWhere) {
    Expect('[', iWhere);
    for (double& value : oValues)
      value = Number<double>(iWhere);
    Expect(']', iWhere);
  }

private:
  void SkipBlanks() {
    while (!_rest.empty() && IsBlank(_rest.front()))
      _rest.remove_prefix(1);
  }
  std::string_view _rest;
};

KORVRTrackedBody ReadBody(LineCursor& ioCursor, const std::string& iWhere) {
  KORVRTrackedBody body;
  ioCursor.Expect('[', iWhere);
  body.id = ioCursor.Number<int>(iWhere);
  if (body.id < 0)
    throw LineError{iWhere + ": negative ID"};
  body.quality = ioCursor.Number<double>(iWhere);
  ioCursor.Expect(']', iWhere);
  std::array<double, 6> pose{};
  ioCursor.Bracketed(pose, iWhere);
  body.position = {pose[0], pose[1], pose[2]};
  body.angles = {pose[3], pose[4], pose[5]};
  ioCursor.Bracketed(body.rotation, iWhere);
  return body;
}

std::vector<KORVRTrackedBody> ReadBodies(LineCursor& ioCursor) {
  const int count = ioCursor.Number<int>("6d");
  if (count < 0)
    throw LineError{"6d: negative body count"};
  std::vector<KORVRTrackedBody> bodies;
  std::set<int> ids;
  while (!ioCursor.AtEnd()) {
    const std::string where = "body " + std::to_string(bodies.size() + 1);
    bodies.push_back(ReadBody(ioCursor, where));
    if (!ids.insert(bodies.back().id).second)
      throw LineError{where + ": ID " + std::to_string(bodies.back().id) + " given twice"};
  }
  if (bodies.size() != static_cast<std::size_t>(count))
    throw LineError{"6d: " + std::to_string(count) + " bodies announced, " +
                    std::to_string(bodies.size()) + " given"};
  return bodies;
}

void CheckOnce(bool& ioSeen, std::string_view iKind) {
  if (ioSeen)
    throw LineError{std::string(iKind) + " given twice"};
  ioSeen = true;
}

void ReadLine(std::string_view iLine, KORVRTrackingFrame& ioFrame, bool& ioHasNumber,
              bool& ioHasBodies) {
  LineCursor cursor(iLine);
  const std::string_view kind = cursor.Word();
  if (kind == "fr") {
    CheckOnce(ioHasNumber, kind);
    ioFrame.number = cursor.Number<std::uint64_t>("fr");
  } else if (kind == "ts") {
    if (ioFrame.timestamp)
      throw LineError{"ts given twice"};
    ioFrame.timestamp = cursor.Number<double>("ts");
  } else if (kind == "6d") {
    CheckOnce(ioHasBodies, kind);
    ioFrame.bodies = ReadBodies(cursor);
  } else {
    return;
  }
  if (!cursor.AtEnd())
    throw LineError{std::string(kind) + ": unexpected text after the last field"};
}

} // namespace

KORMathTransformation KORVRTrackedBody::GetPlacement() const {
  std::array<double, 12> coef{};
  std::copy(rotation.begin(), rotation.end(), coef.begin());
  std::copy(position.begin(), position.end(), coef.begin() + 9);
  KORMathTransformation placement;
  placement.SetCoef(coef);
  return placement;
}

HRESULT KORVRParseTrackingDatagram(std::string_view iDatagram, KORVRTrackingFrame& oFrame,
                                   KORString& oError) {
  oFrame = KORVRTrackingFrame();
  oError.clear();
  if (!iDatagram.empty() && iDatagram.back() == '\0')
    iDatagram.remove_suffix(1);
  bool hasNumber = false;
  bool hasBodies = false;
  int lineNumber = 0;
  try {
    while (!iDatagram.empty()) {
      ++lineNumber;
      const std::size_t newline = iDatagram.find('\n');
      std::string_view line = iDatagram.substr(0, newline);
      iDatagram.remove_prefix(newline == std::string_view::npos ? iDatagram.size() : newline + 1);
      if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
      if (line.find('\0') != std::string_view::npos)
        throw LineError{"NUL character inside the frame"};
      ReadLine(line, oFrame, hasNumber, hasBodies);
    }
    if (!hasNumber) {
      lineNumber = 0;
      throw LineError{"no \"fr\" line"};
    }
  } catch (const LineError& error) {
    oFrame = KORVRTrackingFrame();
    oError = lineNumber > 0 ? "line " + std::to_string(lineNumber) + ": " + error.text : error.text;
    return E_FAIL;
  }
  return S_OK;
}
