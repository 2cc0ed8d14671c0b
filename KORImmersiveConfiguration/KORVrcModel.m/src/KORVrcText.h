#pragma once
// The text of a runtime file, built in memory by its writer. The writers
// append many short pieces, for which a std::ostream's per-call checks and
// locale cost several times the copy itself; the finished text goes to its
// stream in one write.
#include "KORVrcTools.h"

#include <iosfwd>
#include <string_view>
#include <type_traits>
#include <utility>

class KORVrcText {
public:
  KORVrcText& operator<<(std::string_view iText) {
    _text += iText;
    return *this;
  }
  KORVrcText& operator<<(const char* iText) { return *this << std::string_view(iText); }
  KORVrcText& operator<<(char iCharacter) {
    _text += iCharacter;
    return *this;
  }
  KORVrcText& operator<<(int iNumber) { return *this << static_cast<long>(iNumber); }
  KORVrcText& operator<<(long iNumber);
  // Reals are written only in the runtime's notation (KORVrcFixed8), never
  // converted silently.
  template <class Real>
  requires std::is_floating_point_v<Real> KORVrcText& operator<<(Real) = delete;
  KORVrcText& operator<<(KORVrcFixed8 iReal);

  // Room for iMore characters after the text so far. A writer that can tell
  // roughly how long its file gets asks for it once, so that the text does
  // not grow by steps that each copy it; asking too much only reserves
  // memory that is never touched.
  void Reserve(std::size_t iMore) { _text.reserve(_text.size() + iMore); }

  const KORUnicodeString& Text() const { return _text; }
  KORUnicodeString Take() && { return std::move(_text); }
  void WriteTo(std::ostream& ioStream) const;

private:
  KORUnicodeString _text;
};
