#pragma once
// KORIDOMNode: a node of a DOM document, the base of the document, element,
// document type and CDATA section interfaces.
//
// A node belongs to the document that created it (a document type belongs to
// the document it was given to at creation) and may only join that document's
// tree. Appending a node that already has a parent moves it. A parent holds
// its children; a child never holds its parent or its document, so releasing
// the last outside reference to a document frees its whole tree.
//
// AppendChild fails with E_INVALIDARG for a null child, a node of another
// implementation or of another document, and with E_FAIL when the tree does
// not allow the child there: a document takes one document type and one
// element (the root), an element takes elements and CDATA sections, a document
// type and a CDATA section take nothing, and a node never goes below itself.
#include "objectmodel/KORBaseUnknown.h"
#include "objectmodel/KORSmartPtr.h"
#include "system/KORString.h"

// The values are those of the W3C DOM node types.
enum class KORDOMNodeType {
  Element = 1,
  CDATASection = 4,
  Document = 9,
  DocumentType = 10,
};

class KORIDOMNode : public KORBaseUnknown {
  KOR_INTERFACE(KORIDOMNode, KORBaseUnknown)

  // Appends iChild as the last child; oAppended, when given, receives iChild.
  [[nodiscard]] virtual HRESULT AppendChild(KORIDOMNode* iChild,
                                            KORIDOMNode** oAppended = nullptr) = 0;
  [[nodiscard]] virtual HRESULT GetNodeType(KORDOMNodeType& oType) = 0;
  // The tag name of an element, the qualified name of a document type,
  // "#document" and "#cdata-section" for the other two.
  [[nodiscard]] virtual HRESULT GetNodeName(KORUnicodeString& oName) = 0;

protected:
  ~KORIDOMNode() = default;
};
KOR_DECLARE_VAR(KORIDOMNode)
