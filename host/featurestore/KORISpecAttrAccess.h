#pragma once
// Attributes of a feature by key, as the feature's type declares them.
//
// Every operation fails (E_FAIL) when the type has no attribute of that key or
// of that value type, and on a removed feature. Every change goes through the
// document's store (KORFeatureStore.h): while undo, redo or an abort replays
// a transaction, setters fail. A getter also fails while the attribute has no value (it
// was declared without default and never set) and leaves its output as it
// was. Links are references by identity: a link to a removed feature no longer
// resolves. Positions in link lists are 1-based. Setting a link or appending
// to an aggregating attribute makes this feature the father of the linked one;
// a feature already aggregated by another father, or one that would become its
// own ancestor, is refused.
#include "objectmodel/KORSmartPtr.h"
#include "system/KORList.h"

#include <vector>

class KORISpecObject;

// Writes a new text into oText (see RenewStringAt).
using KORTextMaker = void (*)(KORUnicodeString& oText);

class KORISpecAttrAccess : public KORBaseUnknown {
  KOR_INTERFACE(KORISpecAttrAccess, KORBaseUnknown)
public:
  virtual bool HasAttribute(const char* iKey) = 0;
  virtual bool IsValued(const char* iKey) = 0;

  [[nodiscard]] virtual HRESULT GetInteger(const char* iKey, int& oValue) = 0;
  [[nodiscard]] virtual HRESULT SetInteger(const char* iKey, int iValue) = 0;
  [[nodiscard]] virtual HRESULT GetDouble(const char* iKey, double& oValue) = 0;
  [[nodiscard]] virtual HRESULT SetDouble(const char* iKey, double iValue) = 0;
  [[nodiscard]] virtual HRESULT GetString(const char* iKey, KORUnicodeString& oValue) = 0;
  [[nodiscard]] virtual HRESULT SetString(const char* iKey, const KORUnicodeString& iValue) = 0;
  // The position of attribute iKey in the feature's type, or -1 when it has
  // none; it never changes for the feature. A caller writing one attribute
  // again and again keeps it and writes through SetStringAt, without a
  // search by key.
  virtual int GetAttributeIndex(const char* iKey) = 0;
  // SetString for the attribute at iIndex (GetAttributeIndex).
  [[nodiscard]] virtual HRESULT SetStringAt(int iIndex, const KORUnicodeString& iValue) = 0;
  // Gives the text attribute at iIndex a new value that iMake writes, made
  // only when it is needed: when the attribute is next read or saved, or the
  // open transaction goes on with another write, a savepoint, its commit or
  // its abort. Renewing it again and again in between costs no text. The
  // store's listeners hear of each renewal as of a write. Without an open
  // transaction that wrote the attribute already, the text is made and
  // written at once (SetStringAt).
  [[nodiscard]] virtual HRESULT RenewStringAt(int iIndex, KORTextMaker iMake) = 0;
  [[nodiscard]] virtual HRESULT GetIntegers(const char* iKey, KORRawCollint& oValues) = 0;
  [[nodiscard]] virtual HRESULT SetIntegers(const char* iKey, const KORRawCollint& iValues) = 0;
  [[nodiscard]] virtual HRESULT GetDoubles(const char* iKey, std::vector<double>& oValues) = 0;
  [[nodiscard]] virtual HRESULT SetDoubles(const char* iKey,
                                           const std::vector<double>& iValues) = 0;

  // Single link: fails when there is none or it does not resolve.
  [[nodiscard]] virtual HRESULT GetLink(const char* iKey, KORISpecObject** oFeature) = 0;
  // A null feature removes the link.
  [[nodiscard]] virtual HRESULT SetLink(const char* iKey, KORISpecObject* iFeature) = 0;

  // Link lists.
  [[nodiscard]] virtual HRESULT AppendLink(const char* iKey, KORISpecObject* iFeature) = 0;
  [[nodiscard]] virtual HRESULT GetLinkCount(const char* iKey, int& oCount) = 0;
  // Fails for an empty position or an entry that no longer resolves.
  [[nodiscard]] virtual HRESULT GetLinkAt(const char* iKey, int iPosition,
                                          KORISpecObject** oFeature) = 0;
  // oPosition is the 1-based position of iFeature, 0 when it is not listed.
  [[nodiscard]] virtual HRESULT LocateLink(const char* iKey, KORISpecObject* iFeature,
                                           int& oPosition) = 0;
  // Leaves an empty entry at iPosition. Of an aggregating attribute, the
  // entry's feature is removed with its children unless it gets another
  // father within the same transaction (see KORFeatureStore.h); the same holds
  // for RemoveLink and for SetLink replacing an aggregated feature.
  [[nodiscard]] virtual HRESULT EmptyPosition(const char* iKey, int iPosition) = 0;
  // Removes every entry of iFeature from a list, or clears a single link to it.
  [[nodiscard]] virtual HRESULT RemoveLink(const char* iKey, KORISpecObject* iFeature) = 0;
  // A new list of the resolving entries that answer iIID, in list order; each
  // entry holds that interface (ask it with KORQuery to use it).
  [[nodiscard]] virtual HRESULT ListLinks(const char* iKey, const KORIID& iIID,
                                          KORListValKORBaseUnknown_var** oList) = 0;
};
KOR_DECLARE_VAR(KORISpecAttrAccess)
