#pragma once
// Selection commands on elements: the platform's removal, and a filter that
// lets every element but the fixed ones (head, configuration root, the three
// branches, hand device) be deleted, and nothing else.
#include "featurestore/KORICutAndPastable.h"

class KOREVrcCutAndPastable : public KORExtensionOf<KORICutAndPastable, KORICSOFilter> {
public:
  HRESULT BoundaryRemove(KORListValKORBaseUnknown_var& ioObjects) override {
    return KORStandardBoundaryRemove(ioObjects);
  }
  HRESULT Remove(KORListValKORBaseUnknown_var& iObjects) override {
    return KORStandardRemoveObjects(iObjects);
  }
  HRESULT CommandIsAvailable(const char* iCommandName, const KORCSO* iSelection) override;
  HRESULT AvailableElements(const char* iCommandName, const KORCSO* iSelection,
                            KORListValKORBaseUnknown_var** oElements) override;
};

// The configuration container's cut and paste: the platform's, unchanged.
class KOREVrcContCutAndPastable : public KORStandardCutAndPastable {};
