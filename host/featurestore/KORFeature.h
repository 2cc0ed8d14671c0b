#pragma once
// A feature: a typed record of attributes living in a feature container.
#include "featurestore/KORFeatureCatalog.h"
#include "featurestore/KORILinkableObject.h"
#include "featurestore/KORIRedrawEvent.h"
#include "featurestore/KORISpecAttrAccess.h"
#include "featurestore/KORISpecEvents.h"
#include "featurestore/KORISpecObject.h"
#include "featurestore/KORIUuid.h"
#include "featurestore/KORModelObject.h"
#include "objectmodel/KORImplementation.h"

#include <cstdint>
#include <variant>
#include <vector>

class KORFeatureContainer;
class KORFeatureStore;
enum class KORStepKind;

class KORFeature final
    : public KORImplementationOf<KORFeature, KORISpecObject, KORISpecAttrAccess, KORISpecEvents,
                                 KORIRedrawEvent, KORIUuid, KORILinkableObject>,
      public KORModelObject {
public:
  using Links = std::vector<KORSmartPtr<KORFeature>>; // a null entry is an empty position
  // std::monostate: the attribute has no value.
  using Value = std::variant<std::monostate, int, double, std::string, std::vector<int>,
                             std::vector<double>, Links>;

  // KORISpecObject
  const char* GetTypeName() override { return _type->name.c_str(); }
  HRESULT GetFeatureName(KORUnicodeString& oName) override;
  HRESULT GetFather(KORISpecObject** oFather) override;
  HRESULT GetRootFather(KORISpecObject** oRoot) override;
  HRESULT ListChildren(KORListValKORBaseUnknown_var** oChildren) override;
  HRESULT GetContainer(KORIContainer** oContainer) override;
  bool IsDeleted() override { return IsDead(); }
  HRESULT ListReferrers(const char* iKey, const KORIID& iIID,
                        KORListValKORBaseUnknown_var** oList) override;

  // KORISpecAttrAccess
  bool HasAttribute(const char* iKey) override { return _type->Find(iKey) >= 0; }
  bool IsValued(const char* iKey) override;
  HRESULT GetInteger(const char* iKey, int& oValue) override;
  HRESULT SetInteger(const char* iKey, int iValue) override;
  HRESULT GetDouble(const char* iKey, double& oValue) override;
  HRESULT SetDouble(const char* iKey, double iValue) override;
  HRESULT GetString(const char* iKey, KORUnicodeString& oValue) override;
  HRESULT SetString(const char* iKey, const KORUnicodeString& iValue) override;
  int GetAttributeIndex(const char* iKey) override { return iKey ? _type->Find(iKey) : -1; }
  HRESULT SetStringAt(int iIndex, const KORUnicodeString& iValue) override;
  HRESULT RenewStringAt(int iIndex, KORTextMaker iMake) override;
  HRESULT GetIntegers(const char* iKey, KORRawCollint& oValues) override;
  HRESULT SetIntegers(const char* iKey, const KORRawCollint& iValues) override;
  HRESULT GetDoubles(const char* iKey, std::vector<double>& oValues) override;
  HRESULT SetDoubles(const char* iKey, const std::vector<double>& iValues) override;
  HRESULT GetLink(const char* iKey, KORISpecObject** oFeature) override;
  HRESULT SetLink(const char* iKey, KORISpecObject* iFeature) override;
  HRESULT AppendLink(const char* iKey, KORISpecObject* iFeature) override;
  HRESULT GetLinkCount(const char* iKey, int& oCount) override;
  HRESULT GetLinkAt(const char* iKey, int iPosition, KORISpecObject** oFeature) override;
  HRESULT LocateLink(const char* iKey, KORISpecObject* iFeature, int& oPosition) override;
  HRESULT EmptyPosition(const char* iKey, int iPosition) override;
  HRESULT RemoveLink(const char* iKey, KORISpecObject* iFeature) override;
  HRESULT ListLinks(const char* iKey, const KORIID& iIID,
                    KORListValKORBaseUnknown_var** oList) override;

  // KORISpecEvents
  int AddDeathCallback(DeathCallback iCallback) override;
  HRESULT RemoveDeathCallback(int iCallbackId) override;
  // KORIRedrawEvent
  HRESULT Redraw() override;
  // KORIUuid
  HRESULT GetUuid(KORUuid& oUuid) override;
  // KORILinkableObject
  KORDocument* GetDocument() override;

  // Store internals (the container, the write path, persistence).
  const KORFeatureType& Type() const { return *_type; }
  const KORUuid& Uuid() const { return _uuid; }
  const KORUnicodeString& Name() const { return _name; }
  KORFeature* Father() const { return _father; }
  KORFeatureContainer* Container() const { return _container; }
  // With the text a renewal left to be made (RenewStringAt) made.
  const std::vector<Value>& Values() const;
  // Makes the text a renewal left to be made, if any.
  void SettleText();
  // Stores iValue at attribute iIndex through the write path, taking
  // aggregated features as children; iValue must fit the attribute (the
  // caller checked it).
  HRESULT StoreValue(std::size_t iIndex, Value iValue);
  // The same for a document being loaded: while its store is quiet (see
  // KORFeatureStore::IsQuiet) and the attribute holds no links yet, the
  // value is put in place without a step, which nothing would read;
  // otherwise it goes through StoreValue.
  HRESULT LoadValue(std::size_t iIndex, Value iValue);
  std::vector<KORFeature*> Children() const;
  bool IsBeingRemoved() const { return _beingRemoved; }
  void SetBeingRemoved(bool iRemoving) { _beingRemoved = iRemoving; }
  // Leaves the document for good: forgets links, listeners, extensions'
  // references.
  void Dispose();
  // Runs and forgets the death callbacks.
  void AnnounceDeath();
  // The live feature behind an interface pointer, or null.
  static KORFeature* From(KORBaseUnknown* iObject);

private:
  friend class KORFeatureContainer;
  friend class KORFeatureStore;
  KORFeature(KORFeatureContainer& iContainer, const KORFeatureType& iType, KORUnicodeString iName,
             const KORUuid& iUuid, std::uint64_t iSequence);
  ~KORFeature() override;

  KORFeatureStore& Store() const;
  template <class T> HRESULT GetPlain(const char* iKey, KORAttributeType iType, T& oValue);
  HRESULT SetPlain(const char* iKey, KORAttributeType iType, Value iValue);
  // The index of attribute iKey when it holds iType and may be written, or -1.
  int WritableIndex(const char* iKey, KORAttributeType iType) const;
  // iIndex when the attribute there holds iType and may be written, or -1.
  int WritableIndex(int iIndex, KORAttributeType iType) const;
  // The links of attribute iKey if it is a link attribute (of either kind):
  // an attribute without value reads as an empty list.
  const Links* LinksOf(const char* iKey, const KORAttributeDef** oDef = nullptr,
                       std::size_t* oIndex = nullptr) const;
  void WriteEntry(KORStepKind iKind, std::size_t iIndex, std::size_t iPosition,
                  KORFeature* iNewEntry);

  // What the write path makes of a step; nothing is checked or recorded.
  // Returns the previous value.
  Value PutValue(std::size_t iIndex, Value iValue);
  void InsertEntry(std::size_t iIndex, std::size_t iPosition,
                   const KORSmartPtr<KORFeature>& iEntry);
  void EraseEntry(std::size_t iIndex, std::size_t iPosition);
  void ReplaceEntry(std::size_t iIndex, std::size_t iPosition,
                    const KORSmartPtr<KORFeature>& iEntry);
  void Kill() { MarkDead(); }
  void Revive() { MarkAlive(); }

  // Back references: iTarget learns that attribute iAttribute of this
  // feature holds it (once per held entry), or no longer does.
  void Refer(KORFeature* iTarget, std::size_t iAttribute);
  void Unrefer(KORFeature* iTarget, std::size_t iAttribute);
  void UnreferAll(std::size_t iAttribute);
  void ForgetLinks();
  bool CanAggregate(KORFeature& iChild) const;
  void ReleaseChild(KORFeature* iChild);

  KORFeatureContainer* _container;
  const KORFeatureType* _type;
  KORUnicodeString _name;
  KORUuid _uuid;
  KORFeature* _father = nullptr;
  std::uint64_t _sequence;
  std::vector<Value> _values;
  struct Referrer {
    KORFeature* feature;
    std::size_t attribute;
  };
  std::vector<Referrer> _referrers;
  struct Death {
    int id;
    DeathCallback callback;
  };
  std::vector<Death> _deathCallbacks;
  int _nextCallbackId = 1;
  bool _beingRemoved = false;
  // A renewed text not made yet: what makes it, and where it goes.
  KORTextMaker _pendingText = nullptr;
  std::size_t _pendingIndex = 0;
};
