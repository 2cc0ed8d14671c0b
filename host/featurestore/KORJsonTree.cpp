#include "featurestore/KORJsonTree.h"

#include "system/KORJsonDepth.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <nlohmann/json.hpp>
#include <utility>

namespace {
KORJsonNode Scalar(KORJsonKind iKind) {
  KORJsonNode node;
  node.kind = iKind;
  return node;
}

// The quick reader: a recursive descent over the plain form, giving up (false)
// at the first thing it does not take, error or not.
class PlainReader {
public:
  PlainReader(std::string_view iText, KORJsonTree& ioTree)
      : _at(iText.data()), _end(iText.data() + iText.size()), _tree(ioTree) {}

  bool Read() {
    SkipSpace();
    if (!Value())
      return false;
    SkipSpace();
    return _at == _end;
  }

private:
  // Most calls stand on a value or a delimiter already; a line end is
  // followed by its indentation, a run of spaces skipped in blocks.
  void SkipSpace() {
    while (_at != _end && IsSpace(*_at)) {
      ++_at;
      _at = RunEnd<SpaceRun>(_at);
    }
  }

  static bool IsSpace(char iChar) {
    return iChar == ' ' || iChar == '\n' || iChar == '\r' || iChar == '\t';
  }

  static constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  static constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  static std::uint64_t Word(const char* iAt) {
    std::uint64_t word;
    std::memcpy(&word, iAt, sizeof word);
    return word;
  }
  // Where, in memory order, the first byte of a word whose bits are set in
  // iMask lies (iMask not zero).
  static std::size_t FirstByte(std::uint64_t iMask) {
    if constexpr (std::endian::native == std::endian::little)
      return static_cast<std::size_t>(std::countr_zero(iMask)) / 8;
    else
      return static_cast<std::size_t>(std::countl_zero(iMask)) / 8;
  }

  // A run of bytes, told three ways: sixteen bytes at a time (one bit of
  // the mask a byte, set where the run ends), eight at a time (bits set in
  // each byte that ends it; past the first, bits may be set wrongly), and
  // one byte.
  struct SpaceRun {
#if defined(__SSE2__)
    static unsigned Ends(__m128i iBlock) {
      return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(iBlock, _mm_set1_epi8(' ')))) &
             0xFFFFu;
    }
#endif
    static std::uint64_t Ends(std::uint64_t iWord) {
      return iWord ^ (0x20 * kOnes);
    }
    static bool Ends(char iChar) { return iChar != ' '; }
  };
  // What a string's plain run stops at: a quote, a backslash, a control
  // character or a byte that is not ASCII.
  struct PlainRun {
#if defined(__SSE2__)
    static unsigned Ends(__m128i iBlock) {
      // Signed bytes: below 0x20 are the control characters and, negative,
      // the bytes that are not ASCII.
      const __m128i ends =
          _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(iBlock, _mm_set1_epi8('"')),
                                    _mm_cmpeq_epi8(iBlock, _mm_set1_epi8('\\'))),
                       _mm_cmplt_epi8(iBlock, _mm_set1_epi8(0x20)));
      return static_cast<unsigned>(_mm_movemask_epi8(ends));
    }
#endif
    static std::uint64_t Ends(std::uint64_t iWord) {
      const auto hasZero = [](std::uint64_t iBytes) {
        return (iBytes - kOnes) & ~iBytes & kHighBits;
      };
      const std::uint64_t control = (iWord - 0x20 * kOnes) & ~iWord & kHighBits;
      return hasZero(iWord ^ ('"' * kOnes)) | hasZero(iWord ^ ('\\' * kOnes)) | control |
             (iWord & kHighBits);
    }
    static bool Ends(char iChar) {
      const auto c = static_cast<unsigned char>(iChar);
      return c < 0x20 || c >= 0x80 || c == '"' || c == '\\';
    }
  };

  // The first byte from iAt on that ends a Run, or the end of the text.
  template <class Run> const char* RunEnd(const char* iAt) const {
#if defined(__SSE2__)
    while (_end - iAt >= 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(iAt));
      if (const unsigned ends = Run::Ends(block))
        return iAt + std::countr_zero(ends);
      iAt += 16;
    }
