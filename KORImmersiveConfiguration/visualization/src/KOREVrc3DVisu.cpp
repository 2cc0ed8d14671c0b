#include "KOREVrc3DVisu.h"

#include "KORVrcTools.h"
#include "KORVrcVisuTools.h"
#include "featurestore/KORIContainer.h"
#include "interfaces/KORIVrcCameraView.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcDevices.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcGraphicSpecs.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "visu/KORModelReader.h"

#include <array>

using namespace KORVrcVisu;
using Eigen::Vector3d;

namespace {
// The axes of a frame as arrows with their labels "X", "Y", "Z"; a label
// sits past the arrow's tip, nudged off the axis so that it stays readable.
void AddAxisFrame(KORCustomRep& ioCustom, const KORMathTransformation& iFrame, double iLength,
                  double iHead, const KORGraphicAttribute& iLook) {
  static const char* const kLabels[] = {"X", "Y", "Z"};
  static const Vector3d kNudges[] = {{0, 4, 0}, {-4, 0, 0}, {0, 4, 0}};
  const Vector3d origin = ToEigen(iFrame.GetVector());
  for (int axis = 0; axis < 3; ++axis) {
    const Vector3d direction = iFrame.GetMatrix().AsEigen() * Vector3d::Unit(axis);
    ioCustom.AddArrow(origin, direction, iLength, iHead, iLook);
    ioCustom.AddText(origin + iLength * direction + kNudges[axis], kLabels[axis], iLook);
  }
}

Vector3d Corner(KORIVrcProjectionArea* iArea,
                HRESULT (KORIVrcProjectionArea::*iGetter)(double*, double*, double*), bool& ioOk) {
  Vector3d corner;
  ioOk = ioOk && SUCCEEDED((iArea->*iGetter)(&corner.x(), &corner.y(), &corner.z()));
  return corner;
}
} // namespace

// --- Groups -----------------------------------------------------------------

KORRep* KOREVrc3DVisuContainer::BuildRep(KORVisBuildContext& iContext) {
  auto bag = KORNewRep<KOR3DBagRep>();
  GatherConfigurations(iContext, GetImpl(), *bag);
  return bag.Detach();
}

KORRep* KOREVrc3DVisuConfig::BuildRep(KORVisBuildContext& iContext) {
  auto bag = KORNewRep<KOR3DBagRep>();
  auto children = FeatureChildren(GetImpl());
  if (children)
    for (const KORBaseUnknown_var& child : *children)
      if (KORQuery<KORIVrcGraphicResources>(child) || KORQuery<KORIVrcGraphicSpecs>(child) ||
          KORQuery<KORIVrcDevices>(child))
        if (KORRep_var rep = iContext.BuildChildRep(child))
          bag->AddChild(rep);
  return bag.Detach();
}

KORRep* KOREVrc3DVisuGraphicResources::BuildRep(KORVisBuildContext& iContext) {
  auto bag = KORNewRep<KOR3DBagRep>();
  GatherChildFeatures(iContext, GetImpl(), KORIVrcElement::IID, *bag);
  return bag.Detach();
}

KORRep* KOREVrc3DVisuGraphicSpecs::BuildRep(KORVisBuildContext& iContext) {
  auto bag = KORNewRep<KOR3DBagRep>();
  auto specs = QueryImpl<KORIVrcGraphicSpecs>();
  GatherChildren(iContext, ReadList(specs.get(), &KORIVrcGraphicSpecs::GetHeads).get(), *bag, true);
  GatherChildren(iContext, ReadList(specs.get(), &KORIVrcGraphicSpecs::GetViews).get(), *bag, true);
  return bag.Detach();
}

KORRep* KOREVrc3DVisuDevices::BuildRep(KORVisBuildContext& iContext) {
  auto bag = KORNewRep<KOR3DBagRep>();
  auto devices = QueryImpl<KORIVrcDevices>();
  GatherChildren(iContext, ReadList(devices.get(), &KORIVrcDevices::GetTrackingStations).get(),
                 *bag, true);
  GatherChildren(iContext, ReadList(devices.get(), &KORIVrcDevices::GetHandDevices).get(), *bag,
                 true);
  return bag.Detach();
}

#define KOR_HIGHLIGHT(Class, Rule)                                                                 \
  HRESULT Class::BuildHighlightLook(KORVisBuildContext& iContext, const KORPathElement& iPath,     \
                                    int iPosition, KORHighlightPath& ioHighlight) {                \
    return Rule(iContext, iPath, iPosition, ioHighlight);                                          \
  }
