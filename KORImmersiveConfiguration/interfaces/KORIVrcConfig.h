#pragma once
// The configuration root: it aggregates the graphic resources, graphic
// specifications and devices branches, lists every rendering and carries the
// configuration's UUID ("ConfigID", made on first GetID and renewed by every
// model event that reaches the root). Accessors follow the conventions written
// in KORIVrcElement.h.
#include "featurestore/KORUuid.h"
#include "interfaces/KORIVrcElement.h"
#include "system/KORList.h"

class KORIVrcGraphicResources;
class KORIVrcGraphicSpecs;
class KORIVrcDevices;
class KORIVrcRendering;

class KORIVrcConfig : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcConfig, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT SetGraphicResources(KORIVrcGraphicResources* iGraphicResources) = 0;
  [[nodiscard]] virtual HRESULT
  GetGraphicResources(KORIVrcGraphicResources** oGraphicResources) = 0;
  [[nodiscard]] virtual HRESULT SetGraphicSpecs(KORIVrcGraphicSpecs* iGraphicSpecs) = 0;
  [[nodiscard]] virtual HRESULT GetGraphicSpecs(KORIVrcGraphicSpecs** oGraphicSpecs) = 0;
  [[nodiscard]] virtual HRESULT SetDevices(KORIVrcDevices* iDevices) = 0;
  [[nodiscard]] virtual HRESULT GetDevices(KORIVrcDevices** oDevices) = 0;
  [[nodiscard]] virtual HRESULT GetRenderings(KORListValKORBaseUnknown_var** oList) = 0;
  [[nodiscard]] virtual HRESULT AddRendering(KORIVrcRendering* iRendering) = 0;
  [[nodiscard]] virtual HRESULT RemoveRendering(KORIVrcRendering* iRendering) = 0;
  [[nodiscard]] virtual HRESULT GetID(KORUuid& oID) = 0;
  [[nodiscard]] virtual HRESULT SetID(KORUuid iID) = 0;
};
KOR_DECLARE_VAR(KORIVrcConfig)
