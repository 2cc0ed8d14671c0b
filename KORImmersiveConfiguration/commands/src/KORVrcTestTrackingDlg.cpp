#include "KORVrcTestTrackingDlg.h"

#include "dialog/KORDlgNotifications.h"

namespace {
// The message key for what is missing of a pair (head's, hand's): none, the
// hand's, the head's, or both.
const char* MissingKey(bool iHead, bool iHand, const char* iNoHand, const char* iNoHead,
                       const char* iNone) {
  if (iHead && iHand)
    return nullptr;
  if (iHead)
    return iNoHand;
  return iHand ? iNoHead : iNone;
}
} // namespace

KORVrcTestTrackingDlg::KORVrcTestTrackingDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcTestTrackingDlg", KORDlgOK) {}

void KORVrcTestTrackingDlg::SetModelSync(unsigned char iSync) {
  _modelSync = iSync != 0;
}
void KORVrcTestTrackingDlg::SetHandTrackingEventAvailability(unsigned char iAvailable) {
  _handEvent = iAvailable != 0;
}
void KORVrcTestTrackingDlg::SetHeadTrackingEventAvailability(unsigned char iAvailable) {
  _headEvent = iAvailable != 0;
}
void KORVrcTestTrackingDlg::Set3DPickingTrackerAvailability(unsigned char iAvailable) {
  _pickingTracker = iAvailable != 0;
}
void KORVrcTestTrackingDlg::SetViewpointTrackerAvailability(unsigned char iAvailable) {
  _viewpointTracker = iAvailable != 0;
}

bool KORVrcTestTrackingDlg::IsHeadTrackingChecked() const {
  return _headCheck && _headCheck->GetState();
}
bool KORVrcTestTrackingDlg::IsHandTrackingChecked() const {
  return _handCheck && _handCheck->GetState();
}

KORUnicodeString KORVrcTestTrackingDlg::StatusText(const char* iKey) const {
  KORUnicodeString text;
  if (iKey && FAILED(GetMessageCatalog().BuildMessage(iKey, text)))
    text = iKey;
  return text;
}

void KORVrcTestTrackingDlg::Build() {
  // Captions come from the catalog; a missing one shows the widget's name.
  if (FAILED(LoadMessageCatalog("KORVrcTestTrackingDlg")))
    SetTitle("KORVrcTestTrackingDlg");
  auto* frame002 = new KORDlgFrame(this, "Frame002");
  auto* labels = new KORDlgFrame(frame002, "Frame017");
  _choices = new KORDlgFrame(frame002, "Frame004");
  _headCheck = new KORDlgCheckButton(_choices, "CheckButton005");
  _handCheck = new KORDlgCheckButton(_choices, "CheckButton006");
  _start = new KORDlgPushButton(_choices, "PushButton007");
  _stop = new KORDlgPushButton(_choices, "PushButton008");
  for (const char* fixed : {"Label003", "Label009", "Label010", "Label011", "Label012", "Label013",
                            "Label015", "Label016"})
    new KORDlgLabel(labels, fixed);
  auto* spacer = new KORDlgLabel(labels, "Label022");
  auto* trackerStatus = new KORDlgLabel(labels, "Label018");
  auto* eventStatus = new KORDlgLabel(labels, "Label020");
  auto* syncStatus = new KORDlgLabel(labels, "Label021");

  const bool head = _headEvent && _viewpointTracker;
  const bool hand = _handEvent && _pickingTracker;
  _headCheck->SetSensitivity(head);
  _handCheck->SetSensitivity(hand);
  _choices->SetSensitivity(head || hand);
  _start->SetSensitivity(false);
  _stop->SetSensitivity(false);
  eventStatus->SetTitle(StatusText(
      MissingKey(_headEvent, _handEvent, "ErrorNoHandEvent", "ErrorNoHeadEvent", "ErrorNoEvent")));
  trackerStatus->SetTitle(StatusText(MissingKey(_viewpointTracker, _pickingTracker,
                                                "ErrorNoHandTracker", "ErrorNoHeadTracker",
                                                "ErrorNoTracker")));
  syncStatus->SetTitle(StatusText(_modelSync ? nullptr : "ErrorModelNotSync"));
  spacer->SetTitle("");

  AddAnalyseNotificationCB(_start, KORDlgPushBActivateNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) {
                             OnStartPushBActivateNotification();
                           });
  AddAnalyseNotificationCB(_stop, KORDlgPushBActivateNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) {
                             OnStopPushBActivateNotification();
                           });
  AddAnalyseNotificationCB(_headCheck, KORDlgCheckModifyNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) {
                             OnHeadChkBModifyNotification();
                           });
  AddAnalyseNotificationCB(_handCheck, KORDlgCheckModifyNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) {
                             OnHandChkBModifyNotification();
                           });
}

void KORVrcTestTrackingDlg::EnablePushButtons() {
  const bool any = _headCheck->GetState() || _handCheck->GetState();
  _start->SetSensitivity(any);
  _stop->SetSensitivity(any);
}

void KORVrcTestTrackingDlg::OnHeadChkBModifyNotification() {
  EnablePushButtons();
}

void KORVrcTestTrackingDlg::OnHandChkBModifyNotification() {
  EnablePushButtons();
}

template <class Notification> void KORVrcTestTrackingDlg::Notify() {
  Notification notification;
  KORIgnoreResult(SendNotification(GetFather(), notification),
                  "E_INVALIDARG only without father, and then no command listens");
}

void KORVrcTestTrackingDlg::OnStartPushBActivateNotification() {
  _headCheck->SetSensitivity(false);
  _handCheck->SetSensitivity(false);
  Notify<KORVrcTestTrackingDlgStart>();
}

void KORVrcTestTrackingDlg::OnStopPushBActivateNotification() {
  _headCheck->SetSensitivity(_headEvent);
  _handCheck->SetSensitivity(_handEvent);
  Notify<KORVrcTestTrackingDlgStop>();
}
