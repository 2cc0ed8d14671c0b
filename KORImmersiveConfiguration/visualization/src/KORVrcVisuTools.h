#pragma once
// What the visualization extensions share: the looks of the elements, the
// gathering of child reps and the highlight rules.
#include "math/KORMathTransformation.h"
#include "system/KORList.h"
#include "visu/KORIGeoVisu.h"

#include <memory>

namespace KORVrcLook {
constexpr KORGraphicAttribute Outline{0xFD043410u, 0x000000FFu};
constexpr KORGraphicAttribute Thin{0xFD041410u, 0x000000FFu};
constexpr KORGraphicAttribute Cross{0xFD041A30u, 0x000000FFu};
constexpr KORGraphicAttribute Dot{0xFD041F30u, 0x000000FFu};
constexpr KORGraphicAttribute ScreenDefault{0xFD040410u, 0x000000FFu};
constexpr KORGraphicAttribute Fill{0x14042490u, 0x000000B3u};
constexpr KORGraphicAttribute TrackerAxes{0xFD042410u, 0x000000FFu};
constexpr KORGraphicAttribute TrackerOffBest{0xCA102410u, 0x000000FFu};
constexpr KORGraphicAttribute CameraFrame{0xFD043400u, 0x000000FFu};
constexpr KORGraphicAttribute CameraLines{0xFD041400u, 0x000000FFu};
} // namespace KORVrcLook

namespace KORVrcVisu {

Eigen::Vector3d ToEigen(const KORMathPoint& iPoint);
Eigen::Vector3d ToEigen(const KORMathVector& iVector);
// The 4x4 placement of a transformation, coefficients in single precision.
Eigen::Matrix4d Placement(const KORMathTransformation& iTransformation);

// A list read by iGetter (null when it cannot be obtained).
template <class Owner>
std::unique_ptr<KORListValKORBaseUnknown_var>
ReadList(Owner* iOwner, HRESULT (Owner::*iGetter)(KORListValKORBaseUnknown_var**)) {
  KORListValKORBaseUnknown_var* list = nullptr;
  if (!iOwner || FAILED((iOwner->*iGetter)(&list)))
    return nullptr;
  return std::unique_ptr<KORListValKORBaseUnknown_var>(list);
}
// A new list of the feature's direct children, in order (null without).
std::unique_ptr<KORListValKORBaseUnknown_var> FeatureChildren(KORBaseUnknown* iElement);

// Adds to iBag the rep of each listed element that has one and, when
// iBagsOnly, is a bag of iBag's own kind.
void GatherChildren(KORVisBuildContext& iContext, const KORListValKORBaseUnknown_var* iList,
                    KORBagRep& ioBag, bool iBagsOnly = false);

// Adds to ioBag the rep of each of iElement's child features that answers
// iKind and has a rep, in the children's order.
void GatherChildFeatures(KORVisBuildContext& iContext, KORBaseUnknown* iElement,
                         const KORIID& iKind, KORBagRep& ioBag);
// Adds to ioBag the reps of the configurations held in iContainer.
void GatherConfigurations(KORVisBuildContext& iContext, KORBaseUnknown* iContainer,
                          KORBagRep& ioBag);

// Groups highlight nothing of their own: only a path going deeper is shown.
HRESULT HighlightDeeperOnly(KORVisBuildContext& iContext, const KORPathElement& iPath,
                            int iPosition, KORHighlightPath& ioHighlight);
// The custom reps (the lines) of the element's bag, not its shapes.
HRESULT HighlightLineChildren(KORVisBuildContext& iContext, const KORPathElement& iPath,
                              int iPosition, KORHighlightPath& ioHighlight);

} // namespace KORVrcVisu
