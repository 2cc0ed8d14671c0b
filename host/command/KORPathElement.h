#pragma once
// The notification of a pick in a viewer or the tree.
#include "command/KORCommandNotification.h"
#include "math/KORMathPoint.h"
#include "objectmodel/KORPathElement.h"

#include <optional>

// A pick in a viewer or in the tree: the path of the picked element and,
// from a viewer, the model point under the cursor.
class KORPickNotification : public KORCommandNotification {
public:
  static constexpr const char* ClassName = "KORPickNotification";
  KORPickNotification(KORPathElement iPath, std::optional<KORMathPoint> iPoint)
      : KORCommandNotification(ClassName), _path(std::move(iPath)), _point(iPoint) {}
  const KORPathElement& GetPath() const { return _path; }
  const std::optional<KORMathPoint>& GetPoint() const { return _point; }

private:
  KORPathElement _path;
  std::optional<KORMathPoint> _point;
};
