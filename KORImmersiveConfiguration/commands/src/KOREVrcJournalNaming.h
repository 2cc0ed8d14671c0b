#pragma once
// Journal names of the configuration's elements, answered on the design
// document: config, ig, window, view, head, hand, station, button by the
// element's name, and tracker:STATION/NUMBER by its station's name and its
// own (a tracker's name is its number). Finding an element reads the
// document only: a document without configuration container names nothing.
#include "command/KORIJournalNaming.h"
#include "objectmodel/KORExtension.h"

class KOREVrcJournalNaming : public KORExtensionOf<KORIJournalNaming> {
public:
  HRESULT FindElement(const KORUnicodeString& iName, KORPathElement& oPath,
                      KORString& oError) override;
  HRESULT GetJournalName(KORBaseUnknown* iElement, KORUnicodeString& oName) override;
  // The configuration root's identifier, as the exported document writes it.
  HRESULT GetConfigurationIdentifier(KORUnicodeString& oID) override;
};
