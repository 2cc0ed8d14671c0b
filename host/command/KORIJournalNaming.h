#pragma once
// How journals name elements: "KIND:NAME", the kind ending at the first colon
// ("ig::0.0" is the image generator named ":0.0"). The host knows no kinds;
// the module whose elements a document holds answers this interface on the
// document.
#include "objectmodel/KORBaseUnknown.h"
#include "objectmodel/KORPathElement.h"
#include "system/KORString.h"

class KORIJournalNaming : public KORBaseUnknown {
  KOR_INTERFACE(KORIJournalNaming, KORBaseUnknown)
public:
  // The element named iName, as the path a pick in the tree or a viewer gives
  // (from the document down to the element). E_FAIL with oError saying why
  // for an unknown kind, a name that matches no element of that kind, or one
  // that matches more than one.
  [[nodiscard]] virtual HRESULT FindElement(const KORUnicodeString& iName, KORPathElement& oPath,
                                            KORString& oError) = 0;
  // The journal name of iElement; E_FAIL for an element journals cannot name.
  [[nodiscard]] virtual HRESULT GetJournalName(KORBaseUnknown* iElement,
                                               KORUnicodeString& oName) = 0;
  // The identifier by which the immersive runtime knows the document's
  // configuration (what `document` stands for in `runtime document`). E_FAIL
  // with oID emptied when the document holds no configuration.
  virtual HRESULT GetConfigurationIdentifier(KORUnicodeString& oID) {
    oID.clear();
    return E_FAIL;
  }
};
