#include "frame/KORJournal.h"

namespace {
bool IsBlank(char iCharacter) {
  return iCharacter == ' ' || iCharacter == '\t' || iCharacter == '\r' || iCharacter == '\n';
}

HRESULT Fail(const KORString& iWhat, std::size_t iPosition, KORString& oError) {
  oError = iWhat + " at column " + std::to_string(iPosition + 1);
  return E_FAIL;
}

// Where the first byte is that does not start a well-formed UTF-8 sequence
// (no overlong forms, no surrogates, nothing past U+10FFFF), or npos. Words go
// on into names and texts that are saved and shown as JSON, which holds only
// UTF-8.
std::size_t FirstNonUtf8(std::string_view iText) {
  std::size_t position = 0;
  while (position < iText.size()) {
    const auto lead = static_cast<unsigned char>(iText[position]);
    std::size_t length = 1;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      low = lead == 0xE0 ? 0xA0 : low;
      high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      low = lead == 0xF0 ? 0x90 : low;
      high = lead == 0xF4 ? 0x8F : high;
    } else if (lead >= 0x80) {
      return position;
    }
    if (iText.size() - position < length)
      return position;
    for (std::size_t next = 1; next < length; ++next) {
      const auto byte = static_cast<unsigned char>(iText[position + next]);
      if (byte < (next == 1 ? low : 0x80) || byte > (next == 1 ? high : 0xBF))
        return position;
    }
    position += length;
  }
  return std::string_view::npos;
}
} // namespace

HRESULT KORSplitJournalLine(std::string_view iLine, std::vector<KORString>& oWords,
                            KORString& oError) {
  oWords.clear();
  if (const std::size_t bad = FirstNonUtf8(iLine); bad != std::string_view::npos)
    return Fail("not UTF-8 text", bad, oError);
  std::size_t position = 0;
  while (position < iLine.size()) {
    if (IsBlank(iLine[position])) {
      ++position;
      continue;
    }
    if (iLine[position] == '#')
      break;
    KORString word;
    if (iLine[position] == '"') {
      const std::size_t opening = position++;
      for (;; ++position) {
        if (position >= iLine.size())
          return Fail("unterminated quote", opening, oError);
        const char character = iLine[position];
        if (character == '"')
          break;
        if (character == '\\') {
          const char escaped = position + 1 < iLine.size() ? iLine[position + 1] : '\0';
          if (escaped != '"' && escaped != '\\')
            return Fail("unknown escape (only \\\" and \\\\ are written)", position, oError);
          ++position;
          word += escaped;
          continue;
        }
        word += character;
      }
      ++position; // past the closing quote
      if (position < iLine.size() && !IsBlank(iLine[position]) && iLine[position] != '#')
        return Fail("a quoted argument must end with a blank", position, oError);
    } else {
      for (; position < iLine.size() && !IsBlank(iLine[position]) && iLine[position] != '#';
           ++position) {
        if (iLine[position] == '"')
          return Fail("a quote inside an unquoted argument", position, oError);
        word += iLine[position];
      }
    }
    oWords.push_back(std::move(word));
  }
  return S_OK;
}
