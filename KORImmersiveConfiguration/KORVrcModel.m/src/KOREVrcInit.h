#pragma once
// Initialisation of a configuration container when its document is loaded:
// data of older releases is migrated, then every element's model events are
// connected again so that the views follow the reloaded model.
#include "featurestore/KORIContainer.h"
#include "objectmodel/KORExtension.h"

class KORDocument;

class KOREVrcInit : public KORExtensionOf<KORInit> {
public:
  // iDestroyExistingData is accepted and ignored: existing data is kept.
  void Init(bool iDestroyExistingData) override;
  KORBaseUnknown* GetRootContainer(const char* iInterfaceID) override;
  // Release 12 and older: names kept in the feature's own name move to
  // "Name"; release 13 and older: image generators take 1024 x 768 pixels.
  void Migrate(KORDocument* iDocument);
};
