#include "frame/KORJournal.h"

namespace {
bool IsBlank(char iCharacter) {
  return iCharacter == ' ' || iCharacter == '\t' || iCharacter == '\r' || iCharacter == '\n';
}

HRESULT Fail(const KORString& iWhat, std::size_t iPosition, KORString& oError) {
  oError = iWhat + " at column " + std::to_string(iPosition + 1);
  return E_FAIL;
}
} // namespace

HRESULT KORSplitJournalLine(std::string_view iLine, std::vector<KORString>& oWords,
                            KORString& oError) {
  oWords.clear();
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
