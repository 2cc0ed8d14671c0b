#pragma once
// The live tracking test's dialog: which trackers follow the sensors (head,
// hand), Start and Stop, and three status lines saying which trackers and
// tracking events are missing and whether the runtime has loaded this
// configuration. Start and Stop reach the command as the notifications
// below; OK and the window's close climb to it as every dialog's do.
//
// The availability flags are set before Build, which decides from them what
// can be ticked and what the status lines say.
#include "dialog/KORDlgWidgets.h"

KOR_DECLARE_NOTIFICATION(KORVrcTestTrackingDlgStart, KORCommandNotification)
KOR_DECLARE_NOTIFICATION(KORVrcTestTrackingDlgStop, KORCommandNotification)

class KORVrcTestTrackingDlg : public KORDlgDialog {
public:
  explicit KORVrcTestTrackingDlg(KORCommand* iFather);
  void Build();

  void SetModelSync(unsigned char iSync);
  void SetHandTrackingEventAvailability(unsigned char iAvailable);
  void SetHeadTrackingEventAvailability(unsigned char iAvailable);
  void Set3DPickingTrackerAvailability(unsigned char iAvailable);
  void SetViewpointTrackerAvailability(unsigned char iAvailable);
  bool IsHeadTrackingChecked() const;
  bool IsHandTrackingChecked() const;

private:
  void OnStartPushBActivateNotification();
  void OnStopPushBActivateNotification();
  void OnHeadChkBModifyNotification();
  void OnHandChkBModifyNotification();
  void EnablePushButtons();
  // The catalog's text for iKey, or an empty one for a null key.
  KORUnicodeString StatusText(const char* iKey) const;
  // Sends a notification without data to the command.
  template <class Notification> void Notify();

  KORDlgFrame* _choices = nullptr;
  KORDlgCheckButton* _headCheck = nullptr;
  KORDlgCheckButton* _handCheck = nullptr;
  KORDlgPushButton* _start = nullptr;
  KORDlgPushButton* _stop = nullptr;
  bool _handEvent = false;
  bool _headEvent = false;
  bool _pickingTracker = false;
  bool _viewpointTracker = false;
  bool _modelSync = false;
};
