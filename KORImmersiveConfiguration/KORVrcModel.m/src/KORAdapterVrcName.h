#pragma once
// The identity operations of every element kind, written once: the user name
// in the string attribute "Name". Each kind's extension derives from
// KORAdapterVrcName<its interface...> and adds Reconnect and its own operations.
#include "KORVrcElementAccess.h"
#include "featurestore/KORIRedrawEvent.h"
#include "objectmodel/KORExtension.h"

template <class... Interfaces> class KORAdapterVrcName : public KORExtensionOf<Interfaces...> {
public:
  HRESULT SetName(const KORUnicodeString& iName) override {
    KORBaseUnknown* self = this->GetImpl();
    // An empty name is stored as this text, whatever the kind of element.
    const KORUnicodeString stored = iName.empty() ? KORUnicodeString("Tracking Station") : iName;
    HRESULT result = KORVrcAccess::SetString(self, "Name", stored, KORVrcAccess::Notify::Yes);
    if (SUCCEEDED(result))
      KORVrcAccess::Redraw(self);
    return result;
  }
  HRESULT GetName(KORUnicodeString& oName) override {
    return KORVrcAccess::GetString(this->GetImpl(), "Name", oName);
  }
};