#endif
    while (_end - iAt >= 8) {
      if (const std::uint64_t ends = Run::Ends(Word(iAt)))
        return iAt + FirstByte(ends);
      iAt += 8;
    }
    while (iAt != _end && !Run::Ends(*iAt))
      ++iAt;
    return iAt;
  }

  bool Value() {
    if (_at == _end)
      return false;
    switch (*_at) {
    case '{':
      return Container(KORJsonKind::Object, '}');
    case '[':
      return Container(KORJsonKind::Array, ']');
    case '"': {
      KORJsonNode node = Scalar(KORJsonKind::String);
      if (!String(node.text))
        return false;
      _tree.Add(node);
      return true;
    }
    case 't':
      return Literal("true", KORJsonKind::Boolean, true);
    case 'f':
      return Literal("false", KORJsonKind::Boolean, false);
    case 'n':
      return Literal("null", KORJsonKind::Null, false);
    default:
      return Number();
    }
  }

  bool Container(KORJsonKind iKind, char iCloser) {
    if (++_depth > KORJsonMaxDepth)
      return false;
    ++_at;
    _tree.Open(iKind);
    SkipSpace();
    if (_at != _end && *_at == iCloser) {
      ++_at;
    } else {
      for (;;) {
        if (iKind == KORJsonKind::Object) {
          std::string_view key;
          if (_at == _end || *_at != '"' || !String(key))
            return false;
          SkipSpace();
          if (_at == _end || *_at != ':')
            return false;
          ++_at;
          SkipSpace();
          _tree.SetKey(key);
        }
        if (!Value())
          return false;
        SkipSpace();
        if (_at == _end)
          return false;
        const char next = *_at++;
        if (next == iCloser)
          break;
        if (next != ',')
          return false;
        SkipSpace();
      }
    }
    _tree.Close();
    --_depth;
    return true;
  }

  // Printable ASCII without escapes; anything else is the full parser's.
  bool String(std::string_view& oText) {
    const char* start = ++_at;
    _at = RunEnd<PlainRun>(start);
    if (_at == _end || *_at != '"')
      return false;
    oText = std::string_view(start, static_cast<std::size_t>(_at - start));
    ++_at;
    return true;
  }

  bool Literal(std::string_view iWord, KORJsonKind iKind, bool iBoolean) {
    if (static_cast<std::size_t>(_end - _at) < iWord.size() ||
        std::string_view(_at, iWord.size()) != iWord)
      return false;
    _at += iWord.size();
    KORJsonNode node = Scalar(iKind);
    node.boolean = iBoolean;
    _tree.Add(node);
    return true;
  }

  static bool IsDigit(char iChar) { return iChar >= '0' && iChar <= '9'; }
  const char* Digits(const char* iFrom) const {
    while (iFrom != _end && IsDigit(*iFrom))
      ++iFrom;
    return iFrom;
  }

  // A real written as digits, a point and digits (no exponent), whose
  // digits all together fit a double exactly: the quotient of two exact
  // doubles, divided once, is the correctly rounded value, as from_chars
  // would give it. Most reals of a document are of this kind.
  static bool ExactDecimal(const char* iDigits, const char* iPoint, const char* iEnd,
                           bool iNegative, double& oValue) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr std::ptrdiff_t kExactDigits = 15; // below 2^53
    if (iPoint == iEnd || *iPoint != '.' || iEnd - iDigits - 1 > kExactDigits)
      return false;
    std::uint64_t digits = 0;
    for (const char* c = iDigits; c != iPoint; ++c)
      digits = digits * 10 + static_cast<std::uint64_t>(*c - '0');
    for (const char* c = iPoint + 1; c != iEnd; ++c)
      digits = digits * 10 + static_cast<std::uint64_t>(*c - '0');
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[iEnd - iPoint - 1];
    oValue = iNegative ? -magnitude : magnitude;
    return true;
  }

  // JSON's number grammar; integers become Signed (negative) or Unsigned as
  // the full parser makes them, reals are read with correct rounding.
  bool Number() {
    const char* start = _at;
    const bool negative = *_at == '-';
    const char* digits = negative ? _at + 1 : _at;
    const char* integerEnd = Digits(digits);
    if (integerEnd == digits || (*digits == '0' && integerEnd - digits > 1))
      return false;
    const char* end = integerEnd;
    bool real = false;
    if (end != _end && *end == '.') {
      const char* fraction = end + 1;
      end = Digits(fraction);
      if (end == fraction)
        return false;
      real = true;
    }
    const char* const fractionEnd = end;
    if (end != _end && (*end == 'e' || *end == 'E')) {
      const char* exponent = end + 1;
      if (exponent != _end && (*exponent == '+' || *exponent == '-'))
        ++exponent;
      end = Digits(exponent);
      if (end == exponent)
        return false;
      real = true;
    }
    _at = end;
    if (real) {
      KORJsonNode node = Scalar(KORJsonKind::Real);
      if (fractionEnd != end || !ExactDecimal(digits, integerEnd, end, negative, node.real)) {
        const auto [stop, error] = std::from_chars(start, end, node.real);
        if (error != std::errc() || stop != end || !std::isfinite(node.real))
          return false;
      }
      _tree.Add(node);
      return true;
    }
    // Eighteen digits always fit; longer ones are left to the full parser.
    if (integerEnd - digits > 18)
      return false;
    std::uint64_t magnitude = 0;
    for (const char* c = digits; c != integerEnd; ++c)
      magnitude = magnitude * 10 + static_cast<std::uint64_t>(*c - '0');
    KORJsonNode node = Scalar(negative ? KORJsonKind::Signed : KORJsonKind::Unsigned);
    if (negative)
      node.signedNumber = -static_cast<std::int64_t>(magnitude);
    else
      node.unsignedNumber = magnitude;
    _tree.Add(node);
    return true;
  }

  const char* _at;
  const char* _end;
  KORJsonTree& _tree;
  std::size_t _depth = 0;
};

