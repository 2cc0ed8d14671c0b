#pragma once
// KORIDOMDocument: a DOM document, the factory of its elements and CDATA
// sections.
//
// A new document has no root element: the first element appended to the
// document becomes its root and a second one is refused. Its document type is
// written only once it has been appended to the document, and always before
// the root. Nodes created but never appended stay out of the document's text.
//
// Tag names must be XML names (E_INVALIDARG otherwise). Character data ends
// at its first NUL character, which XML cannot carry.
#include "xml/KORIDOMNode.h"

class KORIDOMElement;
class KORIDOMCDATASection;

class KORIDOMDocument : public KORIDOMNode {
  KOR_INTERFACE(KORIDOMDocument, KORIDOMNode)

  [[nodiscard]] virtual HRESULT CreateElement(const KORUnicodeString& iTagName,
                                              KORIDOMElement** oElement) = 0;
  [[nodiscard]] virtual HRESULT CreateCDATASection(const KORUnicodeString& iData,
                                                   KORIDOMCDATASection** oSection) = 0;
  // E_FAIL and null while the document has no root element.
  [[nodiscard]] virtual HRESULT GetDocumentElement(KORIDOMElement** oElement) = 0;

protected:
  ~KORIDOMDocument() = default;
};
KOR_DECLARE_VAR(KORIDOMDocument)