KOR_HIGHLIGHT(KOREVrc3DVisuContainer, HighlightDeeperOnly)
KOR_HIGHLIGHT(KOREVrc3DVisuConfig, HighlightDeeperOnly)
KOR_HIGHLIGHT(KOREVrc3DVisuGraphicResources, HighlightDeeperOnly)
KOR_HIGHLIGHT(KOREVrc3DVisuGraphicSpecs, HighlightDeeperOnly)
KOR_HIGHLIGHT(KOREVrc3DVisuDevices, HighlightDeeperOnly)
KOR_HIGHLIGHT(KOREVrc3DVisuScreenView, HighlightLineChildren)
KOR_HIGHLIGHT(KOREVrc3DVisuTracker, HighlightLineChildren)

HRESULT KOREVrc3DVisuTrackingStation::BuildHighlightLook(KORVisBuildContext& iContext,
                                                         const KORPathElement& iPath,
                                                         int iPosition,
                                                         KORHighlightPath& ioHighlight) {
  if (iPosition + 1 < iPath.GetSize())
    return KORDefaultHighlight(iContext, iPath, iPosition, ioHighlight);
  return HighlightLineChildren(iContext, iPath, iPosition, ioHighlight);
}

// --- Screens and cameras ----------------------------------------------------

KORRep* KOREVrc3DVisuScreenView::BuildRep(KORVisBuildContext&) {
  auto screen = QueryImpl<KORIVrcScreenView>();
  KORIVrcProjectionArea_var area;
  if (!screen || FAILED(screen->GetProjectionArea(area.Out())))
    return nullptr;
  bool ok = true;
  const Vector3d ul = Corner(area, &KORIVrcProjectionArea::GetUpperLeft, ok);
  const Vector3d ll = Corner(area, &KORIVrcProjectionArea::GetLowerLeft, ok);
  const Vector3d lr = Corner(area, &KORIVrcProjectionArea::GetLowerRight, ok);
  if (!ok)
    return nullptr;
  const Vector3d ur = ul + lr - ll;
  const Vector3d centre = (ul + lr) / 2.0;
  const Vector3d across = ur - ul, up = ul - ll;

  auto custom = KORNewRep<KOR3DCustomRep>();
  custom->SetAttribute(KORVrcLook::ScreenDefault);
  custom->AddPolyline({ul, ll, lr, ur, ul}, KORVrcLook::Outline);
  custom->AddLine(ul, lr, KORVrcLook::Thin);
  // The centre cross leaves a gap of 1 % of each side around the centre.
  custom->AddLine(centre + 0.03 * across, centre + 0.01 * across, KORVrcLook::Cross);
  custom->AddLine(centre - 0.03 * across, centre - 0.01 * across, KORVrcLook::Cross);
  custom->AddLine(centre - 0.03 * up, centre - 0.01 * up, KORVrcLook::Cross);
  custom->AddLine(centre + 0.03 * up, centre + 0.01 * up, KORVrcLook::Cross);
  custom->AddLine(centre, centre, KORVrcLook::Dot);
  // The chevron and the second diagonal show which corner is lower-left.
  custom->AddPolyline({ll + (lr - ll) / 5.0, ll + (ur - ll) / 10.0, ll + (ul - ll) / 10.0},
                      KORVrcLook::Outline);
  custom->AddLine(ll + (ur - ll) / 10.0, ur, KORVrcLook::Thin);

  const double width = (lr - ll).norm(), height = (ul - ll).norm();
  auto fill = KORNewRep<KOR2DCustomRep>();
  fill->SetAttribute(KORVrcLook::Fill);
  fill->AddPolygon({{0, 0, 0}, {width, 0, 0}, {width, height, 0}, {0, height, 0}},
                   KORVrcLook::Fill);
  auto plane = KORNewRep<KOR2DBagRep>();
  plane->AddChild(fill);
  auto placed = KORNewRep<KOR2DTo3DRep>(plane.get(), ll, lr - ll, ul - ll);

  const double radius = 0.5 * (lr - ul).norm();
  auto bag = KORNewRep<KOR3DBagRep>();
  for (KORRep* rep : std::initializer_list<KORRep*>{bag, custom, placed})
    rep->SetBoundingSphere(centre, radius);
  bag->AddChild(placed);
  bag->AddChild(custom);
  return bag.Detach();
}

