#include "featurestore/KORContainer.h"

namespace {
// The prototype of a feature type: instantiating it makes a feature of the
// type, with the type's default values, in the container it is asked for.
class KORStartUp final : public KORImplementationOf<KORStartUp, KORIStartUp> {
public:
  explicit KORStartUp(const KORFeatureType& iType)
      : KORImplementationOf("KORStartUp"), _type(iType) {}
  const char* GetTypeName() override { return _type.name.c_str(); }
  HRESULT Instantiate(KORIContainer* iContainer, const KORUnicodeString& iName,
                      KORISpecObject** oFeature) override {
    if (!oFeature)
      return E_FAIL;
    *oFeature = nullptr;
    auto* container = KORGetImplementationAs<KORFeatureContainer>(iContainer);
    KORFeature* feature = container ? container->NewFeature(_type, iName) : nullptr;
    if (!feature)
      return E_FAIL;
    *oFeature = feature;
    feature->AddRef();
    return S_OK;
  }

private:
  const KORFeatureType& _type;
};
} // namespace

HRESULT KORFindStartUp(KORIContainer* iContainer, const char* /*iInterfaceName*/,
                       const char* iStartupName, const char* iTypeName, KORIStartUp** oStartUp) {
  if (!oStartUp)
    return E_FAIL;
  *oStartUp = nullptr;
  auto* container = KORGetImplementationAs<KORFeatureContainer>(iContainer);
  if (!container || !iStartupName)
    return E_FAIL;
  for (const KORUnicodeString& catalog : container->Catalogs()) {
    const KORFeatureType* type = KORFeatureCatalog::FindStartup(catalog, iStartupName);
    if (type && (!iTypeName || type->name == iTypeName)) {
      *oStartUp = new KORStartUp(*type);
      (*oStartUp)->AddRef();
      return S_OK;
    }
  }
  return E_FAIL;
}
