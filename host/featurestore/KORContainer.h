#pragma once
// The containers of a document: the root container, a compound container
// holding the others, and the feature containers holding features.
#include "featurestore/KORFeature.h"
#include "featurestore/KORIContainer.h"

#include <unordered_set>

class KORDocument;

class KORFeatureContainer final
    : public KORImplementationOf<KORFeatureContainer, KORIContainer, KORIUserId, KORICatalogManager,
                                 KORIStoredProjectFlag, KORIRedrawEvent, KORILinkableObject>,
      public KORModelObject {
public:
  // KORIContainer
  const char* GetTypeName() override { return GetLateType()->Name().c_str(); }
  bool IsAKindOf(const char* iType) override { return KORImplementation::IsAKindOf(iType); }
  HRESULT ListMembers(const KORIID& iIID, KORListValKORBaseUnknown_var** oList) override;
  HRESULT FindFirstMember(const KORIID& iIID, void** oMember) override;
  HRESULT SpecBindNativeFormat(const char* iFormat) override;
  KORString GetNativeFormat() override { return _nativeFormat; }
  // KORIUserId
  HRESULT SetUserId(const KORString& iId) override;
  HRESULT GetUserId(KORString& oId) override;
  // KORICatalogManager
  HRESULT OpenCatalog(const char* iCatalogName) override;
  HRESULT ListCatalogs(KORListValKORUnicodeString& oNames) override;
  // KORIStoredProjectFlag
  HRESULT GetStoredFlags(KORListValKORUnicodeString& oFlags) override;
  // KORIRedrawEvent
  HRESULT Redraw() override;
  // KORILinkableObject
  KORDocument* GetDocument() override { return _document; }

  // Store internals.
  const std::string& SuperType() const { return _superType; }
  const std::vector<KORSmartPtr<KORFeature>>& Features() const { return _features; }
  const KORListValKORUnicodeString& Catalogs() const { return _catalogs; }
  void SetStoredFlags(KORListValKORUnicodeString iFlags) { _storedFlags = std::move(iFlags); }
  // A new feature of iType (its catalog must be open here); a null iUuid makes
  // a fresh identifier. Null while the store refuses writes.
  KORFeature* NewFeature(const KORFeatureType& iType, const KORUnicodeString& iName,
                         const KORUuid* iUuid = nullptr);
  // Removes iFeature and its aggregated children, through the write path.
  // Each child is removed first, by its own LifeCycleObject (so that its
  // module's removal behaviour runs). Then iFeature is unhooked from its
  // father, a deletion event is sent when iAnnounce is set, its death
  // callbacks run (it is still connected, so that announcements travel) and
  // it dies.
  HRESULT RemoveFeature(KORFeature& iFeature, bool iAnnounce = false);
  // The document closes: every feature leaves it without announcement.
  void Dispose();
  KORFeature* FindFeature(const KORUuid& iUuid) const;
  // Disposes the dead features that iKeep does not hold (those the recorded
  // history may bring back) and forgets them.
  void DiscardDead(const std::unordered_set<const KORFeature*>& iKeep);

private:
  friend class KORRootContainer;
  KORFeatureContainer(KORDocument& iDocument, const std::string& iType,
                      const std::string& iSuperType);
  ~KORFeatureContainer() override;

  KORDocument* _document;
  std::string _superType;
  KORString _userId;
  KORString _nativeFormat;
  KORListValKORUnicodeString _catalogs;
  KORListValKORUnicodeString _storedFlags;
  std::vector<KORSmartPtr<KORFeature>> _features;
  std::uint64_t _nextSequence = 0;
};

// Removes iFeature by its own removal behaviour (its LifeCycleObject), or by
// the store's when it has none or that one leaves it alive.
void KORRemoveByLifeCycle(KORFeature& iFeature);

class KORRootContainer final
    : public KORImplementationOf<KORRootContainer, KORICompoundContainer, KORIFactoryOfContainers,
                                 KORIRedrawEvent, KORILinkableObject>,
      public KORModelObject {
public:
  static constexpr const char* LateTypeName = "KORRootCont";

  // KORICompoundContainer
  HRESULT ListContainers(const KORIID& iIID, KORListValKORBaseUnknown_var** oList) override;
  // KORIFactoryOfContainers
  HRESULT CreateContainer(const char* iType, const char* iSuperType,
                          KORIContainer** oContainer) override;
  // KORIRedrawEvent
  HRESULT Redraw() override;
  // KORILinkableObject
  KORDocument* GetDocument() override { return _document; }

  const std::vector<KORSmartPtr<KORFeatureContainer>>& Containers() const { return _containers; }
  // Null when iType cannot derive from iSuperType.
  KORFeatureContainer* AddContainer(const std::string& iType, const std::string& iSuperType);
  void Dispose();

private:
  friend class KORDocument;
  explicit KORRootContainer(KORDocument& iDocument);
  KORDocument* _document;
  std::vector<KORSmartPtr<KORFeatureContainer>> _containers;
};
