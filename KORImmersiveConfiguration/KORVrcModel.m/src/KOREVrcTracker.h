#pragma once
// A tracker (feature type "KORVrcTracker"): a sensor of its father tracking
// station, its offset and the element it follows.
#include "KORAdapterVrcName.h"
#include "interfaces/KORIVrcTracker.h"

class KOREVrcTracker : public KORAdapterVrcName<KORIVrcTracker> {
public:
  KOREVrcTracker() = default;

  // Connects the followed element to the tracker again.
  HRESULT Reconnect() override;

  HRESULT GetOffset(KORMathTransformation& oOffset) override;
  HRESULT SetOffset(const KORMathTransformation& iOffset) override;
  HRESULT GetTrackedElement(KORIVrcTrackedElement** oElement) override;
  HRESULT SetTrackedElement(KORIVrcTrackedElement* iElement) override;
  HRESULT GetTrackingStation(KORIVrcTrackingStation** oStation) override;
  HRESULT GetBestOffset(KORMathTransformation& oOffset) override;
};
