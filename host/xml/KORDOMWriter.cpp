#include "xml/KORDOMWriter.h"

#include "xml/KORDOMNodes.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace {

KORUnicodeString DocumentTypeDeclaration(const KORDOMDocumentTypeNode& iDocType) {
  // The literals were checked when the document type was made.
  const KORUnicodeString system = KORDOMQuoteLiteral(iDocType.SystemId()).value_or("\"\"");
  if (!iDocType.PublicId().empty())
    return iDocType.Name() + " PUBLIC " + KORDOMQuoteLiteral(iDocType.PublicId()).value_or("\"\"") +
           " " + system;
  if (!iDocType.SystemId().empty())
    return iDocType.Name() + " SYSTEM " + system;
  return iDocType.Name();
}

const KORDOMDocumentTypeNode* AppendedDocumentType(const KORDOMDocumentNode& iDocument) {
  for (const KORDOMTreeNode::Child& child : iDocument.Children())
    if (child.node->Type() == KORDOMNodeType::DocumentType)
      return static_cast<const KORDOMDocumentTypeNode*>(child.node);
  return nullptr;
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

// Writes the tree straight into one string: elements one a line, indented by
// a tab a level, an element without children closed as "<Name />", and
// character data kept on the line of what surrounds it, so that the text of
// a section is exactly its data.
class TextWriter {
public:
  explicit TextWriter(KORUnicodeString& oText) : _text(oText) {}

  void Declaration(const std::optional<KORUnicodeString>& iEncoding) {
    _text += "<?xml version=\"1.0\"";
    if (iEncoding)
      Attribute("encoding", *iEncoding);
    _text += "?>";
  }

  void DocumentType(const KORDOMDocumentTypeNode& iDocType) {
    _text += "\n<!DOCTYPE";
    if (const KORUnicodeString declaration = DocumentTypeDeclaration(iDocType);
        !declaration.empty()) {
      _text += ' ';
      _text += declaration;
    }
    _text += '>';
  }

  void Children(const KORDOMTreeNode& iNode, std::size_t iDepth) {
    for (const KORDOMTreeNode::Child& child : iNode.Children()) {
      const KORDOMTreeNode* node = child.node;
      if (node->Type() == KORDOMNodeType::Element)
        Element(static_cast<const KORDOMElementNode&>(*node), iDepth);
      else if (node->Type() == KORDOMNodeType::CDATASection)
        CharacterData(static_cast<const KORDOMCDATASectionNode&>(*node).Data());
    }
  }

  void End() {
    if (!_afterData)
      _text += '\n';
  }

private:
  void Element(const KORDOMElementNode& iElement, std::size_t iDepth) {
    NewLine(iDepth);
    _text += '<';
    _text += iElement.Name();
    for (const auto& [name, value] : iElement.Attributes())
      Attribute(name, value);
    _afterData = false;
    if (iElement.Children().empty()) {
      _text += " />";
      return;
    }
    _text += '>';
    Children(iElement, iDepth + 1);
    NewLine(iDepth);
    _text += "</";
    _text += iElement.Name();
    _text += '>';
    _afterData = false;
  }

  // Data holding "]]>" is split there into two sections.
  void CharacterData(std::string_view iData) {
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

  void Attribute(std::string_view iName, std::string_view iValue) {
    _text += ' ';
    _text += iName;
    _text += "=\"";
    static constexpr auto kEscaped = [] {
      std::array<bool, 256> escaped{};
      for (std::size_t character = 0; character < escaped.size(); ++character)
        escaped[character] = AttributeEscape(static_cast<unsigned char>(character)) != nullptr;
      return escaped;
    }();
    std::size_t plain = 0;
    for (std::size_t position = 0; position < iValue.size(); ++position) {
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

  // Nothing after character data, which keeps its surroundings on its line.
  void NewLine(std::size_t iDepth) {
    if (_afterData)
      return;
    _text += '\n';
    _text.append(iDepth, '\t');
  }

  KORUnicodeString& _text;
  bool _afterData = false;
};

} // namespace

std::optional<KORUnicodeString> KORDOMQuoteLiteral(const KORUnicodeString& iLiteral) {
  if (iLiteral.find('"') == KORUnicodeString::npos)
    return '"' + iLiteral + '"';
  if (iLiteral.find('\'') == KORUnicodeString::npos)
    return '\'' + iLiteral + '\'';
  return std::nullopt;
}

KORUnicodeString KORWriteDOMDocument(const KORDOMDocumentNode& iDocument,
                                     const std::optional<KORUnicodeString>& iEncoding) {
  KORUnicodeString text;
  TextWriter writer(text);
  writer.Declaration(iEncoding);
  // The document type goes first whatever the order of appending was.
  if (const KORDOMDocumentTypeNode* docType = AppendedDocumentType(iDocument))
    writer.DocumentType(*docType);
  writer.Children(iDocument, 0);
  writer.End();
  return text;
}
