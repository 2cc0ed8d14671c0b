#pragma once
// Dragging trackers, tracking stations and screen views with the host's 3D
// manipulator. BeginMove reads where the element starts; each Move writes the
// start moved by the manipulator's displacement; EndMove lets go. When the
// start cannot be read (a tracker following nothing, a screen without
// projection area) Move writes nothing and succeeds. No undo of their own:
// the host records the whole drag as one step.
//
// KORVrcConditionsSelectMove3DOnTrackers is the drag condition of trackers:
// only a tracker that follows an element can be dragged.
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "visu/KORISelectMove3D.h"

#include <string>

// The operations every select-and-move extension shares: traces, the null
// displacement, and Move without start values.
class KOREVrcSelectMove3D : public KORExtensionOf<KORISelectMove3D> {
public:
  HRESULT Init(KORBaseUnknown** ioMoveAgent) override;
  HRESULT End() override;
  HRESULT BeginMove(KORMathTransformation* iTransformation) override;
  HRESULT Move(KORMathTransformation* ioTransformation) override;
  HRESULT EndMove(KORMathTransformation* iTransformation) override;
  void OnDispose() override { ForgetStart(); }

protected:
  // iClassName names the extension in the traces.
  explicit KOREVrcSelectMove3D(const char* iClassName) : _className(iClassName) {}
  // Reads and keeps the start values; false (nothing kept) when they cannot
  // be read.
  virtual bool ReadStart() = 0;
  // Writes the element as the start moved by iDisplacement.
  virtual HRESULT WriteMoved(const KORMathTransformation& iDisplacement) = 0;
  // Releases what ReadStart kept.
  virtual void ForgetStart() = 0;

private:
  std::string Signature(const char* iOperation) const;

  const char* _className;
  bool _started = false;
};

class KOREVrcSelectMove3DOnTracker final : public KOREVrcSelectMove3D {
public:
  KOREVrcSelectMove3DOnTracker() : KOREVrcSelectMove3D("KOREVrcSelectMove3DOnTracker") {}

private:
  bool ReadStart() override;
  // The tracker's drawn frame L.O moves by T while its element stays: the
  // offset becomes L^-1.T.L.O.
  HRESULT WriteMoved(const KORMathTransformation& iDisplacement) override;
  void ForgetStart() override { _tracker = nullptr; }

  KORIVrcTracker_var _tracker;
  KORMathTransformation _offset;
  KORMathTransformation _location;
  KORMathTransformation _locationInverse;
};

class KOREVrcSelectMove3DOnTrackingStation final : public KOREVrcSelectMove3D {
public:
  KOREVrcSelectMove3DOnTrackingStation()
      : KOREVrcSelectMove3D("KOREVrcSelectMove3DOnTrackingStation") {}

private:
  bool ReadStart() override;
  HRESULT WriteMoved(const KORMathTransformation& iDisplacement) override;
  void ForgetStart() override { _station = nullptr; }

  KORIVrcTrackingStation_var _station;
  KORMathTransformation _ref;
};

class KOREVrcSelectMove3dOnScreenView final : public KOREVrcSelectMove3D {
public:
  KOREVrcSelectMove3dOnScreenView() : KOREVrcSelectMove3D("KOREVrcSelectMove3dOnScreenView") {}

private:
  bool ReadStart() override;
  // The three stored corners move; the fourth follows from them.
  HRESULT WriteMoved(const KORMathTransformation& iDisplacement) override;
  void ForgetStart() override { _area = nullptr; }

  KORIVrcProjectionArea_var _area;
  KORMathPoint _upperLeft;
  KORMathPoint _lowerRight;
  KORMathPoint _lowerLeft;
};

extern "C" bool KORVrcConditionsSelectMove3DOnTrackers(KORBaseUnknown* iObject);
