#include "xml/KORDOMWriter.h"

#include "xml/KORDOMNodes.h"

namespace {

const KORDOMDocumentTypeNode* AppendedDocumentType(const KORDOMDocumentNode& iDocument) {
  for (const KORDOMTreeNode::Child& child : iDocument.Children())
    if (child.node->Type() == KORDOMNodeType::DocumentType)
      return static_cast<const KORDOMDocumentTypeNode*>(child.node);
  return nullptr;
}

void WriteChildren(KORXMLTextWriter& ioWriter, const KORDOMTreeNode& iNode) {
  for (const KORDOMTreeNode::Child& child : iNode.Children()) {
    const KORDOMTreeNode* node = child.node;
    if (node->Type() == KORDOMNodeType::Element) {
      const auto& element = static_cast<const KORDOMElementNode&>(*node);
      ioWriter.StartElement(element.TagName());
      for (const auto& [name, value] : element.Attributes())
        ioWriter.Attribute(name, value);
      WriteChildren(ioWriter, element);
      ioWriter.EndElement();
    } else if (node->Type() == KORDOMNodeType::CDATASection) {
      ioWriter.CharacterData(static_cast<const KORDOMCDATASectionNode&>(*node).Data());
    }
  }
}

} // namespace

KORUnicodeString KORWriteDOMDocument(const KORDOMDocumentNode& iDocument,
                                     const std::optional<KORUnicodeString>& iEncoding) {
  KORUnicodeString text;
  KORXMLTextWriter writer(text);
  writer.Declaration(iEncoding ? std::optional<std::string_view>(*iEncoding) : std::nullopt);
  // The document type goes first whatever the order of appending was; its
  // literals were checked when it was made.
  if (const KORDOMDocumentTypeNode* docType = AppendedDocumentType(iDocument))
    KORIgnoreResult(writer.DocumentType(docType->Name(), docType->PublicId(), docType->SystemId()),
                    "the document type's identifiers were checked when it was made");
  WriteChildren(writer, iDocument);
  writer.End();
  return text;
}
