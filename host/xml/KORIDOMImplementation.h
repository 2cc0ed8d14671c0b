#pragma once
// KORIDOMImplementation: makes documents and document types.
//
// CreateDocument does not make a root element: iQualifiedName only names the
// root that the caller is expected to append (it is not checked). The document
// takes over iDocType, which may be null; a document type already given to
// another document is refused (E_INVALIDARG), and so is a non-empty namespace,
// since this implementation writes no namespace declarations.
//
// CreateDocumentType wants an XML name, and identifiers that can be quoted:
// not both quote characters in one identifier (E_INVALIDARG otherwise).
#include "objectmodel/KORBaseUnknown.h"
#include "objectmodel/KORSmartPtr.h"
#include "system/KORString.h"

class KORIDOMDocument;
class KORIDOMDocumentType;

class KORIDOMImplementation : public KORBaseUnknown {
  KOR_INTERFACE(KORIDOMImplementation, KORBaseUnknown)

  [[nodiscard]] virtual HRESULT CreateDocumentType(const KORUnicodeString& iQualifiedName,
                                                   const KORUnicodeString& iPublicId,
                                                   const KORUnicodeString& iSystemId,
                                                   KORIDOMDocumentType** oDocType) = 0;
  [[nodiscard]] virtual HRESULT CreateDocument(const KORUnicodeString& iNamespace,
                                               const KORUnicodeString& iQualifiedName,
                                               KORIDOMDocumentType* iDocType,
                                               KORIDOMDocument** oDocument) = 0;

protected:
  ~KORIDOMImplementation() = default;
};
KOR_DECLARE_VAR(KORIDOMImplementation)
