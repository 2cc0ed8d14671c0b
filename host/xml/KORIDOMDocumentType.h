#pragma once
// KORIDOMDocumentType: the <!DOCTYPE> of a document, made by
// KORIDOMImplementation::CreateDocumentType and given to one document by
// KORIDOMImplementation::CreateDocument. Its node name is its qualified name.
#include "xml/KORIDOMNode.h"

class KORIDOMDocumentType : public KORIDOMNode {
  KOR_INTERFACE(KORIDOMDocumentType, KORIDOMNode)

  [[nodiscard]] virtual HRESULT GetPublicId(KORUnicodeString& oPublicId) = 0;
  [[nodiscard]] virtual HRESULT GetSystemId(KORUnicodeString& oSystemId) = 0;

protected:
  ~KORIDOMDocumentType() = default;
};
KOR_DECLARE_VAR(KORIDOMDocumentType)
