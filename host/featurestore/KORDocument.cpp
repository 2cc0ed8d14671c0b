#include "featurestore/KORDocument.h"

#include "featurestore/KORLifeCycleObject.h"
#include "featurestore/KORStandardModelEvents.h"
#include "objectmodel/KORExtensionDictionary.h"

#include <algorithm>

void KORRegisterHostComponents() {
  static const KORLateTypeRow lateTypes[] = {
      {"KORFeature", ""},
      {"KORFeatCont", ""},
      {KORRootContainer::LateTypeName, ""},
      {KORDocument::LateTypeName, ""},
  };
  static const KORExtensionRow extensions[] = {
      {"KORFeature", "KORStandardModelEvents", KORIModelEvents::IID, KORExtensionKind::Code,
       &KORMakeExtension<KORStandardModelEvents>},
      {"KORFeature", "KORStandardLifeCycle", LifeCycleObject::IID, KORExtensionKind::Code,
       &KORMakeExtension<KORStandardLifeCycle>},
      {"KORFeatCont", "KORStandardModelEvents", KORIModelEvents::IID, KORExtensionKind::Code,
       &KORMakeExtension<KORStandardModelEvents>},
      {KORRootContainer::LateTypeName, "KORStandardModelEvents", KORIModelEvents::IID,
       KORExtensionKind::Code, &KORMakeExtension<KORStandardModelEvents>},
  };
  static const KORModuleTable table{"KORHost", lateTypes, extensions, {}};
  static const bool registered = [] {
    std::string error;
    return KORExtensionDictionary::Get().Register(table, error);
  }();
  KORIgnoreResult(registered, "the host's own table is fixed; its registration is tested");
}

KORSmartPtr<KORDocument> KORDocument::Create() {
  KORRegisterHostComponents();
  return KORSmartPtr<KORDocument>(new KORDocument());
}

KORDocument::KORDocument()
    : KORImplementationOf(LateTypeName), _root(new KORRootContainer(*this)) {}

KORDocument::~KORDocument() {
  MarkDead();
  _root->Dispose();
  // After the features left: the history holds references to them.
  _store.Clear();
  Dispatcher().Clear();
  DisposeExtensions();
}

HRESULT KORDocument::GetRootContainer(KORBaseUnknown** oRoot) {
  if (!oRoot)
    return E_FAIL;
  *oRoot = _root->Identity();
  (*oRoot)->AddRef();
  return S_OK;
}

void KORDocument::AddTransactionsOnNewContainers(KORBaseUnknown* iContainer) {
  if (iContainer)
    ++_undoContainers;
}

int KORDocument::AddRedrawListener(RedrawListener iListener) {
  _redrawListeners.emplace_back(_nextListenerId, std::move(iListener));
  return _nextListenerId++;
}

void KORDocument::RemoveRedrawListener(int iListenerId) {
  std::erase_if(_redrawListeners, [&](const auto& entry) { return entry.first == iListenerId; });
}

void KORDocument::NotifyRedraw(KORBaseUnknown* iObject) {
  ++_redrawCount;
  auto listeners = _redrawListeners;
  for (auto& [id, listener] : listeners)
    listener(iObject);
}

HRESULT KORStandardRemove(KORBaseUnknown* iFeature, bool iAnnounce) {
  KORFeature* feature = KORFeature::From(iFeature);
  if (!feature)
    return E_FAIL;
  return feature->Container()->RemoveFeature(*feature, iAnnounce);
}
