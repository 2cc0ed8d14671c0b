#pragma once
// The live tracking test run from the browser workbench: while the
// test-tracking dialog's test runs, the datagrams of a tracking controller
// (received on UDP, or a recorded run replayed at its pace) reach the
// frame's device service through the same path as `korvrc track`, and the
// head's and hand device's placements are reported as they change. Used
// from the frame's thread only.
#include "KORVrcTrackingSource.h"
#include "featurestore/KORDocument.h"
#include "frame/KORFrame.h"

#include <memory>

class KORDlgObject;
#include <string>

struct KORVrcTrackingSettings {
  std::string listen = "127.0.0.1:5000"; // ADDRESS:PORT to receive datagrams on
  std::string replay;                    // a recorded run to replay instead; empty: none
};

class KORVrcLiveTracking {
public:
  KORVrcLiveTracking(KORFrame& iFrame, KORSmartPtr<KORDocument> iDocument,
                     KORVrcTrackingSettings iSettings);
  KORVrcLiveTracking(const KORVrcLiveTracking&) = delete;
  KORVrcLiveTracking& operator=(const KORVrcLiveTracking&) = delete;

  // After each action: starts the source when the dialog's test has started,
  // stops it when the test has stopped, and keeps the controller's mapping
  // up to date with the document while no test is open. E_FAIL with oError
  // when the source cannot start (the test then runs without data).
  HRESULT Follow(std::string& oError);
  bool IsRunning() const { return _source != nullptr; }

  // Delivers the device events received so far. Returns the placements as
  // {"running", "head": {x, y, z, h, p, r}, "hand", "received", "skipped"}
  // when they changed since the last report while the test runs, and once
  // when its dialog opens and after a stop; else an empty text.
  std::string Pump();

private:
  KORDlgObject* TestDialog();
  bool TestRuns();

  KORFrame& _frame;
  KORSmartPtr<KORDocument> _document;
  KORVrcTrackingSettings _settings;
  std::unique_ptr<KORVRTrackingFeed> _feed;
  std::unique_ptr<KORVrcTrackingSource> _source; // stops before its feed goes
  std::string _reported;
  bool _reportDue = false; // placements to tell even if the test does not run
  bool _dialogShown = false;
};