KORRep* KOREVrc3DVisuCameraView::BuildRep(KORVisBuildContext&) {
  auto camera = QueryImpl<KORIVrcCameraView>();
  double left = 0, right = 0, top = 0, bottom = 0;
  KORIVrcHead_var head;
  if (!camera || FAILED(camera->GetFrustum(left, right, top, bottom)) ||
      FAILED(camera->GetHead(head.Out())))
    return nullptr;
  auto tracked = KORQuery<KORIVrcTrackedElement>(head);
  KORMathTransformation location;
  if (!tracked || FAILED(tracked->GetLocation(location)))
    return nullptr;
  auto corner = [&](double iSide, double iHeight) {
    return ToEigen(location * KORMathPoint(100.0, -100.0 * iSide, 100.0 * iHeight));
  };
  const std::array<Vector3d, 4> p{corner(left, top), corner(left, bottom), corner(right, bottom),
                                  corner(right, top)};
  const Vector3d eye = ToEigen(location.GetVector());
  auto custom = KORNewRep<KOR3DCustomRep>();
  custom->AddPolyline({p[0], p[1], p[2], p[3], p[0]}, KORVrcLook::CameraFrame);
  double radius = 0.0;
  for (int index : {1, 2, 3, 0}) {
    custom->AddLine(eye, p[static_cast<std::size_t>(index)], KORVrcLook::CameraLines);
    radius = std::max(radius, (p[static_cast<std::size_t>(index)] - eye).norm());
  }
  custom->SetBoundingSphere(eye, radius);
  auto bag = KORNewRep<KOR3DBagRep>();
  bag->SetBoundingSphere(eye, radius);
  bag->AddChild(custom);
  return bag.Detach();
}

// --- Head and hand device ---------------------------------------------------

namespace {
KORSmartPtr<KOR3DModelRep> Model(KORVisBuildContext& iContext, const char* iFileName) {
  auto mesh = iContext.ReadModel(iFileName);
  return mesh ? KORNewRep<KOR3DModelRep>(mesh, iFileName) : nullptr;
}
} // namespace

KORRep* KOREVrc3DVisuHead::BuildRep(KORVisBuildContext& iContext) {
  auto headModel = Model(iContext, "head.cgr");
  auto eyesModel = Model(iContext, "eyes.cgr");
  auto head = QueryImpl<KORIVrcHead>();
  auto tracked = QueryImpl<KORIVrcTrackedElement>();
  if (!headModel || !eyesModel || !head || !tracked)
    return nullptr;
  double ipd = 0.0;
  KORMathTransformation location;
  if (FAILED(head->GetIPD(&ipd)) || FAILED(tracked->GetLocation(location)))
    return nullptr;
  // The models are drawn at their natural size for an eye distance of 57.
  Eigen::Matrix4d placement = Placement(location);
  placement.block<3, 3>(0, 0) *= ipd / 57.0;

  eyesModel->SetBoundingSphere(Vector3d::Zero(), 57.0);
  headModel->SetBoundingSphere(Vector3d(-100.0, 0.0, 0.0), 200.0);
  auto bag = KORNewRep<KOR3DBagRep>();
  bag->SetBoundingSphere(Vector3d(-100.0, 0.0, 0.0), 200.0);
  bag->AddChild(headModel);
  bag->AddChild(eyesModel);
  bag->SetMatrix(placement);
  return bag.Detach();
}

KORRep* KOREVrc3DVisuHandDevice::BuildRep(KORVisBuildContext& iContext) {
  auto joystick = Model(iContext, "joystick.cgr");
  auto tracked = QueryImpl<KORIVrcTrackedElement>();
  KORMathTransformation location;
  if (!joystick || !QueryImpl<KORIVrcHandDevice>() || !tracked ||
      FAILED(tracked->GetLocation(location)))
    return nullptr;
  joystick->SetBoundingSphere(Vector3d::Zero(), 500.0);
  auto bag = KORNewRep<KOR3DBagRep>();
  bag->SetBoundingSphere(Vector3d::Zero(), 500.0);
  bag->AddChild(joystick);
  bag->SetMatrix(Placement(location));
  return bag.Detach();
}

// --- Trackers and tracking stations -----------------------------------------

