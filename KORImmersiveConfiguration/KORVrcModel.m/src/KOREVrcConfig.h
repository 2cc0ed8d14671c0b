#pragma once
// The configuration root's behaviour over its feature: the three branches,
// the renderings list and the configuration's UUID.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcConfig.h"

class KOREVrcConfig : public KORAdapterVrcName<KORIVrcConfig> {
public:
  HRESULT Reconnect() override;

  HRESULT SetGraphicResources(KORIVrcGraphicResources* iGraphicResources) override;
  HRESULT GetGraphicResources(KORIVrcGraphicResources** oGraphicResources) override;
  HRESULT SetGraphicSpecs(KORIVrcGraphicSpecs* iGraphicSpecs) override;
  HRESULT GetGraphicSpecs(KORIVrcGraphicSpecs** oGraphicSpecs) override;
  HRESULT SetDevices(KORIVrcDevices* iDevices) override;
  HRESULT GetDevices(KORIVrcDevices** oDevices) override;
  HRESULT GetRenderings(KORListValKORBaseUnknown_var** oList) override;
  HRESULT AddRendering(KORIVrcRendering* iRendering) override;
  HRESULT RemoveRendering(KORIVrcRendering* iRendering) override;
  HRESULT GetID(KORUuid& oID) override;
  HRESULT SetID(KORUuid iID) override;

  // A model event reached the root: the identifier is renewed, its new
  // value made when it is next read (or the edit goes on), as an event may
  // reach the root hundreds of times before anything reads it.
  HRESULT RenewID();

private:
  // Stores a new identifier without ending the document's undo history.
  HRESULT MakeID();
  // Finds the identifier's attribute on first use; false without one.
  bool FindIDAttribute();

  // Renewed on every model event that reaches the root: the text goes through
  // storage kept from the last renewal rather than a fresh string, into the
  // attribute found on the first renewal (the feature's own interface, not
  // counted: it lives as long as this extension; and the attribute's
  // position, which spares a search by key per renewal).
  KORUnicodeString _idText;
  KORISpecAttrAccess* _attributes = nullptr;
  int _idIndex = -1;
};
