#include "system/KORJsonDepth.h"

bool KORCheckJsonDepth(std::string_view iText, std::string& oError, std::size_t iMaxDepth) {
  std::size_t depth = 0;
  std::size_t line = 1;
  std::size_t lineStart = 0;
  bool inString = false;
  bool escaped = false;
  for (std::size_t i = 0; i < iText.size(); ++i) {
    const char c = iText[i];
    if (c == '\n') {
      ++line;
      lineStart = i + 1;
    }
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
        oError = "line " + std::to_string(line) + ", column " + std::to_string(i - lineStart + 1) +
                 ": nesting deeper than " + std::to_string(iMaxDepth) + " levels";
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
