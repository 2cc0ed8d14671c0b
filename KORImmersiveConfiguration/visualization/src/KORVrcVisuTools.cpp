#include "KORVrcVisuTools.h"

#include "featurestore/KORISpecObject.h"

namespace KORVrcVisu {

Eigen::Vector3d ToEigen(const KORMathPoint& iPoint) {
  return iPoint.AsEigen();
}
Eigen::Vector3d ToEigen(const KORMathVector& iVector) {
  return iVector.AsEigen();
}

Eigen::Matrix4d Placement(const KORMathTransformation& iTransformation) {
  Eigen::Matrix4d matrix = Eigen::Matrix4d::Identity();
  matrix.block<3, 3>(0, 0) =
      iTransformation.GetMatrix().AsEigen().cast<float>().cast<double>();
  matrix.block<3, 1>(0, 3) = iTransformation.GetVector().AsEigen();
  return matrix;
}

std::unique_ptr<KORListValKORBaseUnknown_var> FeatureChildren(KORBaseUnknown* iElement) {
  return ReadList(KORQuery<KORISpecObject>(iElement).get(), &KORISpecObject::ListChildren);
}

void GatherChildren(KORVisBuildContext& iContext, const KORListValKORBaseUnknown_var* iList,
                    KORBagRep& ioBag, bool iBagsOnly) {
  if (!iList)
    return;
  const bool in3D = dynamic_cast<KOR3DBagRep*>(&ioBag) != nullptr;
  for (const KORBaseUnknown_var& child : *iList) {
    KORRep_var rep = iContext.BuildChildRep(child);
    const bool isBag = in3D ? dynamic_cast<KOR3DBagRep*>(rep.get()) != nullptr
                            : dynamic_cast<KOR2DBagRep*>(rep.get()) != nullptr;
    if (rep && (isBag || !iBagsOnly))
      ioBag.AddChild(rep);
  }
}

HRESULT HighlightDeeperOnly(KORVisBuildContext& iContext, const KORPathElement& iPath,
                            int iPosition, KORHighlightPath& ioHighlight) {
  if (iPosition + 1 >= iPath.Size())
    return S_OK;
  return KORDefaultHighlight(iContext, iPath, iPosition, ioHighlight);
}

HRESULT HighlightLineChildren(KORVisBuildContext& iContext, const KORPathElement& iPath,
                              int iPosition, KORHighlightPath& ioHighlight) {
  auto bag = dynamic_cast<KOR3DBagRep*>(
      iContext.GetCurrentRep(iPath.objects[static_cast<std::size_t>(iPosition)]));
  if (!bag)
    return S_OK;
  for (const KORRep_var& child : bag->GetChildren())
    if (dynamic_cast<KOR3DCustomRep*>(child.get()))
      ioHighlight.Add(child);
  return S_OK;
}

} // namespace KORVrcVisu
