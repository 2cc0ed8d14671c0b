#pragma once
// Asks the document's views (the specification tree) to redraw the node of
// an object.
#include "objectmodel/KORBaseUnknown.h"

class KORIRedrawEvent : public KORBaseUnknown {
  KOR_INTERFACE(KORIRedrawEvent, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT Redraw() = 0;
};