namespace {
enum class TrackerKind { Other = 0, Head = 1, Hand = 2, Free = 3 };

// The frame a tracker is drawn in, and what it follows.
bool TrackerFrame(KORVisBuildContext& iContext, KORIVrcTracker* iTracker,
                  KORMathTransformation& oFrame, TrackerKind& oKind) {
  KORMathTransformation offset;
  if (FAILED(iTracker->GetOffset(offset)))
    return false;
  KORIVrcTrackedElement_var element;
  if (SUCCEEDED(iTracker->GetTrackedElement(element.Out())) && element) {
    KORMathTransformation base;
    if (FAILED(element->GetLocation(base)))
      return false;
    oKind = KORQuery<KORIVrcHead>(element)        ? TrackerKind::Head
            : KORQuery<KORIVrcHandDevice>(element) ? TrackerKind::Hand
                                                   : TrackerKind::Other;
    oFrame = base * offset;
    return true;
  }
  // A tracker following nothing is laid out beside its station, one every
  // 240 along the absolute y axis by its rank among such trackers.
  oKind = TrackerKind::Free;
  KORIVrcTrackingStation_var station;
  if (SUCCEEDED(iTracker->GetTrackingStation(station.Out())) && station)
    iContext.DependsOn(station);
  const KORMathTransformation base = GetFreeTrackerBase(iTracker);
  // Only the offset's direction counts here; a zero offset stays at the base.
  KORMathVector shift = offset.GetVector();
  if (SUCCEEDED(shift.Normalize()))
    offset.SetVector(80.0 * shift);
  oFrame = base * offset;
  return true;
}

bool IsOffBest(KORIVrcTracker* iTracker) {
  KORMathTransformation offset, best, bestInverse;
  return SUCCEEDED(iTracker->GetBestOffset(best)) && SUCCEEDED(iTracker->GetOffset(offset)) &&
         SUCCEEDED(best.Inverse(bestInverse)) && !(bestInverse * offset).IsIdentity();
}
} // namespace

KORRep* KOREVrc3DVisuTracker::BuildRep(KORVisBuildContext& iContext) {
  auto tracker = QueryImpl<KORIVrcTracker>();
  KORMathTransformation frame;
  TrackerKind kind = TrackerKind::Other;
  if (!tracker || !TrackerFrame(iContext, tracker, frame, kind))
    return nullptr;
  const Vector3d origin = ToEigen(frame.GetVector());
  auto sphere = KORNewRep<KOR3DSimpleSphereRep>(origin, 30.0, 10);
  KORGraphicAttribute look = KORVrcLook::TrackerAxes;
  KORGraphicAttribute status = sphere->GetAttribute();
  if (IsOffBest(tracker)) {
    look = KORVrcLook::TrackerOffBest;
    status.SetColor(100, 0, 0, 255);
  } else if (kind == TrackerKind::Head) {
    status.SetColor(0, 100, 100, 255);
  } else if (kind == TrackerKind::Hand) {
    status.SetColor(0, 0, 100, 255);
  } else if (kind == TrackerKind::Free) {
    status.SetColor(0, 100, 0, 255);
  }
  sphere->SetAttribute(status);
  auto custom = KORNewRep<KOR3DCustomRep>();
  custom->SetAttribute(look);
  AddAxisFrame(*custom, frame, 200.0, 30.0, look);
  auto bag = KORNewRep<KOR3DBagRep>();
  bag->SetBoundingSphere(origin, 200.0);
  bag->AddChild(custom);
  bag->AddChild(sphere);
  return bag.Detach();
}

KORRep* KOREVrc3DVisuTrackingStation::BuildRep(KORVisBuildContext& iContext) {
  auto bag = KORNewRep<KOR3DBagRep>();
  GatherChildFeatures(iContext, GetImpl(), KORIVrcTracker::IID, *bag);

  KORMathTransformation ref;
  auto station = QueryImpl<KORIVrcTrackingStation>();
  if (!station || FAILED(station->GetRef(ref)))
    ref = KORMathTransformation();
  const Vector3d origin = ToEigen(ref.GetVector());
  const Eigen::Matrix3d& axes = ref.GetMatrix().AsEigen();
  auto custom = KORNewRep<KOR3DCustomRep>();
  custom->SetAttribute(KORVrcLook::Thin);
  AddAxisFrame(*custom, ref, 300.0, 40.0, KORVrcLook::Thin);
  custom->SetBoundingSphere(origin, 300.0);
  // An 8-unit cube centred on the station and aligned with its axes.
  auto cube = KORNewRep<KOR3DCuboidRep>(origin + 4.0 * (axes.col(0) + axes.col(1) + axes.col(2)),
                                        -8.0 * axes.col(0), -8.0 * axes.col(1), -8.0 * axes.col(2));
  bag->SetBoundingSphere(origin, 300.0);
  bag->AddChild(cube);
  bag->AddChild(custom);
  return bag.Detach();
}
