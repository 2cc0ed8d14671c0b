#include "KORVrcSnapCmd.h"

#include "KORVrcControllerTrace.h"
#include "KORVrcTools.h"

#include <Eigen/Geometry>
#include <Eigen/LU>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {
using Corners = std::array<KORVrcPointf, 4>; // LL, LR, UR, UL: counter-clockwise

// Where edge iIndex (1 top, 2 left, 3 bottom, 4 right) starts in Corners;
// it ends at the next corner.
std::size_t EdgeStart(int iIndex) {
  return static_cast<std::size_t>((iIndex + 1) % 4);
}
const KORVrcPointf& Corner(const Corners& iCorners, std::size_t iPosition) {
  return iCorners[iPosition % 4];
}

// The angle between two vectors, 0 when one is null.
float Angle(const Eigen::Vector3f& iA, const Eigen::Vector3f& iB) {
  return std::atan2(iA.cross(iB).norm(), iA.dot(iB));
}

// unit((LL - UL) x (LR - LL)).
Eigen::Vector3f FrontNormal(const Corners& iCorners) {
  const Eigen::Vector3f down = iCorners[0] - iCorners[3];
  const Eigen::Vector3f along = iCorners[1] - iCorners[0];
  return down.cross(along).normalized();
}

bool ReadCorners(KORIVrcProjectionArea* iArea, Corners& oCorners) {
  return KORVrcSnapCmd::RetrieveScreenCorners(iArea, &oCorners[0], &oCorners[1], &oCorners[2],
                                              &oCorners[3]);
}

int PickedEdge(const Corners& iCorners, const KORVrcPointf& iPoint) {
  return KORVrcSnapCmd::IndexMax(&iPoint, &iCorners[3], &iCorners[2], &iCorners[0], &iCorners[1]);
}

HRESULT WriteCorner(KORIVrcProjectionArea* iArea,
                    HRESULT (KORIVrcProjectionArea::*iSetter)(double, double, double),
                    const KORVrcPointf& iCorner) {
  return (iArea->*iSetter)(iCorner.x(), iCorner.y(), iCorner.z());
}
} // namespace

KORVrcSnapCmd::KORVrcSnapCmd() : KORStateCommand("KORVrcSnapCmd") {}

void KORVrcSnapCmd::TraceMethod(const char* iMethod) const {
  if (KORVrcControllerTrace().IsActive())
    KORVrcControllerTrace().Printf("%s: \t\t%s", GetName().c_str(), iMethod);
}

void KORVrcSnapCmd::BuildGraph() {
  TraceMethod("KORStateCommand::BuildGraph()");
  _agent = MakeAgent<KORPathElementAgent>("GetScreenView");
  _agent->AddElementType(KORIVrcScreenView::IID);
  // Each call replaces the behaviour before it: the agent ends with 2048.
  _agent->SetBehavior(KORAgentRepeat);
  _agent->SetBehavior(KORAgentHighlightPicked);
  _agent->SetBehavior(2048);
  KORCommandState* initial = GetInitialState("initialState");
  KORCommandState* second = AddDialogState("finalState");
  initial->AddDialogAgent(_agent);
  second->AddDialogAgent(_agent);
  AddTransition(initial, second,
                IsOutputSetCondition(_agent) && Condition(&KORVrcSnapCmd::CheckAndSaveFirstScreen));
  AddTransition(second, nullptr,
                IsOutputSetCondition(_agent) &&
                    Condition(&KORVrcSnapCmd::CheckAndSaveSecondScreen),
                Action(&KORVrcSnapCmd::Snap));
}

bool KORVrcSnapCmd::RetrieveScreenAndPoint(Pick& oPick) const {
  // A pick in the tree has no point under the cursor.
  if (_agent->GetValuedBy() != KORPickNotification::ClassName || !_agent->GetPoint())
    return false;
  auto screen = KORQuery<KORIVrcScreenView>(_agent->GetElementValue());
  KORIVrcProjectionArea_var area;
  if (!screen || FAILED(screen->GetProjectionArea(area.Out())) || !area)
    return false;
  const KORMathPoint& point = *_agent->GetPoint();
  oPick.screen = screen;
  oPick.area = area;
  oPick.point = KORVrcPointf(static_cast<float>(point.GetX()), static_cast<float>(point.GetY()),
                             static_cast<float>(point.GetZ()));
  return true;
}

bool KORVrcSnapCmd::CheckAndSaveFirstScreen(void*) {
  TraceMethod("CheckAndSaveFirstScreen");
  _first.Clear();
  const bool picked = RetrieveScreenAndPoint(_first);
  _agent->InitializeAcquisition();
  return picked;
}

bool KORVrcSnapCmd::CheckAndSaveSecondScreen(void*) {
  TraceMethod("CheckAndSaveSecondScreen");
  _second.Clear();
  const bool picked = RetrieveScreenAndPoint(_second) &&
                      !CompareInterfacePointers(_second.screen, _first.screen);
  if (!picked) {
    _second.Clear();
    _agent->InitializeAcquisition();
  }
  return picked;
}

