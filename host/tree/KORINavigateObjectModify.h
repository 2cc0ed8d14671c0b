#pragma once
// What an object shown in the specification tree says when it is picked
// there: the path the command agents receive. Without it the tree gives the
// path of the picked node from the tree's top.
#include "objectmodel/KORPathElement.h"

class KORINavigateObjectModify : public KORBaseUnknown {
  KOR_INTERFACE(KORINavigateObjectModify, KORBaseUnknown)
public:
  // A new path (the caller deletes it), or null when none can be made.
  // oDecodeNextElement says whether the tree should go on decoding the
  // nodes below this one (false: the path is complete).
  virtual KORPathElement* DecodeSentCommand(unsigned char& oDecodeNextElement) = 0;
};
