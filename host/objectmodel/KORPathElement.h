#pragma once
// A path: the objects from a root down to one element (for example the
// document, the configuration container, a station, a tracker). It is what a
// pick in a viewer or the tree yields, what a command's agent receives and
// what a highlight follows. Objects are held by their identity.
#include "objectmodel/KORSmartPtr.h"

#include <initializer_list>
#include <vector>

class KORPathElement {
public:
  KORPathElement() = default;
  KORPathElement(std::initializer_list<KORBaseUnknown*> iObjects) {
    for (KORBaseUnknown* object : iObjects)
      Append(object);
  }

  // Appends iObject's identity (null stays null).
  void Append(KORBaseUnknown* iObject) { _objects.push_back(KORQuery<KORBaseUnknown>(iObject)); }
  int GetSize() const { return static_cast<int>(_objects.size()); }
  bool IsEmpty() const { return _objects.empty(); }
  // 0-based position from the root.
  KORBaseUnknown* GetObject(int iPosition) const {
    return _objects[static_cast<std::size_t>(iPosition)].get();
  }
  // The element itself, or null for an empty path.
  KORBaseUnknown* GetLastElement() const {
    return _objects.empty() ? nullptr : _objects.back().get();
  }

private:
  std::vector<KORBaseUnknown_var> _objects;
};
