#include "KORVrcVisuTools.h"

#include "featurestore/KORIContainer.h"
#include "featurestore/KORISpecObject.h"
#include "interfaces/KORIVrcConfig.h"

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

void GatherChildFeatures(KORVisBuildContext& iContext, KORBaseUnknown* iElement,
                         const KORIID& iKind, KORBagRep& ioBag) {
  auto children = FeatureChildren(iElement);
  if (!children)
    return;
  for (const KORBaseUnknown_var& child : *children) {
    void* kind = nullptr;
    if (FAILED(child->QueryInterface(iKind, &kind)) || !kind)
      continue;
    static_cast<KORBaseUnknown*>(kind)->Release();
    if (KORRep_var rep = iContext.BuildChildRep(child))
      ioBag.AddChild(rep);
  }
}

void GatherConfigurations(KORVisBuildContext& iContext, KORBaseUnknown* iContainer,
                          KORBagRep& ioBag) {
  auto container = KORQuery<KORIContainer>(iContainer);
  KORListValKORBaseUnknown_var* configs = nullptr;
  if (container && SUCCEEDED(container->ListMembers(KORIVrcConfig::IID, &configs)))
    GatherChildren(iContext, std::unique_ptr<KORListValKORBaseUnknown_var>(configs).get(), ioBag);
}

HRESULT HighlightDeeperOnly(KORVisBuildContext& iContext, const KORPathElement& iPath,
                            int iPosition, KORHighlightPath& ioHighlight) {
  if (iPosition + 1 >= iPath.GetSize())
    return S_OK;
  return KORDefaultHighlight(iContext, iPath, iPosition, ioHighlight);
}

HRESULT HighlightLineChildren(KORVisBuildContext& iContext, const KORPathElement& iPath,
                              int iPosition, KORHighlightPath& ioHighlight) {
  auto bag = dynamic_cast<KOR3DBagRep*>(
      iContext.GetCurrentRep(iPath.GetObject(iPosition)));
  if (!bag)
    return S_OK;
  for (const KORRep_var& child : bag->GetChildren())
    if (dynamic_cast<KOR3DCustomRep*>(child.get()))
      ioHighlight.Add(child);
  return S_OK;
}

} // namespace KORVrcVisu
