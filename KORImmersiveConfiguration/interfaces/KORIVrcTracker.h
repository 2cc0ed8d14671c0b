#pragma once
// A sensor of a tracking station, named by its number on the station: its
// offset and the element it follows (connected to the tracker, so that a moved
// element reaches it). GetBestOffset gives the recommended offset for the known
// pairs of device and tracking system and fails, its output unchanged, for the
// others. Accessors follow the conventions written in KORIVrcElement.h.
#include "interfaces/KORIVrcElement.h"
#include "math/KORMathTransformation.h"

class KORIVrcTrackedElement;
class KORIVrcTrackingStation;

class KORIVrcTracker : public KORIVrcElement {
  KOR_INTERFACE(KORIVrcTracker, KORIVrcElement)
public:
  [[nodiscard]] virtual HRESULT GetOffset(KORMathTransformation& oOffset) = 0;
  [[nodiscard]] virtual HRESULT SetOffset(const KORMathTransformation& iOffset) = 0;
  [[nodiscard]] virtual HRESULT GetTrackedElement(KORIVrcTrackedElement** oElement) = 0;
  [[nodiscard]] virtual HRESULT SetTrackedElement(KORIVrcTrackedElement* iElement) = 0;
  [[nodiscard]] virtual HRESULT GetTrackingStation(KORIVrcTrackingStation** oStation) = 0;
  [[nodiscard]] virtual HRESULT GetBestOffset(KORMathTransformation& oOffset) = 0;
};
KOR_DECLARE_VAR(KORIVrcTracker)
