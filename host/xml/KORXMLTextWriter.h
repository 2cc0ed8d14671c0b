#pragma once
// Writes XML text as it goes, in the layout of the host's DOM documents:
// elements one a line, indented by a tab a level, an element without children
// closed as "<Name />", character data kept on the line of what surrounds it
// (so that the text of a section is exactly its data), attribute values
// between double quotes with '&', '<', '"' and control characters escaped.
// The DOM's own writer walks its tree through it; a producer that never reads
// its tree back may write through it directly and skip building one.
//
// The caller keeps the structure right, as the DOM does for its users: names
// are XML names, an element's attributes come right after its start, every
// started element is ended, and the declaration and the document type come
// first. A name is used again when its element ends, so it must live until
// then. Values and data end at their first NUL character, which XML cannot
// carry.
#include "system/KORString.h"

#include <optional>
#include <string_view>
#include <vector>

class KORXMLTextWriter {
public:
  // Appends to oText, which must outlive the writer.
  explicit KORXMLTextWriter(KORUnicodeString& oText) : _text(oText) {}
  KORXMLTextWriter(const KORXMLTextWriter&) = delete;
  KORXMLTextWriter& operator=(const KORXMLTextWriter&) = delete;

  // iEncoding, when given, is named in the declaration.
  void Declaration(const std::optional<std::string_view>& iEncoding);
  // <!DOCTYPE iName ...>, with the identifiers that are not empty; false,
  // writing nothing, when an identifier holds both quote characters.
  [[nodiscard]] bool DocumentType(std::string_view iName, std::string_view iPublicId,
                                  std::string_view iSystemId);

  void StartElement(std::string_view iName);
  void Attribute(std::string_view iName, std::string_view iValue);
  // Data holding "]]>" is split there into two sections.
  void CharacterData(std::string_view iData);
  void EndElement();
  // Room for iMore characters after the text written so far, so that a
  // writer that knows a large piece is coming lets the text grow once.
  void Reserve(std::size_t iMore) { _text.reserve(_text.size() + iMore); }
  // The final line break, left out after character data.
  void End();

private:
  // Completes the start tag of the innermost element, which gets content.
  void CloseStartTag();
  void AttributeText(std::string_view iName, std::string_view iValue);
  // Nothing after character data, which keeps its surroundings on its line.
  void NewLine(std::size_t iDepth);

  KORUnicodeString& _text;
  std::vector<std::string_view> _openElements;
  bool _startTagOpen = false;
  bool _afterData = false;
};

// iLiteral between quotes for a <!DOCTYPE>: double quotes unless it holds one,
// then single quotes; nothing when it holds both.
std::optional<KORUnicodeString> KORDOMQuoteLiteral(std::string_view iLiteral);