// nlohmann's message without its "[json.exception...] " tag.
std::string JsonErrorText(const nlohmann::json::exception& iError) {
  std::string text = iError.what();
  auto tagEnd = text.find("] ");
  return tagEnd == std::string::npos ? text : text.substr(tagEnd + 2);
}

// The general library's parser feeding the tree; every error, a number too
// large for a double included (whose exception carries no position), is kept
// with the byte where it was found instead of being thrown.
class CheckedBuilder {
public:
  explicit CheckedBuilder(KORJsonTree& ioTree) : _tree(ioTree) {}

  bool null() { return Add(Scalar(KORJsonKind::Null)); }
  bool boolean(bool iValue) {
    KORJsonNode node = Scalar(KORJsonKind::Boolean);
    node.boolean = iValue;
    return Add(node);
  }
  bool number_integer(std::int64_t iValue) {
    KORJsonNode node = Scalar(KORJsonKind::Signed);
    node.signedNumber = iValue;
    return Add(node);
  }
  bool number_unsigned(std::uint64_t iValue) {
    KORJsonNode node = Scalar(KORJsonKind::Unsigned);
    node.unsignedNumber = iValue;
    return Add(node);
  }
  bool number_float(double iValue, const std::string&) {
    KORJsonNode node = Scalar(KORJsonKind::Real);
    node.real = iValue;
    return Add(node);
  }
  bool string(std::string& iValue) {
    KORJsonNode node = Scalar(KORJsonKind::String);
    node.text = _tree.Keep(std::move(iValue));
    return Add(node);
  }
  bool binary(std::vector<std::uint8_t>&) { return Add(Scalar(KORJsonKind::Null)); }
  bool start_object(std::size_t) {
    _tree.Open(KORJsonKind::Object);
    return true;
  }
  bool start_array(std::size_t) {
    _tree.Open(KORJsonKind::Array);
    return true;
  }
  bool end_object() {
    _tree.Close();
    return true;
  }
  bool end_array() { return end_object(); }
  bool key(std::string& iKey) {
    _tree.SetKey(_tree.Keep(std::move(iKey)));
    return true;
  }
  bool parse_error(std::size_t iByte, const std::string&,
                   const nlohmann::detail::exception& iError) {
    _error = "invalid JSON at byte " + std::to_string(iByte) + ": " + JsonErrorText(iError);
    return false;
  }
  const std::string& Error() const { return _error; }

private:
  bool Add(const KORJsonNode& iNode) {
    _tree.Add(iNode);
    return true;
  }

  KORJsonTree& _tree;
  std::string _error;
};
} // namespace

double KORJsonNode::Number() const {
  switch (kind) {
  case KORJsonKind::Signed:
    return static_cast<double>(signedNumber);
  case KORJsonKind::Unsigned:
    return static_cast<double>(unsignedNumber);
  default:
    return real;
  }
}

const char* KORJsonNode::TypeName() const {
  switch (kind) {
  case KORJsonKind::Null:
    return "null";
  case KORJsonKind::Boolean:
    return "boolean";
  case KORJsonKind::String:
    return "string";
  case KORJsonKind::Array:
    return "array";
  case KORJsonKind::Object:
    return "object";
  default:
    return "number";
  }
}

