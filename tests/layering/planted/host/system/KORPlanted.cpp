// A host source that knows the module: both lines below must be reported.
#include "interfaces/KORIVrcConfig.h"
void KORPlanted() { KORVrcNothing(); }
