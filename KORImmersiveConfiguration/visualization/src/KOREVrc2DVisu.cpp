#include "KOREVrc2DVisu.h"

#include "KORVrcVisuTools.h"
#include "featurestore/KORIContainer.h"
#include "featurestore/KORISpecObject.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcViewport.h"
#include "interfaces/KORIVrcWindow.h"
#include "visu/KORModelReader.h"

#include <cmath>

using namespace KORVrcVisu;

Eigen::Vector2d KORVrcSchematic::CellOrigin(int iPosition) {
  return {300.0 * (1 + (iPosition - 1) % 6), 200.0 * ((iPosition - 1) / 6)};
}

namespace {
// The bag of the schematic reps of the element's child elements.
KORRep* ChildElementsBag(KORVisBuildContext& iContext, KORBaseUnknown* iElement) {
  auto bag = KORNewRep<KOR2DBagRep>();
  GatherChildFeatures(iContext, iElement, KORIVrcElement::IID, *bag);
  return bag.Detach();
}

Eigen::Matrix3d Affine(double iScaleX, double iScaleY, double iX, double iY) {
  Eigen::Matrix3d matrix = Eigen::Matrix3d::Identity();
  matrix(0, 0) = iScaleX;
  matrix(1, 1) = iScaleY;
  matrix(0, 2) = iX;
  matrix(1, 2) = iY;
  return matrix;
}
} // namespace

KORRep* KOREVrc2DVisuContainer::BuildRep(KORVisBuildContext& iContext) {
  auto bag = KORNewRep<KOR2DBagRep>();
  GatherConfigurations(iContext, GetImpl(), *bag);
  return bag.Detach();
}

KORRep* KOREVrc2DVisuConfig::BuildRep(KORVisBuildContext& iContext) {
  return ChildElementsBag(iContext, GetImpl());
}

KORRep* KOREVrc2DVisuGraphicResources::BuildRep(KORVisBuildContext& iContext) {
  return ChildElementsBag(iContext, GetImpl());
}

namespace {
// The 1-based position of the element among its father's image generators,
// 0 when the father is no graphic resources or does not list it.
int PositionAmongIGs(KORBaseUnknown* iElement) {
  auto feature = KORQuery<KORISpecObject>(iElement);
  KORISpecObject_var father;
  if (!feature || FAILED(feature->GetFather(father.Out())))
    return 0;
  auto igs = ReadList(KORQuery<KORIVrcGraphicResources>(father).get(),
                      &KORIVrcGraphicResources::GetIGs);
  if (!igs)
    return 0;
  // The list holds the image generators' interfaces: compare identities.
  auto identity = KORQuery<KORBaseUnknown>(iElement);
  for (int position = 1; position <= igs->Size(); ++position)
    if (KORQuery<KORBaseUnknown>((*igs)[position]).get() == identity.get())
      return position;
  return 0;
}
} // namespace

KORRep* KOREVrc2DVisuIG::BuildRep(KORVisBuildContext& iContext) {
  using namespace KORVrcSchematic;
  const int position = PositionAmongIGs(GetImpl());
  auto ig = QueryImpl<KORIVrcElement>();
  auto picture = iContext.ReadImage(kPicture);
  if (position == 0 || !ig || !picture)
    return nullptr;
  const Eigen::Vector2d cell = CellOrigin(position);
  // The outer bag's unit square is the picture's screen area, so that the
  // windows' viewports land inside it; the inner bag undoes that scaling and
  // draws the picture and name in plain units from the cell origin.
  auto outer = KORNewRep<KOR2DBagRep>();
  outer->SetMatrix(Affine(kScreenWidth, kScreenHeight, cell.x() + kScreenLeft,
                          cell.y() + kScreenBottom));
  auto inner = KORNewRep<KOR2DBagRep>();
  inner->SetMatrix(Affine(1.0 / kScreenWidth, 1.0 / kScreenHeight, -kScreenLeft / kScreenWidth,
                          -kScreenBottom / kScreenHeight));
  const double width = picture->width, height = picture->height;
  auto custom = KORNewRep<KOR2DCustomRep>();
  custom->AddImage(Eigen::Vector3d::Zero(), picture, KORGraphicAttribute{});
  KORUnicodeString name;
  if (FAILED(ig->GetName(name)))
    name.clear();
  custom->AddText(Eigen::Vector3d(0.0, height + 15.0, 0.0), name, KORGraphicAttribute{},
                  /*iAnchorValue=*/3, std::sqrt(kScreenWidth * kScreenHeight) * 45.0);
  custom->SetBoundingSphere(Eigen::Vector3d(width / 2.0, height / 2.0, 0.0),
                            std::hypot(width, height) / 2.0);
  inner->AddChild(custom);
  outer->AddChild(inner);
  GatherChildFeatures(iContext, GetImpl(), KORIVrcWindow::IID, *outer);
  return outer.Detach();
}

KORRep* KOREVrc2DVisuWindow::BuildRep(KORVisBuildContext&) {
  auto window = QueryImpl<KORIVrcWindow>();
  KORIVrcViewport_var viewport;
  double left = 0, top = 0, width = 0, height = 0;
  if (!window || FAILED(window->GetViewport(viewport.Out())) ||
      FAILED(viewport->GetViewport(&left, &top, &width, &height)))
    return nullptr;
  // Viewports measure Top from the top edge; the schematic's y goes up.
  auto polygon = KORNewRep<KOR2DPolygonRep>(std::vector<Eigen::Vector2d>{
      {left, 1.0 - top},
      {left + width, 1.0 - top},
      {left + width, 1.0 - top - height},
      {left, 1.0 - top - height}});
  polygon->SetAttribute(KORVrcLook::CameraFrame);
  polygon->SetBoundingSphere(Eigen::Vector3d(left + width / 2.0, 1.0 - top - height / 2.0, 0.0),
                             std::hypot(width, height) / 2.0);
  return polygon.Detach();
}

HRESULT KOREVrc2DVisuContainer::BuildHighlightLook(KORVisBuildContext& iContext,
                                                   const KORPathElement& iPath, int iPosition,
                                                   KORHighlightPath& ioHighlight) {
  return HighlightDeeperOnly(iContext, iPath, iPosition, ioHighlight);
}
HRESULT KOREVrc2DVisuConfig::BuildHighlightLook(KORVisBuildContext& iContext,
                                                const KORPathElement& iPath, int iPosition,
                                                KORHighlightPath& ioHighlight) {
  return HighlightDeeperOnly(iContext, iPath, iPosition, ioHighlight);
}
HRESULT KOREVrc2DVisuGraphicResources::BuildHighlightLook(KORVisBuildContext& iContext,
                                                          const KORPathElement& iPath,
                                                          int iPosition,
                                                          KORHighlightPath& ioHighlight) {
  return HighlightDeeperOnly(iContext, iPath, iPosition, ioHighlight);
}

// The picture and name show the image generator selected, not its windows.
HRESULT KOREVrc2DVisuIG::BuildHighlightLook(KORVisBuildContext& iContext,
                                            const KORPathElement& iPath, int iPosition,
                                            KORHighlightPath& ioHighlight) {
  if (iPosition + 1 < iPath.GetSize())
    return KORDefaultHighlight(iContext, iPath, iPosition, ioHighlight);
  auto bag = dynamic_cast<KOR2DBagRep*>(
      iContext.GetCurrentRep(iPath.GetObject(iPosition)));
  if (bag)
    for (const KORRep_var& child : bag->GetChildren())
      if (dynamic_cast<KOR2DBagRep*>(child.get()))
        ioHighlight.Add(child);
  return S_OK;
}
