#pragma once
// The version flag stored with every saved configuration container; a
// container loaded with it is not migrated again.
#include "featurestore/KORIContainer.h"
#include "objectmodel/KORExtension.h"

inline constexpr const char* KORVrcVersionFlag = "Vrc J6R14";

class KOREVrcContainerProjectFlag : public KORExtensionOf<KORIProjectFlag> {
public:
  KORListValKORUnicodeString* GetFlagOnWriteEvent() override {
    return new KORListValKORUnicodeString{KORVrcVersionFlag};
  }
  KORListValKORUnicodeString* GetFlagOnReadEvent() override {
    return new KORListValKORUnicodeString{KORVrcVersionFlag};
  }
};
