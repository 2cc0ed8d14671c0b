#pragma once
// KORIDOMElement: an element with its attributes.
//
// Attributes keep the order in which they were first set, and are written in
// that order; setting an attribute again replaces its value in place.
// Attribute names must be XML names (E_INVALIDARG otherwise); values end at
// their first NUL character and are escaped when written.
#include "xml/KORIDOMNode.h"

class KORIDOMElement : public KORIDOMNode {
  KOR_INTERFACE(KORIDOMElement, KORIDOMNode)

  [[nodiscard]] virtual HRESULT SetAttribute(const KORUnicodeString& iName,
                                             const KORUnicodeString& iValue) = 0;
  // S_FALSE and an empty value when the element has no such attribute.
  [[nodiscard]] virtual HRESULT GetAttribute(const KORUnicodeString& iName,
                                             KORUnicodeString& oValue) = 0;
  [[nodiscard]] virtual HRESULT GetTagName(KORUnicodeString& oTagName) = 0;

protected:
  ~KORIDOMElement() = default;
};
KOR_DECLARE_VAR(KORIDOMElement)
