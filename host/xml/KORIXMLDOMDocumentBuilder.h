#pragma once
// KORIXMLDOMDocumentBuilder: the entry to the XML DOM of the host. It gives
// the DOM implementation that makes documents, and writes a document as text.
//
// WriteToString takes options as two parallel lists of names and values
// (E_INVALIDARG when their sizes differ, for an unknown name or value, and
// for a document of another implementation); oText is left untouched on
// failure. The only option is "KOREncoding", whose only value is "UTF-8"
// (in any letter case): it names the encoding in the XML declaration. The
// text is UTF-8 in every case.
//
// Layout of the text: the XML declaration, then the document type when it
// was appended to the document, then the root element, each on its own line.
// A child element goes on a new line indented by one tab per level; an element
// without children is written "<Name />". No whitespace is ever added next to
// a CDATA section, so that its data reads back unchanged: an element holding a
// section is written on one line with it, and an element mixing sections and
// child elements gets an irregular layout. Attribute values are written
// between double quotes, with &, <, " and control characters escaped.
// Every line ends with "\n". For example, with <TAB> for the tab character:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <!DOCTYPE Config SYSTEM "/path/VrConfig.dtd">
//   <Config ConfigID="1">
//   <TAB><MPK><![CDATA[text]]></MPK>
//   <TAB><Devices />
//   </Config>
#include "objectmodel/KORBaseUnknown.h"
#include "objectmodel/KORSmartPtr.h"
#include "system/KORList.h"
#include "system/KORString.h"

class KORIDOMDocument;
class KORIDOMImplementation;

// The identifier of the one DOM implementation of the host.
inline constexpr const char* CLSID_XML4C_DOM = "CLSID_XML4C_DOM";

class KORIXMLDOMDocumentBuilder : public KORBaseUnknown {
  KOR_INTERFACE(KORIXMLDOMDocumentBuilder, KORBaseUnknown)

  [[nodiscard]] virtual HRESULT GetDOMImplementation(KORIDOMImplementation** oImplementation) = 0;
  [[nodiscard]] virtual HRESULT WriteToString(KORIDOMDocument* iDocument, KORUnicodeString& oText,
                                              const KORListValKORUnicodeString& iOptionNames,
                                              const KORListValKORUnicodeString& iOptionValues) = 0;

protected:
  ~KORIXMLDOMDocumentBuilder() = default;
};
KOR_DECLARE_VAR(KORIXMLDOMDocumentBuilder)

// Makes the builder of the implementation iImplementationId (CLSID_XML4C_DOM);
// E_FAIL and null for any other identifier.
HRESULT CreateKORIXMLDOMDocumentBuilder(KORIXMLDOMDocumentBuilder** oBuilder,
                                        const char* iImplementationId);
