#pragma once
// What the specification tree asks of an object: the label of its node and
// its children in order. Both return a new list that the caller deletes;
// GetChildren returns null when the object has no children.
#include "system/KORList.h"

class KORINavigateObject : public KORBaseUnknown {
  KOR_INTERFACE(KORINavigateObject, KORBaseUnknown)
public:
  virtual KORListValKORUnicodeString* GetIdentificators() = 0;
  virtual KORListValKORBaseUnknown_var* GetChildren() = 0;
};
KOR_DECLARE_VAR(KORINavigateObject)
