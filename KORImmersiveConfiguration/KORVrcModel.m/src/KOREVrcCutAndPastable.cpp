#include "KOREVrcCutAndPastable.h"

#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcDevices.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcGraphicSpecs.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"

#include <cstring>

HRESULT KOREVrcCutAndPastable::CommandIsAvailable(const char* iCommandName,
                                                  const KORCSO* /*iSelection*/) {
  KORBaseUnknown* self = GetImpl();
  const bool fixed = KORQuery<KORIVrcHead>(self) || KORQuery<KORIVrcConfig>(self) ||
                     KORQuery<KORIVrcGraphicResources>(self) ||
                     KORQuery<KORIVrcGraphicSpecs>(self) || KORQuery<KORIVrcDevices>(self) ||
                     KORQuery<KORIVrcHandDevice>(self);
  if (fixed || !iCommandName)
    return E_FAIL;
  return std::strcmp(iCommandName, "Delete") == 0 ? S_OK : E_FAIL;
}

HRESULT KOREVrcCutAndPastable::AvailableElements(const char* /*iCommandName*/,
                                                 const KORCSO* /*iSelection*/,
                                                 KORListValKORBaseUnknown_var** oElements) {
  if (oElements)
    *oElements = nullptr;
  return E_FAIL;
}
