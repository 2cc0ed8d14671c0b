#include "KOREVrcTracker.h"

#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTrackingStation.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {
constexpr const char* kTrackedElement = "TrackedElement";

enum class TrackedKind { Head, Hand };

// The recommended mounting of a sensor for one pair of device and tracking
// system: a matrix M and a vector v in millimetres.
struct RecommendedOffset {
  TrackedKind kind;
  int deviceType; // KORVrcHeadType or KORVrcHandDeviceType, after kind
  KORVrcTrackingStationType station;
  std::array<double, 9> rows;
  std::array<double, 3> position;
};

// M is written row by row: its first three numbers are its first row.
// clang-format off
constexpr RecommendedOffset kRecommendedOffsets[] = {
    {TrackedKind::Head, KORVrcHeadCrystalEyes, KORVrcStationPolhemus,
     {0, 0, 1,  0, 1, 0,  -1, 0, 0}, {-55, 0, -75}},
    {TrackedKind::Head, KORVrcHeadCrystalEyes, KORVrcStationIS900,
     {0, 1, 0,  0, 0, 1,  1, 0, 0}, {0, 0, 60}},
    {TrackedKind::Head, KORVrcHeadCrystalEyes, KORVrcStationFlockOfBirds,
     {0, 0, 1,  0, 1, 0,  -1, 0, 0}, {-55, 0, -75}},
    {TrackedKind::Head, KORVrcHeadVR6, KORVrcStationPolhemus,
     {0, 1, 0,  0, 0, -1,  -1, 0, 0}, {-80, 0, -80}},
    {TrackedKind::Head, KORVrcHeadVR6, KORVrcStationIS900,
     {0, 1, 0,  0, 0, 1,  1, 0, 0}, {80, 0, 80}},
    {TrackedKind::Head, KORVrcHeadVR6, KORVrcStationFlockOfBirds,
     {0, 1, 0,  0, 0, -1,  -1, 0, 0}, {-80, 0, -80}},
    {TrackedKind::Hand, KORVrcHandMike, KORVrcStationPolhemus,
     {0, 1, 0,  0, 0, -1,  -1, 0, 0}, {0, 0, 0}},
    {TrackedKind::Hand, KORVrcHandInterSenseWand, KORVrcStationIS900,
     {0, 1, 0,  0, 0, -1,  -1, 0, 0}, {0, 0, 0}},
    {TrackedKind::Hand, KORVrcHandNeoWand, KORVrcStationPolhemus,
     {0, 1, 0,  0, 0, -1,  -1, 0, 0}, {0, 0, 0}},
    {TrackedKind::Hand, KORVrcHandSpaceStick, KORVrcStationPolhemus,
     {0, 0, 1,  1, 0, 0,  0, 1, 0}, {0, 0, 0}},
};
// clang-format on

// The fixed change of frame every row is composed with: the offset's rotation
// is R = B * M and its translation R * v.
constexpr std::array<double, 9> kBase{0, 0, -1, -1, 0, 0, 0, 1, 0};

KORMath3x3Matrix FromRows(const std::array<double, 9>& iRows) {
  KORMath3x3Matrix matrix;
  for (int row = 1; row <= 3; ++row)
    for (int column = 1; column <= 3; ++column)
      matrix.SetCoef(row, column, iRows[static_cast<std::size_t>(3 * (row - 1) + column - 1)]);
  return matrix;
}

// The kind and type of the followed element when it has a type of its own.
struct TrackedType {
  TrackedKind kind;
  int type;
};
std::optional<TrackedType> TypeOf(KORIVrcTrackedElement* iElement) {
  if (auto head = KORQuery<KORIVrcHead>(iElement)) {
    KORVrcHeadType type{};
    if (SUCCEEDED(head->GetType(&type)))
      return TrackedType{TrackedKind::Head, type};
  } else if (auto hand = KORQuery<KORIVrcHandDevice>(iElement)) {
    KORVrcHandDeviceType type{};
    if (SUCCEEDED(hand->GetType(&type)))
      return TrackedType{TrackedKind::Hand, type};
  }
  return std::nullopt;
}
} // namespace

