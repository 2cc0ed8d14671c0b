#pragma once
// Snapping the host's 3D compass onto the axis frame of a tracking station
// (its reference frame) or of a tracker (the frame its offset places: on its
// element, or beside its station when it follows none). Only the target axis
// is written.
#include "visu/KORI3DCompassSnap.h"

class KOREVrc3DCompassSnap : public KORExtensionOf<KORI3DCompassSnap> {
public:
  HRESULT Snap(KORPathElement* iPath, KORMathDirection* iEyeDirection, KORMathAxis* ioTargetAxis,
               int* ioTargetDimension) final;

protected:
  explicit KOREVrc3DCompassSnap(const char* iTraceSignature) : _traceSignature(iTraceSignature) {}
  // The element's axis frame, or false when it cannot be read.
  virtual bool ReadFrame(KORMathTransformation& oFrame) = 0;

private:
  const char* _traceSignature;
};

class KOREVrc3DCompassSnapOnTrackingStation final : public KOREVrc3DCompassSnap {
public:
  KOREVrc3DCompassSnapOnTrackingStation();

private:
  bool ReadFrame(KORMathTransformation& oFrame) override;
};

class KOREVrc3DCompassSnapOnTracker final : public KOREVrc3DCompassSnap {
public:
  KOREVrc3DCompassSnapOnTracker();

private:
  // Beside the station, the offset counts in full, not scaled to the length
  // it is drawn with.
  bool ReadFrame(KORMathTransformation& oFrame) override;
};
