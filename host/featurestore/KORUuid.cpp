#include "featurestore/KORUuid.h"

#include <charconv>
#include <uuid/uuid.h>

KORUuid KORUuid::Generate() {
  uuid_t raw;
  uuid_generate(raw);
  KORUuid result;
  for (std::size_t word = 0; word < 4; ++word)
    for (std::size_t byte = 0; byte < 4; ++byte)
      result.words[word] = (result.words[word] << 8) | raw[word * 4 + byte];
  return result;
}

KORString KORUuid::ToText() const {
  KORString text;
  char buffer[9];
  for (std::size_t word = 0; word < 4; ++word) {
    auto end = std::to_chars(buffer, buffer + sizeof buffer, words[word], 16).ptr;
    if (word)
      text += '_';
    text.append(buffer, end);
  }
  return text;
}

bool KORUuid::FromText(const KORString& iText, KORUuid& oUuid) {
  KORUuid result;
  const char* cursor = iText.data();
  const char* end = iText.data() + iText.size();
  for (std::size_t word = 0; word < 4; ++word) {
    if (word) {
      if (cursor == end || *cursor != '_')
        return false;
      ++cursor;
    }
    const char* wordEnd = cursor;
    while (wordEnd != end && *wordEnd != '_')
      ++wordEnd;
    // Lowercase digits only, at most eight, as ToText writes them.
    if (wordEnd == cursor || wordEnd - cursor > 8)
      return false;
    for (const char* c = cursor; c != wordEnd; ++c)
      if (!((*c >= '0' && *c <= '9') || (*c >= 'a' && *c <= 'f')))
        return false;
    std::from_chars(cursor, wordEnd, result.words[word], 16);
    cursor = wordEnd;
  }
  if (cursor != end)
    return false;
  oUuid = result;
  return true;
}
