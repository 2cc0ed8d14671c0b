#include "featurestore/KORContainer.h"

#include "featurestore/KORDocument.h"
#include "featurestore/KORFeatureStore.h"
#include "featurestore/KORLifeCycleObject.h"
#include "system/KORTrace.h"

#include <algorithm>
#include <iterator>

namespace {
// A new list of the objects among iObjects that answer iIID. The objects are
// of one final class, so whether one answers depends on its late type alone:
// a late type that did not answer once is not asked again (a container of
// thousands of features holds a handful of types).
template <class Range>
KORListValKORBaseUnknown_var* ListAnswering(const Range& iObjects, const KORIID& iIID) {
  auto* list = new KORListValKORBaseUnknown_var();
  std::vector<const KORLateType*> silentTypes;
  for (const auto& object : iObjects) {
    if (std::find(silentTypes.begin(), silentTypes.end(), object->GetLateType()) !=
            silentTypes.end() ||
        object->IsDead())
      continue;
    void* answered = nullptr;
    if (SUCCEEDED(object->QueryInterface(iIID, &answered)) && answered)
      list->Append(KORBaseUnknown_var::Adopt(static_cast<KORBaseUnknown*>(answered)));
    else
      silentTypes.push_back(object->GetLateType());
  }
  return list;
}
} // namespace

KORFeatureContainer::KORFeatureContainer(KORDocument& iDocument, const std::string& iType,
                                         const std::string& iSuperType)
    : KORImplementationOf(iType), _document(&iDocument), _superType(iSuperType) {}

KORFeatureContainer::~KORFeatureContainer() = default;

HRESULT KORFeatureContainer::ListMembers(const KORIID& iIID, KORListValKORBaseUnknown_var** oList) {
  if (!oList)
    return E_FAIL;
  *oList = ListAnswering(_features, iIID);
  return S_OK;
}

HRESULT KORFeatureContainer::FindFirstMember(const KORIID& iIID, void** oMember) {
  if (!oMember)
    return E_FAIL;
  *oMember = nullptr;
  for (const auto& feature : _features)
    if (!feature->IsDead() && SUCCEEDED(feature->QueryInterface(iIID, oMember)) && *oMember)
      return S_OK;
  return E_FAIL;
}

HRESULT KORFeatureContainer::SpecBindNativeFormat(const char* iFormat) {
  if (!iFormat)
    return E_FAIL;
  _nativeFormat = iFormat;
  return S_OK;
}

HRESULT KORFeatureContainer::SetUserId(const KORString& iId) {
  _userId = iId;
  return S_OK;
}

HRESULT KORFeatureContainer::GetUserId(KORString& oId) {
  oId = _userId;
  return S_OK;
}

HRESULT KORFeatureContainer::OpenCatalog(const char* iCatalogName) {
  if (!iCatalogName)
    return E_FAIL;
  std::string error;
  if (FAILED(KORFeatureCatalog::Load(iCatalogName, error))) {
    KORTrace("KORFeatureStore").Write(error);
    return E_FAIL;
  }
  if (!_catalogs.Locate(iCatalogName))
    _catalogs.Append(iCatalogName);
  return S_OK;
}

HRESULT KORFeatureContainer::ListCatalogs(KORListValKORUnicodeString& oNames) {
  oNames = _catalogs;
  return S_OK;
}

HRESULT KORFeatureContainer::GetStoredFlags(KORListValKORUnicodeString& oFlags) {
  oFlags = _storedFlags;
  return S_OK;
}

HRESULT KORFeatureContainer::Redraw() {
  _document->NotifyRedraw(Identity());
  return S_OK;
}

KORFeature* KORFeatureContainer::NewFeature(const KORFeatureType& iType,
                                            const KORUnicodeString& iName, const KORUuid* iUuid) {
  if (IsDead() || !_catalogs.Locate(iType.catalog))
    return nullptr;
  KORFeatureStore::Operation operation(_document->Store());
  if (!operation)
    return nullptr;
  auto* feature =
      new KORFeature(*this, iType, iName, iUuid ? *iUuid : KORUuid::Generate(), _nextSequence++);
  _features.emplace_back(feature);
  _document->Store().Write(KORStoreStep(KORStepKind::Create, feature));
  return feature;
}

KORFeature* KORFeatureContainer::FindFeature(const KORUuid& iUuid) const {
  for (const auto& feature : _features)
    if (feature->Uuid() == iUuid)
      return feature.get();
  return nullptr;
}

