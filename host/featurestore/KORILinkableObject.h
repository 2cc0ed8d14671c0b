#pragma once
// The document an object belongs to.
#include "objectmodel/KORBaseUnknown.h"

class KORDocument;

class KORILinkableObject : public KORBaseUnknown {
  KOR_INTERFACE(KORILinkableObject, KORBaseUnknown)
public:
  // The document (no reference added: the document outlives its objects'
  // use), or null once the object left it.
  virtual KORDocument* GetDocument() = 0;
};
