#include "xml/KORDOMWriter.h"

#include "xml/KORDOMNodes.h"

#include <pugixml.hpp>
#include <sstream>

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

void CopyChildren(const KORDOMTreeNode& iNode, pugi::xml_node ioTarget) {
  for (const KORIDOMNode_var& child : iNode.Children()) {
    const KORDOMTreeNode* node = KORDOMTreeNode::From(child);
    switch (node->Type()) {
    case KORDOMNodeType::Element: {
      const auto& element = static_cast<const KORDOMElementNode&>(*node);
      pugi::xml_node copy = ioTarget.append_child(element.Name().c_str());
      for (const auto& [name, value] : element.Attributes())
        copy.append_attribute(name.c_str()).set_value(value.c_str());
      CopyChildren(element, copy);
      break;
    }
    case KORDOMNodeType::CDATASection:
      // pugixml splits data holding "]]>" into two sections itself.
      ioTarget.append_child(pugi::node_cdata)
          .set_value(static_cast<const KORDOMCDATASectionNode&>(*node).Data().c_str());
      break;
    case KORDOMNodeType::DocumentType:
    case KORDOMNodeType::Document:
      break;
    }
  }
}

const KORDOMDocumentTypeNode* AppendedDocumentType(const KORDOMDocumentNode& iDocument) {
  for (const KORIDOMNode_var& child : iDocument.Children())
    if (const KORDOMTreeNode* node = KORDOMTreeNode::From(child);
        node->Type() == KORDOMNodeType::DocumentType)
      return static_cast<const KORDOMDocumentTypeNode*>(node);
  return nullptr;
}

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
  pugi::xml_document text;
  pugi::xml_node declaration = text.append_child(pugi::node_declaration);
  declaration.append_attribute("version").set_value("1.0");
  if (iEncoding)
    declaration.append_attribute("encoding").set_value(iEncoding->c_str());
  // The document type goes first whatever the order of appending was.
  if (const KORDOMDocumentTypeNode* docType = AppendedDocumentType(iDocument))
    text.append_child(pugi::node_doctype).set_value(DocumentTypeDeclaration(*docType).c_str());
  CopyChildren(iDocument, text);

  std::ostringstream stream;
  text.save(stream, "\t", pugi::format_indent, pugi::encoding_utf8);
  return stream.str();
}