HRESULT KOREVrcTracker::Reconnect() {
  KORVrcTraceScope scope("KOREVrcTracker::Reconnect");
  KORIVrcTrackedElement_var element;
  if (SUCCEEDED(GetTrackedElement(element.Out())))
    if (auto refresh = KORVrcAccess::Refresh(element))
      KORIgnoreResult(refresh->Connect(GetImpl()), KORVrcEventNotDelivered);
  return S_OK;
}

HRESULT KOREVrcTracker::GetOffset(KORMathTransformation& oOffset) {
  KORVrcTraceScope scope("KOREVrcTracker::GetOffset");
  return KORVrcAccess::GetTransformation(GetImpl(), "Offset", oOffset);
}

HRESULT KOREVrcTracker::SetOffset(const KORMathTransformation& iOffset) {
  KORVrcTraceScope scope("KOREVrcTracker::SetOffset");
  return KORVrcAccess::SetTransformation(GetImpl(), "Offset", iOffset, KORVrcAccess::Notify::Yes);
}

HRESULT KOREVrcTracker::GetTrackedElement(KORIVrcTrackedElement** oElement) {
  KORVrcTraceScope scope("KOREVrcTracker::GetTrackedElement");
  return KORVrcAccess::GetLink(GetImpl(), kTrackedElement, oElement);
}

HRESULT KOREVrcTracker::SetTrackedElement(KORIVrcTrackedElement* iElement) {
  KORVrcTraceScope scope("KOREVrcTracker::SetTrackedElement");
  KORBaseUnknown* self = GetImpl();
  if (!KORVrcAccess::Attributes(self))
    return E_FAIL;
  KORIVrcTrackedElement_var previous;
  if (SUCCEEDED(GetTrackedElement(previous.Out()))) {
    // The previous element's moves must no longer reach this tracker.
    if (auto refresh = KORVrcAccess::Refresh(previous))
      KORIgnoreResult(refresh->Deconnect(self), KORVrcEventNotDelivered);
    KORVrcAccess::NotifyChange(self);
  }
  if (FAILED(KORVrcAccess::SetLink(self, kTrackedElement, iElement)))
    return E_FAIL;
  if (iElement) {
    // Connected so that moving the element reaches the tracker (and its station).
    if (auto refresh = KORVrcAccess::Refresh(iElement))
      KORIgnoreResult(refresh->Connect(self), KORVrcEventNotDelivered);
    else
      KORVrcAccess::TraceNoRefresh("VrcTrackedElement");
  }
  KORVrcAccess::NotifyChange(self);
  return S_OK;
}

HRESULT KOREVrcTracker::GetTrackingStation(KORIVrcTrackingStation** oStation) {
  KORVrcTraceScope scope("KOREVrcTracker::GetTrackingStation");
  return KORReturn(KORVrcAccess::Father<KORIVrcTrackingStation>(GetImpl()), oStation);
}

HRESULT KOREVrcTracker::GetBestOffset(KORMathTransformation& oOffset) {
  KORVrcTraceScope scope("KOREVrcTracker::GetBestOffset");
  KORIVrcTrackingStation_var station;
  KORIVrcTrackedElement_var element;
  if (FAILED(GetTrackingStation(station.Out())) || FAILED(GetTrackedElement(element.Out())))
    return E_FAIL;
  KORVrcTrackingStationType stationType{};
  const std::optional<TrackedType> tracked = TypeOf(element);
  if (FAILED(station->GetType(stationType)) || !tracked)
    return E_FAIL;

  const auto* row = std::find_if(std::begin(kRecommendedOffsets), std::end(kRecommendedOffsets),
                                 [&](const RecommendedOffset& iRow) {
                                   return iRow.kind == tracked->kind &&
                                          iRow.deviceType == tracked->type &&
                                          iRow.station == stationType;
                                 });
  if (row == std::end(kRecommendedOffsets))
    return E_FAIL;

  const KORMath3x3Matrix rotation = FromRows(kBase) * FromRows(row->rows);
  const KORMathVector position(row->position[0], row->position[1], row->position[2]);
  oOffset = KORMathTransformation(rotation, rotation * position);
  return S_OK;
}