bool KORVrcSnapCmd::RetrieveScreenCorners(KORIVrcProjectionArea* iArea, KORVrcPointf* oLL,
                                          KORVrcPointf* oLR, KORVrcPointf* oUR,
                                          KORVrcPointf* oUL) {
  if (!iArea || !oLL || !oLR || !oUR || !oUL)
    return false;
  double ll[3], lr[3], ul[3];
  if (FAILED(iArea->GetLowerLeft(&ll[0], &ll[1], &ll[2])) ||
      FAILED(iArea->GetLowerRight(&lr[0], &lr[1], &lr[2])) ||
      FAILED(iArea->GetUpperLeft(&ul[0], &ul[1], &ul[2])))
    return false;
  auto single = [](const double* iXYZ) {
    return KORVrcPointf(static_cast<float>(iXYZ[0]), static_cast<float>(iXYZ[1]),
                        static_cast<float>(iXYZ[2]));
  };
  *oLL = single(ll);
  *oLR = single(lr);
  *oUL = single(ul);
  *oUR = *oUL + *oLR - *oLL;
  return true;
}

int KORVrcSnapCmd::IndexMax(const KORVrcPointf* iPoint, const KORVrcPointf* iC1,
                            const KORVrcPointf* iC2, const KORVrcPointf* iC3,
                            const KORVrcPointf* iC4) {
  if (!iPoint || !iC1 || !iC2 || !iC3 || !iC4)
    return 0;
  const Eigen::Vector3f r1 = *iC1 - *iPoint, r2 = *iC2 - *iPoint, r3 = *iC3 - *iPoint,
                        r4 = *iC4 - *iPoint;
  const float angles[4] = {Angle(r1, r2), Angle(r1, r3), Angle(r3, r4), Angle(r4, r2)};
  int index = 0;
  float largest = 0.0f;
  for (int edge = 1; edge <= 4; ++edge)
    if (angles[edge - 1] > largest) {
      largest = angles[edge - 1];
      index = edge;
    }
  return index;
}

bool KORVrcSnapCmd::Snap(void*) {
  TraceMethod("Snap");
  Corners target, moved;
  if (!_first.IsComplete() || !_second.IsComplete() || !ReadCorners(_second.area, target) ||
      !ReadCorners(_first.area, moved))
    return false;
  const int targetEdge = PickedEdge(target, *_second.point);
  const int movedEdge = PickedEdge(moved, *_first.point);
  if (targetEdge == 0 || movedEdge == 0)
    return false;

  // The target line: the second screen's picked edge, and u in its plane,
  // across the edge into the screen.
  const Eigen::Vector3f normal2 = FrontNormal(target);
  const std::size_t targetStart = EdgeStart(targetEdge);
  const KORVrcPointf origin = Corner(target, targetStart);
  const Eigen::Vector3f d = (Corner(target, targetStart + 1) - origin).normalized();
  const Eigen::Vector3f u = normal2.cross(d).normalized();
  // A screen squeezed to a line or a point has no plane to join along.
  if (u.isZero())
    return false;

  // The first screen laid flat onto the second, side lengths kept: its
  // picked edge A->B runs back along the target line from the origin.
  const Eigen::Vector3f normal1 = FrontNormal(moved);
  if (normal1.isZero())
    return false;
  const std::size_t a = EdgeStart(movedEdge), b = a + 1, beyondA = a + 3, beyondB = a + 2;
  const float edgeLength = (Corner(moved, b) - Corner(moved, a)).norm();
  const float sideLength = (Corner(moved, beyondA) - Corner(moved, a)).norm();
  const float farLength = (Corner(moved, beyondA) - Corner(moved, beyondB)).norm();
  Corners rebuilt;
  rebuilt[b % 4] = origin;
  rebuilt[a % 4] = origin + d * edgeLength;
  rebuilt[beyondA % 4] = rebuilt[a % 4] + u * sideLength;
  rebuilt[beyondB % 4] = rebuilt[beyondA % 4] - d * farLength;

  // The hinge: screens facing the same way open to more than a right angle.
  float hinge = std::acos(std::clamp(normal1.dot(normal2), -1.0f, 1.0f));
  if (normal1.dot(normal2) > 0 && hinge < std::numbers::pi_v<float> * 0.5f)
    hinge = std::numbers::pi_v<float> - hinge;
  // Rotated about the edge line, u turning toward the second's normal.
  Eigen::Matrix3f frame;
  frame.col(0) = u;
  frame.col(1) = normal2;
  frame.col(2) = d;
  const Eigen::Matrix3f turn =
      frame * Eigen::AngleAxisf(hinge, Eigen::Vector3f::UnitZ()).toRotationMatrix() *
      frame.inverse();
  for (KORVrcPointf& corner : rebuilt)
    corner = origin + turn * (corner - origin);

  return SUCCEEDED(WriteCorner(_first.area, &KORIVrcProjectionArea::SetLowerLeft, rebuilt[0])) &&
         SUCCEEDED(WriteCorner(_first.area, &KORIVrcProjectionArea::SetLowerRight, rebuilt[1])) &&
         SUCCEEDED(WriteCorner(_first.area, &KORIVrcProjectionArea::SetUpperLeft, rebuilt[3]));
}

extern "C" KORCommand* fctCreateKORVrcSnapCmd(void*) {
  return new KORVrcSnapCmd();
}
