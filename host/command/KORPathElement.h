#pragma once
// A path: the objects from a root to the element a person picked or selected
// (for example the document's root, the configuration, a station, a tracker).
#include "command/KORCommandNotification.h"
#include "math/KORMathPoint.h"
#include "objectmodel/KORSmartPtr.h"

#include <optional>
#include <vector>

class KORPathElement {
public:
  KORPathElement() = default;
  KORPathElement(std::initializer_list<KORBaseUnknown*> iObjects) {
    for (KORBaseUnknown* object : iObjects)
      Append(object);
  }

  void Append(KORBaseUnknown* iObject) { _objects.emplace_back(iObject); }
  int GetSize() const { return static_cast<int>(_objects.size()); }
  bool IsEmpty() const { return _objects.empty(); }
  // 0-based position from the root.
  KORBaseUnknown* GetObject(int iPosition) const { return _objects[iPosition].get(); }
  // The picked element itself, or null for an empty path.
  KORBaseUnknown* GetLastElement() const {
    return _objects.empty() ? nullptr : _objects.back().get();
  }

private:
  std::vector<KORBaseUnknown_var> _objects;
};

// A pick in a viewer or in the tree: the path of the picked element and,
// from a viewer, the model point under the cursor.
class KORPickNotification : public KORCommandNotification {
public:
  static constexpr const char* ClassName = "KORPickNotification";
  KORPickNotification(KORPathElement iPath, std::optional<KORMathPoint> iPoint)
      : _path(std::move(iPath)), _point(iPoint) {}
  const char* GetNotificationName() const override { return ClassName; }
  const KORPathElement& GetPath() const { return _path; }
  const std::optional<KORMathPoint>& GetPoint() const { return _point; }

private:
  KORPathElement _path;
  std::optional<KORMathPoint> _point;
};
