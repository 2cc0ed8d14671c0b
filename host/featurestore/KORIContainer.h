#pragma once
// A container of a document. Feature containers hold features, the root
// container of a document holds the other containers (KORICompoundContainer).
#include "system/KORList.h"

class KORIContainer : public KORBaseUnknown {
  KOR_INTERFACE(KORIContainer, KORBaseUnknown)
public:
  virtual const char* GetTypeName() = 0;
  virtual bool IsAKindOf(const char* iType) = 0;
  // A new list of the container's features that answer iIID, in creation
  // order; each entry holds that interface.
  [[nodiscard]] virtual HRESULT ListMembers(const KORIID& iIID,
                                            KORListValKORBaseUnknown_var** oList) = 0;
  // The first feature, in creation order, that answers iIID (as that
  // interface, with a reference); fails when none does.
  [[nodiscard]] virtual HRESULT FindFirstMember(const KORIID& iIID, void** oMember) = 0;
  [[nodiscard]] virtual HRESULT SpecBindNativeFormat(const char* iFormat) = 0;
  virtual KORString GetNativeFormat() = 0;
};
KOR_DECLARE_VAR(KORIContainer)

class KORICompoundContainer : public KORBaseUnknown {
  KOR_INTERFACE(KORICompoundContainer, KORBaseUnknown)
public:
  // A new list of the sub-containers that answer iIID, in creation order.
  [[nodiscard]] virtual HRESULT ListContainers(const KORIID& iIID,
                                               KORListValKORBaseUnknown_var** oList) = 0;
};

class KORIFactoryOfContainers : public KORBaseUnknown {
  KOR_INTERFACE(KORIFactoryOfContainers, KORBaseUnknown)
public:
  // A new feature container of late type iType deriving from iSuperType.
  [[nodiscard]] virtual HRESULT CreateContainer(const char* iType, const char* iSuperType,
                                                KORIContainer** oContainer) = 0;
};

class KORIUserId : public KORBaseUnknown {
  KOR_INTERFACE(KORIUserId, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT SetUserId(const KORString& iId) = 0;
  [[nodiscard]] virtual HRESULT GetUserId(KORString& oId) = 0;
};

// Feature catalogs opened in a container: their types can be instantiated there.
class KORICatalogManager : public KORBaseUnknown {
  KOR_INTERFACE(KORICatalogManager, KORBaseUnknown)
public:
  // Reads the catalog resource "<iCatalogName>" on first use; fails (with the
  // reason in the trace of the feature store) when it cannot be read.
  [[nodiscard]] virtual HRESULT OpenCatalog(const char* iCatalogName) = 0;
  [[nodiscard]] virtual HRESULT ListCatalogs(KORListValKORUnicodeString& oNames) = 0;
};

// The project flags stored with the container when its document was last saved.
class KORIStoredProjectFlag : public KORBaseUnknown {
  KOR_INTERFACE(KORIStoredProjectFlag, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT GetStoredFlags(KORListValKORUnicodeString& oFlags) = 0;
};

// Flags a container gives to be stored on save and read back on load.
// Implemented by the module owning the container type.
class KORIProjectFlag : public KORBaseUnknown {
  KOR_INTERFACE(KORIProjectFlag, KORBaseUnknown)
public:
  // New lists; the caller deletes them.
  virtual KORListValKORUnicodeString* GetFlagOnWriteEvent() = 0;
  virtual KORListValKORUnicodeString* GetFlagOnReadEvent() = 0;
};

// Initialisation of a container when its document is loaded or initialised.
// Implemented by the module owning the container type.
class KORInit : public KORBaseUnknown {
  KOR_INTERFACE(KORInit, KORBaseUnknown)
public:
  virtual void Init(bool iDestroyExistingData) = 0;
  virtual KORBaseUnknown* GetRootContainer(const char* iInterfaceID) = 0;
};

class KORISpecObject;
class KORIStartUp : public KORBaseUnknown {
  KOR_INTERFACE(KORIStartUp, KORBaseUnknown)
public:
  virtual const char* GetTypeName() = 0;
  // A new feature of the prototype's type in iContainer, named iName.
  [[nodiscard]] virtual HRESULT Instantiate(KORIContainer* iContainer,
                                            const KORUnicodeString& iName,
                                            KORISpecObject** oFeature) = 0;
};
KOR_DECLARE_VAR(KORIStartUp)

// The prototype of startup name iStartupName and type iTypeName among the
// catalogs open in iContainer; iInterfaceName names the interface the caller
// expects of its instances (informative).
HRESULT KORFindStartUp(KORIContainer* iContainer, const char* iInterfaceName,
                       const char* iStartupName, const char* iTypeName, KORIStartUp** oStartUp);
