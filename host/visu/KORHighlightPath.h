#pragma once
// Paths and highlights. A path element is the chain of objects from a root
// (the document's first root, when the path comes from a viewer) down to one
// element: what a pick yields and what a command agent receives. A highlight
// path is the path that was selected and the reps that show it selected.
#include "visu/KORRep.h"

#include <vector>

struct KORPathElement {
  std::vector<KORBaseUnknown_var> objects; // identities, the root first

  int Size() const { return static_cast<int>(objects.size()); }
  KORBaseUnknown* Last() const { return objects.empty() ? nullptr : objects.back().get(); }
  // Appends iObject's identity.
  void Append(KORBaseUnknown* iObject);
};

struct KORHighlightPath {
  KORPathElement path;
  std::vector<KORRep_var> reps;

  void Add(KORRep* iRep) {
    if (iRep)
      reps.emplace_back(iRep);
  }
};
