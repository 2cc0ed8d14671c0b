#include "system/KORQuotedText.h"

void KORAppendQuoted(KORUnicodeString& ioLine, std::string_view iText) {
  ioLine += '"';
  for (char c : iText) {
    switch (c) {
    case '\n':
      ioLine += "\\n";
      break;
    case '"':
      ioLine += "\\\"";
      break;
    case '\\':
      ioLine += "\\\\";
      break;
    default:
      ioLine += c;
    }
  }
  ioLine += '"';
}

bool KORReadQuoted(std::string_view iLine, std::size_t& ioPosition, KORUnicodeString& oText,
                   KORUnicodeString& oError) {
  if (ioPosition >= iLine.size() || iLine[ioPosition] != '"') {
    oError = "expected a double quote";
    return false;
  }
  oText.clear();
  for (std::size_t i = ioPosition + 1; i < iLine.size(); ++i) {
    char c = iLine[i];
    if (c == '"') {
      ioPosition = i + 1;
      return true;
    }
    if (c != '\\') {
      oText += c;
      continue;
    }
    if (++i == iLine.size())
      break;
    switch (iLine[i]) {
    case 'n':
      oText += '\n';
      break;
    case '"':
      oText += '"';
      break;
    case '\\':
      oText += '\\';
      break;
    default:
      oError = "unknown escape \\" + KORUnicodeString(1, iLine[i]) + " (only \\n, \\\" and \\\\)";
      return false;
    }
  }
  oError = "missing closing double quote";
  return false;
}