const KORJsonNode* KORJsonNode::Find(std::string_view iName) const {
  for (const KORJsonNode& member : *this)
    if (member.key == iName)
      return &member;
  return nullptr;
}

bool KORSameJson(const KORJsonNode& iA, const KORJsonNode& iB) {
  if (iA.kind != iB.kind || iA.key != iB.key || iA.count != iB.count)
    return false;
  switch (iA.kind) {
  case KORJsonKind::Boolean:
    return iA.boolean == iB.boolean;
  case KORJsonKind::Signed:
    return iA.signedNumber == iB.signedNumber;
  case KORJsonKind::Unsigned:
    return iA.unsignedNumber == iB.unsignedNumber;
  case KORJsonKind::Real:
    // Bit for bit: the same text must give the same double.
    return std::signbit(iA.real) == std::signbit(iB.real) && iA.real == iB.real;
  case KORJsonKind::String:
    return iA.text == iB.text;
  default:
    for (std::size_t i = 0; i < iA.count; ++i)
      if (!KORSameJson(iA[i], iB[i]))
        return false;
    return true;
  }
}

void KORJsonTree::Clear() {
  _nodes.clear();
  _pending.clear();
  _opened.clear();
  _kept.clear();
  _key = {};
}

void KORJsonTree::Close() {
  const OpenContainer open = _opened.back();
  _opened.pop_back();
  const std::size_t first = open.firstChild;
  KORJsonNode& container = _pending[first - 1];
  if (container.kind == KORJsonKind::Object && open.repeated)
    MergeRepeatedMembers(first);
  container.firstChild = _nodes.size();
  container.count = _pending.size() - first;
  _nodes.insert(_nodes.end(), _pending.begin() + static_cast<std::ptrdiff_t>(first),
                _pending.end());
  _pending.resize(first);
}

bool KORJsonTree::IsKeyOfOpenObject(std::string_view iKey) const {
  const auto members = _pending.begin() + static_cast<std::ptrdiff_t>(_opened.back().firstChild);
  return std::any_of(members, _pending.end(),
                     [&](const KORJsonNode& iMember) { return iMember.key == iKey; });
}

// As the general library's ordered objects do: a repeated member takes the
// place of its first occurrence, with the last value.
void KORJsonTree::MergeRepeatedMembers(std::size_t iFirst) {
  std::size_t kept = iFirst;
  for (std::size_t i = iFirst; i < _pending.size(); ++i) {
    const std::string_view key = _pending[i].key;
    // Keys of one object mostly differ in length or first letter: those
    // are told apart without comparing the texts.
    const auto differs = [&](const KORJsonNode& iKept) {
      return iKept.key.size() != key.size() ||
             (!key.empty() && (iKept.key.front() != key.front() || iKept.key != key));
    };
    std::size_t same = iFirst;
    while (same < kept && differs(_pending[same]))
      ++same;
    if (same < kept)
      _pending[same] = _pending[i];
    else
      _pending[kept++] = _pending[i];
  }
  _pending.resize(kept);
}

void KORJsonTree::Finish() {
  _nodes.push_back(_pending.back());
  _pending.clear();
  for (KORJsonNode& node : _nodes)
    if (node.kind == KORJsonKind::Array || node.kind == KORJsonKind::Object) {
      const std::size_t first = node.firstChild;
      node.children = _nodes.data() + first;
    }
}

std::string_view KORJsonTree::Keep(std::string iText) {
  return _kept.emplace_back(std::move(iText));
}

bool KORJsonTree::ParsePlain(std::string_view iText) {
  Clear();
  // Room for a value every sixteen bytes, more than an indented document
  // holds: growing the array would copy every node and touch twice the memory.
  _nodes.reserve(iText.size() / 16);
  if (!PlainReader(iText, *this).Read())
    return false;
  Finish();
  return true;
}

bool KORJsonTree::ParseChecked(std::string_view iText, std::string& oError) {
  Clear();
  // The parser recurses once per level: deep nesting is refused before it runs.
  if (!KORCheckJsonDepth(iText, oError))
    return false;
  CheckedBuilder builder(*this);
  try {
    if (nlohmann::json::sax_parse(iText, &builder)) {
      Finish();
      return true;
    }
    oError = builder.Error().empty() ? "invalid JSON" : builder.Error();
  } catch (const nlohmann::json::exception& error) {
    oError = "invalid JSON: " + JsonErrorText(error);
  }
  return false;
}

bool KORJsonTree::Parse(std::string_view iText, std::string& oError) {
  return ParsePlain(iText) || ParseChecked(iText, oError);
}
