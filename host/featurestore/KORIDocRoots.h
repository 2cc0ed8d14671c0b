#pragma once
// The roots of a document: the objects a path into the document starts
// with. A design document is its own single root (the product).
#include "system/KORList.h"

class KORIDocRoots : public KORBaseUnknown {
  KOR_INTERFACE(KORIDocRoots, KORBaseUnknown)
public:
  // A new list (the caller deletes it) of the roots, first root first.
  virtual KORListValKORBaseUnknown_var* GiveDocRoots() = 0;
};
KOR_DECLARE_VAR(KORIDocRoots)
