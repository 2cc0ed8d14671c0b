#pragma once
// The live tracking test: while it runs, the head and the hand device follow
// the tracking sensors. Each tracking event of the immersive-device service
// gives the sensor's placement S in its station's frame; the element's new
// location is Ref * S * K (Ref the station's reference frame, K the fixed
// turn from the sensor's axes to the element's). Stop, and OK while running,
// put both elements back where they were when the command began.
//
// A run is no edit of the document: each start opens a transaction inside the
// command's own, and each stop aborts it, which takes back every location the
// run wrote together with the configuration identifier those writes renewed.
// So a finished test leaves no undo step, Undo after it undoes the edit made
// before it, and the runtime still knows the configuration for the next run.
//
// Before anything can start, the configuration the runtime has loaded must be
// this document's: otherwise a warning says so and no event is looked up.
// Without a runtime, the host's default events are used.
//
// States: "initialState" (OK and close end, start goes to "secondState");
// "secondState" (stop goes back, OK stops then ends).
#include "command/KORStateCommand.h"
#include "featurestore/KORITransactions.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcFactory.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "math/KORMathTransformation.h"
#include "vr/KORVRDeviceEvent.h"

#include <memory>
#include <optional>

class KORVrcTestTrackingDlg;
class KORVRDispatcherOnIdle;
class KORIVrcTracker;

class KORVrcTestTrackingCmd : public KORStateCommand {
public:
  KORVrcTestTrackingCmd();
  ~KORVrcTestTrackingCmd() override;
  void BuildGraph() override;
  // A test cancelled while running puts the elements back first.
  void Cancel() override;

  bool ActionOK(void*);
  bool ActionStart(void*);
  bool ActionStop(void*);
  bool StopBeforeExit(void*);

  void InitModelInterfaces();
  void LookForVREvents();

  // Device callbacks: a null notification, a missing element or an event
  // whose data is too short does nothing.
  void OnHeadMotion(const KORVRNotification* iNotification);
  void OnHandMotion(const KORVRNotification* iNotification);

private:
  void TraceMethod(const char* iMethod) const;
  // The reference frame of iTracker's station into ioRef; whether there is
  // a tracker.
  static bool ReadStationRef(KORIVrcTracker* iTracker, KORMathTransformation& ioRef);
  void WarnNotSynchronised();
  void MoveElement(KORIVrcTrackedElement* iElement, const KORMathTransformation& iRef,
                   const KORMathTransformation& iSensor);
  // Takes back what the running test wrote (see above); nothing without one.
  void TakeBackRun();
  // Puts iElement back at iSaved unless it is there already, so that a
  // restore after the take-back writes (and renews the identifier) only when
  // the element was moved between two runs.
  void Restore(KORIVrcTrackedElement* iElement, const KORMathTransformation& iSaved,
               const char* iWhat);

  KORDialogAgent* _okAgent = nullptr;
  KORDialogAgent* _closeAgent = nullptr;
  KORDialogAgent* _startAgent = nullptr;
  KORDialogAgent* _stopAgent = nullptr;
  KORVrcTestTrackingDlg* _dialog = nullptr;
  KORCommandState* _secondState = nullptr;

  KORIVrcFactory_var _factory;
  KORIVrcConfig_var _config;
  KORIVrcTrackedElement_var _headElement;
  KORIVrcTrackedElement_var _handElement;
  KORMathTransformation _headStationRef;
  KORMathTransformation _handStationRef;
  KORMathTransformation _savedHeadLocation;
  KORMathTransformation _savedHandLocation;

  std::optional<KORVRDeviceEvent> _headEvent;
  std::optional<KORVRDeviceEvent> _handEvent;
  std::unique_ptr<KORVRDispatcherOnIdle> _dispatcher;
  KORITransactions_var _run; // the document, while a run's transaction is open
  bool _headEventAvailable = false;
  bool _handEventAvailable = false;
  bool _headIsViewportEvent = false;
  bool _headIsPositionEvent = false;
};
