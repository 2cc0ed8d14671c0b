#pragma once
// The XML configuration document of a configuration, offered by its root
// element: every element as an XML element, with the multipipe, display and
// tracking-daemon files embedded as character data. oText receives the
// document, oMessages the messages of the embedded files' writers; the result
// is E_FAIL when one of them reported an error (oText still holds the
// document) and S_OK otherwise.
#include "objectmodel/KORSmartPtr.h"
#include "system/KORString.h"

class KORIVrcXML : public KORBaseUnknown {
  KOR_INTERFACE(KORIVrcXML, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT CreateXMLConfigFile(KORUnicodeString& oText,
                                                    KORUnicodeString& oMessages) = 0;
};
KOR_DECLARE_VAR(KORIVrcXML)
