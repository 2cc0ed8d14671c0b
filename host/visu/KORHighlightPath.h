#pragma once
// A highlight path: the path that was selected (from the document's first
// root, when it comes from a viewer) and the reps that show it selected.
#include "objectmodel/KORPathElement.h"
#include "visu/KORRep.h"

#include <vector>

struct KORHighlightPath {
  KORPathElement path;
  std::vector<KORRep_var> reps;

  void Add(KORRep* iRep) {
    if (iRep)
      reps.emplace_back(iRep);
  }
};
