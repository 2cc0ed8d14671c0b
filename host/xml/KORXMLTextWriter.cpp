#include "xml/KORXMLTextWriter.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

std::string_view BeforeNul(std::string_view iText) {
  return iText.substr(0, iText.find('\0'));
}

// The text an attribute value needs between double quotes; null when the
// character goes out as it is. Control characters are written as character
// references so that a reader's attribute-value normalisation keeps them.
constexpr const char* AttributeEscape(unsigned char iCharacter) {
  constexpr const char* kControls[32] = {
      "&#00;", "&#01;", "&#02;", "&#03;", "&#04;", "&#05;", "&#06;", "&#07;",
      "&#08;", "&#09;", "&#10;", "&#11;", "&#12;", "&#13;", "&#14;", "&#15;",
      "&#16;", "&#17;", "&#18;", "&#19;", "&#20;", "&#21;", "&#22;", "&#23;",
      "&#24;", "&#25;", "&#26;", "&#27;", "&#28;", "&#29;", "&#30;", "&#31;"};
  if (iCharacter < 32)
    return kControls[iCharacter];
  switch (iCharacter) {
  case '&':
    return "&amp;";
  case '<':
    return "&lt;";
  case '"':
    return "&quot;";
  default:
    return nullptr;
  }
}

// Whether one of the eight characters in iBlock goes out escaped (see
// AttributeEscape), tested on all eight at once: most values hold none, and
// testing them a character at a time costs most of writing them.
bool BlockNeedsEscape(const char* iBlock) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighBits = 0x8080808080808080;
  std::uint64_t block = 0;
  std::memcpy(&block, iBlock, sizeof block);
  // Nonzero when a byte is below iLimit (at most 128): the borrow of the
  // subtraction reaches the high bit of such a byte first.
  const auto below = [block](std::uint64_t iLimit) {
    return (block - kOnes * iLimit) & ~block & kHighBits;
  };
  const auto holds = [block](unsigned char iCharacter) {
    const std::uint64_t others = block ^ (kOnes * iCharacter);
    return (others - kOnes) & ~others & kHighBits;
  };
  return (below(32) | holds('&') | holds('<') | holds('"')) != 0;
}

} // namespace

std::optional<KORUnicodeString> KORDOMQuoteLiteral(std::string_view iLiteral) {
  for (const char quote : {'"', '\''})
    if (iLiteral.find(quote) == std::string_view::npos) {
      KORUnicodeString quoted(1, quote);
      quoted += iLiteral;
      quoted += quote;
      return quoted;
    }
  return std::nullopt;
}

void KORXMLTextWriter::Declaration(const std::optional<std::string_view>& iEncoding) {
  _text += "<?xml version=\"1.0\"";
  if (iEncoding)
    AttributeText("encoding", *iEncoding);
  _text += "?>";
}

bool KORXMLTextWriter::DocumentType(std::string_view iName, std::string_view iPublicId,
                                    std::string_view iSystemId) {
  iPublicId = BeforeNul(iPublicId);
  iSystemId = BeforeNul(iSystemId);
  const std::optional<KORUnicodeString> publicLiteral = KORDOMQuoteLiteral(iPublicId);
  const std::optional<KORUnicodeString> systemLiteral = KORDOMQuoteLiteral(iSystemId);
  if (!publicLiteral || !systemLiteral)
    return false;
  _text += "\n<!DOCTYPE";
  if (!iName.empty()) {
    _text += ' ';
    _text += iName;
  }
  if (!iPublicId.empty()) {
    _text += " PUBLIC ";
    _text += *publicLiteral;
    _text += ' ';
    _text += *systemLiteral;
  } else if (!iSystemId.empty()) {
    _text += " SYSTEM ";
    _text += *systemLiteral;
  }
  _text += '>';
  return true;
}

void KORXMLTextWriter::StartElement(std::string_view iName) {
  CloseStartTag();
  NewLine(_openElements.size());
  _text += '<';
  _text += iName;
  _openElements.push_back(iName);
  _startTagOpen = true;
  _afterData = false;
}

void KORXMLTextWriter::Attribute(std::string_view iName, std::string_view iValue) {
  assert(_startTagOpen && "an attribute belongs right after its element's start");
  AttributeText(iName, BeforeNul(iValue));
}

void KORXMLTextWriter::CharacterData(std::string_view iData) {
  CloseStartTag();
  iData = BeforeNul(iData);
  for (;;) {
    const std::size_t marker = iData.find("]]>");
    const std::size_t cut = marker == std::string_view::npos ? iData.size() : marker + 2;
    _text += "<![CDATA[";
    _text += iData.substr(0, cut);
    _text += "]]>";
    iData.remove_prefix(cut);
    if (marker == std::string_view::npos)
      break;
  }
  _afterData = true;
}

void KORXMLTextWriter::EndElement() {
  assert(!_openElements.empty() && "every end has its start");
  const std::string_view name = _openElements.back();
  _openElements.pop_back();
  if (_startTagOpen) {
    _text += " />";
    _startTagOpen = false;
  } else {
    NewLine(_openElements.size());
    _text += "</";
    _text += name;
    _text += '>';
  }
  _afterData = false;
}

void KORXMLTextWriter::End() {
  if (!_afterData)
    _text += '\n';
}

void KORXMLTextWriter::CloseStartTag() {
  if (!_startTagOpen)
    return;
  _text += '>';
  _startTagOpen = false;
}

void KORXMLTextWriter::AttributeText(std::string_view iName, std::string_view iValue) {
  static constexpr auto kEscaped = [] {
    std::array<bool, 256> escaped{};
    for (std::size_t character = 0; character < escaped.size(); ++character)
      escaped[character] = AttributeEscape(static_cast<unsigned char>(character)) != nullptr;
    return escaped;
  }();
  std::size_t position = 0;
  constexpr std::size_t kBlock = 8;
  while (position + kBlock <= iValue.size() && !BlockNeedsEscape(iValue.data() + position))
    position += kBlock;
  while (position < iValue.size() && !kEscaped[static_cast<unsigned char>(iValue[position])])
    ++position;
  // The name, the quotes and the value up to its first escaped character go
  // out in one step: most values hold none, and attributes are short, so the
  // steps themselves cost more than the copies.
  const std::size_t start = _text.size();
  _text.resize(start + iName.size() + position + 4);
  char* out = _text.data() + start;
  *out++ = ' ';
  out = std::copy(iName.begin(), iName.end(), out);
  *out++ = '=';
  *out++ = '"';
  out = std::copy(iValue.begin(), iValue.begin() + static_cast<std::ptrdiff_t>(position), out);
  *out = '"';
  if (position == iValue.size())
    return;
  _text.pop_back();
  std::size_t plain = position;
  for (; position < iValue.size(); ++position) {
    const auto character = static_cast<unsigned char>(iValue[position]);
    if (kEscaped[character]) {
      _text.append(iValue.data() + plain, position - plain);
      _text += AttributeEscape(character);
      plain = position + 1;
    }
  }
  _text.append(iValue.data() + plain, iValue.size() - plain);
  _text += '"';
}

void KORXMLTextWriter::NewLine(std::size_t iDepth) {
  if (_afterData)
    return;
  _text += '\n';
  _text.append(iDepth, '\t');
}