void KORRemoveByLifeCycle(KORFeature& iFeature) {
  KORSmartPtr<KORFeature> keep(&iFeature);
  auto lifeCycle = KORQuery<LifeCycleObject>(iFeature.Identity());
  if (lifeCycle && SUCCEEDED(lifeCycle->remove()) && iFeature.IsDead())
    return;
  if (!iFeature.IsDead() &&
      FAILED(iFeature.Container()->RemoveFeature(iFeature, /*iAnnounce=*/true)))
    KORTrace("KORFeatureStore").Write("cannot remove feature " + iFeature.Uuid().ToText());
}

HRESULT KORFeatureContainer::RemoveFeature(KORFeature& iFeature, bool iAnnounce) {
  if (iFeature.IsDead() || iFeature.Container() != this)
    return E_FAIL;
  if (iFeature.IsBeingRemoved())
    return S_OK;
  KORFeatureStore& store = _document->Store();
  KORFeatureStore::Operation operation(store);
  if (!operation)
    return E_FAIL;
  KORSmartPtr<KORFeature> keep(&iFeature);
  iFeature.SetBeingRemoved(true);
  std::vector<KORSmartPtr<KORFeature>> children;
  for (KORFeature* child : iFeature.Children())
    children.emplace_back(child);
  for (const auto& child : children)
    if (!child->IsDead())
      KORRemoveByLifeCycle(*child);
  if (KORFeature* father = iFeature.Father())
    for (const KORAttributeDef& attribute : father->Type().attributes)
      if (attribute.aggregating && FAILED(father->RemoveLink(attribute.key.c_str(), &iFeature)))
        KORTrace("KORFeatureStore").Write("cannot unhook " + iFeature.Uuid().ToText());
  if (iAnnounce) {
    KORDelete deleted(iFeature.Identity());
    KORAnnounce(deleted, iFeature.Identity());
  }
  // Announced while still connected, so that the announcement can travel.
  iFeature.AnnounceDeath();
  iFeature.SetBeingRemoved(false);
  store.Write(KORStoreStep(KORStepKind::Remove, keep.get()));
  return S_OK;
}

void KORFeatureContainer::DiscardDead(const std::unordered_set<const KORFeature*>& iKeep) {
  // Disposing drops the feature's values, which may release others: move the
  // discarded ones out first and let them go last.
  auto discard = [&](const KORSmartPtr<KORFeature>& iFeature) {
    return iFeature->IsDead() && !iKeep.count(iFeature.get());
  };
  std::vector<KORSmartPtr<KORFeature>> discarded;
  std::copy_if(_features.begin(), _features.end(), std::back_inserter(discarded), discard);
  std::erase_if(_features, discard);
  for (const auto& feature : discarded)
    feature->Dispose();
}

void KORFeatureContainer::Dispose() {
  if (IsDead())
    return;
  MarkDead();
  for (const auto& feature : _features)
    feature->Dispose();
  auto features = std::move(_features);
  _features.clear();
  Dispatcher().Clear();
  DisposeExtensions();
}

KORRootContainer::KORRootContainer(KORDocument& iDocument)
    : KORImplementationOf(LateTypeName), _document(&iDocument) {}

HRESULT KORRootContainer::ListContainers(const KORIID& iIID, KORListValKORBaseUnknown_var** oList) {
  if (!oList)
    return E_FAIL;
  *oList = ListAnswering(_containers, iIID);
  return S_OK;
}

KORFeatureContainer* KORRootContainer::AddContainer(const std::string& iType,
                                                    const std::string& iSuperType) {
  if (IsDead() || iType.empty() || !KORLateType::Declare(iType, iSuperType))
    return nullptr;
  auto* container = new KORFeatureContainer(*_document, iType, iSuperType);
  _containers.emplace_back(container);
  return container;
}

HRESULT KORRootContainer::CreateContainer(const char* iType, const char* iSuperType,
                                          KORIContainer** oContainer) {
  if (!oContainer || !iType || !iSuperType)
    return E_FAIL;
  *oContainer = AddContainer(iType, iSuperType);
  if (!*oContainer)
    return E_FAIL;
  (*oContainer)->AddRef();
  return S_OK;
}

HRESULT KORRootContainer::Redraw() {
  _document->NotifyRedraw(Identity());
  return S_OK;
}

void KORRootContainer::Dispose() {
  if (IsDead())
    return;
  MarkDead();
  for (const auto& container : _containers)
    container->Dispose();
  auto containers = std::move(_containers);
  _containers.clear();
  Dispatcher().Clear();
  DisposeExtensions();
}
