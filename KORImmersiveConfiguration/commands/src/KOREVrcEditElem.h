#pragma once
// The edit action of every element: starts the command of the element's kind
// with the element as its argument, and returns no command of its own. An
// element of a kind without command (viewport, region, ...) starts nothing.
#include "command/KORIEdit.h"

class KOREVrcEditElem : public KORExtIEdit<KORIEdit> {
public:
  KORCommand* Activate(KORPathElement* iPath) override;
};
