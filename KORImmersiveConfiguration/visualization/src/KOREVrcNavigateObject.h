#pragma once
// The specification tree's view of the configuration: each kind's node label
// and children in order. Trackers have no navigation of their own (the
// host's default shows their name).
#include "objectmodel/KORExtension.h"
#include "tree/KORINavigateObject.h"

#define KOR_NAVIGATE(Name)                                                                         \
  class Name : public KORExtensionOf<KORINavigateObject> {                                         \
  public:                                                                                          \
    KORListValKORUnicodeString* GetIdentificators() override;                                      \
    KORListValKORBaseUnknown_var* GetChildren() override;                                          \
  };

KOR_NAVIGATE(KOREVrcNavigateObjectOnVrcCont)
KOR_NAVIGATE(KOREVrcNavigateObjectOnConfig)
KOR_NAVIGATE(KOREVrcNavigateObjectOnGraphicResources)
KOR_NAVIGATE(KOREVrcNavigateObjectOnGraphicSpecs)
KOR_NAVIGATE(KOREVrcNavigateObjectOnDevices)
KOR_NAVIGATE(KOREVrcNavigateObjectOnIG)
KOR_NAVIGATE(KOREVrcNavigateObjectOnWindow)
KOR_NAVIGATE(KOREVrcNavigateObjectOnView)
KOR_NAVIGATE(KOREVrcNavigateObjectOnTrackingStation)
KOR_NAVIGATE(KOREVrcNavigateObjectOnButtonDevice)
KOR_NAVIGATE(KOREVrcNavigateObjectOnTrackedElement)

#undef KOR_NAVIGATE
