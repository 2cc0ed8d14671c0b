#pragma once
// KORIDOMCDATASection: character data written verbatim. Data holding "]]>" is
// written as two sections split inside that sequence, so that the text stays
// well-formed and reads back as the same data.
#include "xml/KORIDOMNode.h"

class KORIDOMCDATASection : public KORIDOMNode {
  KOR_INTERFACE(KORIDOMCDATASection, KORIDOMNode)

  [[nodiscard]] virtual HRESULT GetData(KORUnicodeString& oData) = 0;

protected:
  ~KORIDOMCDATASection() = default;
};
KOR_DECLARE_VAR(KORIDOMCDATASection)
