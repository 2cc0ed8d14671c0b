#include "xml/KORIXMLDOMDocumentBuilder.h"

#include "xml/KORDOMNodes.h"
#include "xml/KORDOMWriter.h"
#include "xml/KORIDOMImplementation.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

bool SameIgnoringCase(const KORUnicodeString& iA, const KORUnicodeString& iB) {
  return std::equal(iA.begin(), iA.end(), iB.begin(), iB.end(), [](char iX, char iY) {
    return std::tolower(static_cast<unsigned char>(iX)) ==
           std::tolower(static_cast<unsigned char>(iY));
  });
}

class KORDOMImplementationObject final : public KORDOMObject<KORIDOMImplementation> {
public:
  HRESULT CreateDocumentType(const KORUnicodeString& iQualifiedName,
                             const KORUnicodeString& iPublicId, const KORUnicodeString& iSystemId,
                             KORIDOMDocumentType** oDocType) override {
    if (!oDocType)
      return E_INVALIDARG;
    *oDocType = nullptr;
    const KORUnicodeString publicId = KORDOMTextBeforeNul(iPublicId);
    const KORUnicodeString systemId = KORDOMTextBeforeNul(iSystemId);
    if (!KORDOMIsXMLName(iQualifiedName) || !KORDOMQuoteLiteral(publicId) ||
        !KORDOMQuoteLiteral(systemId))
      return E_INVALIDARG;
    return KORReturn(KORSmartPtr<KORIDOMDocumentType>(
                         new KORDOMDocumentTypeNode(iQualifiedName, publicId, systemId)),
                     oDocType);
  }

  HRESULT CreateDocument(const KORUnicodeString& iNamespace, const KORUnicodeString&,
                         KORIDOMDocumentType* iDocType, KORIDOMDocument** oDocument) override {
    if (!oDocument)
      return E_INVALIDARG;
    *oDocument = nullptr;
    if (!iNamespace.empty())
      return E_INVALIDARG;
    KORSmartPtr<KORDOMDocumentNode> document(new KORDOMDocumentNode);
    if (iDocType) {
      auto* docType = dynamic_cast<KORDOMDocumentTypeNode*>(iDocType);
      if (!docType || FAILED(document->TakeDocumentType(*docType)))
        return E_INVALIDARG;
    }
    return KORReturn(KORSmartPtr<KORIDOMDocument>(document), oDocument);
  }
};

class KORXMLDOMDocumentBuilderObject final : public KORDOMObject<KORIXMLDOMDocumentBuilder> {
public:
  HRESULT GetDOMImplementation(KORIDOMImplementation** oImplementation) override {
    return KORReturn(_implementation, oImplementation);
  }

  HRESULT WriteToString(KORIDOMDocument* iDocument, KORUnicodeString& oText,
                        const KORListValKORUnicodeString& iOptionNames,
                        const KORListValKORUnicodeString& iOptionValues) override {
    const auto* document = dynamic_cast<const KORDOMDocumentNode*>(iDocument);
    if (!document || iOptionNames.Size() != iOptionValues.Size())
      return E_INVALIDARG;
    std::optional<KORUnicodeString> encoding;
    for (int position = 1; position <= iOptionNames.Size(); ++position) {
      if (iOptionNames[position] != "KOREncoding" ||
          !SameIgnoringCase(iOptionValues[position], "UTF-8"))
        return E_INVALIDARG;
      encoding = "UTF-8";
    }
    oText = KORWriteDOMDocument(*document, encoding);
    return S_OK;
  }

private:
  KORIDOMImplementation_var _implementation{new KORDOMImplementationObject};
};

} // namespace

HRESULT CreateKORIXMLDOMDocumentBuilder(KORIXMLDOMDocumentBuilder** oBuilder,
                                        const char* iImplementationId) {
  if (!oBuilder)
    return E_INVALIDARG;
  *oBuilder = nullptr;
  if (!iImplementationId || std::strcmp(iImplementationId, CLSID_XML4C_DOM) != 0)
    return E_FAIL;
  return KORReturn(KORIXMLDOMDocumentBuilder_var(new KORXMLDOMDocumentBuilderObject), oBuilder);
}
