#include "system/KORJsonDepth.h"

#include <algorithm>

namespace {
// Line and column (both from 1) of the character at iOffset; counted only
// for a refusal, so that the scan itself does not count lines.
std::string PositionOf(std::string_view iText, std::size_t iOffset) {
  const std::string_view before = iText.substr(0, iOffset);
  const std::size_t line =
      1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
  const std::size_t lastBreak = before.rfind('\n');
  const std::size_t column =
      lastBreak == std::string_view::npos ? iOffset + 1 : iOffset - lastBreak;
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}
} // namespace

bool KORCheckJsonDepth(std::string_view iText, std::string& oError, std::size_t iMaxDepth) {
  std::size_t depth = 0;
  bool inString = false;
  bool escaped = false;
  for (std::size_t i = 0; i < iText.size(); ++i) {
    const char c = iText[i];
    if (inString) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        inString = false;
      continue;
    }
    switch (c) {
    case '"':
      inString = true;
      break;
    case '[':
    case '{':
      if (++depth > iMaxDepth) {
        oError =
            PositionOf(iText, i) + ": nesting deeper than " + std::to_string(iMaxDepth) + " levels";
        return false;
      }
      break;
    case ']':
    case '}':
      // An unbalanced closer is the parser's to report.
      if (depth > 0)
        --depth;
      break;
    default:
      break;
    }
  }
  return true;
}
