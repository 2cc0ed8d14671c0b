#pragma once
// The module's workbench factory, attached to the application frame: it
// makes the workbench "KORVrcWorkbench" (and nothing else) when the host asks
// for it by name.
#include "command/KORWorkshop.h"

class KORIVrcWorkbenchFactory : public KORIGenericFactory {
  KOR_INTERFACE(KORIVrcWorkbenchFactory, KORIGenericFactory)
};
KOR_DECLARE_VAR(KORIVrcWorkbenchFactory)
