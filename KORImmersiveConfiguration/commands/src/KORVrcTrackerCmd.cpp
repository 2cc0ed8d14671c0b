#include "KORVrcTrackerCmd.h"

#include "KORVrcControllerTrace.h"
#include "KORVrcTools.h"
#include "KORVrcTrackerNumbers.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "system/KORFrameServices.h"
#include "system/KORMsgCatalog.h"

namespace {
constexpr const char* kAgentId = "KORVrcTrackerDlgId";
// ART stations take buttons on their trackers from this number on.
constexpr int kFirstARTButtonTracker = 8;

KORUnicodeString CommandText(const char* iKey) {
  std::shared_ptr<const KORMsgCatalog> catalog;
  KORUnicodeString text, error;
  if (FAILED(KORFindMsgCatalog("KORVrcTrackerCmd", catalog, error)) ||
      FAILED(catalog->BuildMessage(iKey, text)))
    text = iKey;
  return text;
}

bool Same(KORBaseUnknown* iFirst, KORBaseUnknown* iSecond) {
  return CompareInterfacePointers(iFirst, iSecond) == 1;
}
} // namespace

KORVrcTrackerCmd::KORVrcTrackerCmd(KORIVrcTracker* iTracker)
    : KORVrcEditCmd("KORVrcTrackerCmd", iTracker, {kAgentId, kAgentId, kAgentId, kAgentId}),
      _tracker(iTracker) {}

KORDlgDialog* KORVrcTrackerCmd::BuildDialog() {
  KORIVrcFactory* factory = GetFactory();
  if (!_tracker || !factory)
    return nullptr;
  if (FAILED(factory->RetrieveHead(_head.Out())))
    _head = nullptr;
  if (FAILED(factory->RetrieveHandDevice(_hand.Out())))
    _hand = nullptr;
  _trackerDialog = new KORVrcTrackerDlg(this);
  _trackerDialog->Build();
  return _trackerDialog;
}

void KORVrcTrackerCmd::AddKindAgents() {
  // Picks of tracked elements are taken but change nothing.
  AddPickAgent("GetTrackedElement", KORIVrcTrackedElement::IID)
      ->AddBehavior(KORAgentHighlightPicked);
  AddNotificationAgent(kAgentId, KORVrcChangeTrackedElement::ClassName,
                       Action(&KORVrcTrackerCmd::ModifyTrackedElement));
  AddNotificationAgent(kAgentId, KORVrcGenerateTrackerOffset::ClassName,
                       Action(&KORVrcTrackerCmd::OnPushButtonGenerate));
}

bool KORVrcTrackerCmd::IsViewPointTracker() const {
  KORIVrcTracker_var viewPoint;
  return _head && SUCCEEDED(_head->GetViewPointTracker(viewPoint.Out())) &&
         Same(viewPoint.get(), _tracker.get());
}

bool KORVrcTrackerCmd::IsPickingTracker() const {
  KORIVrcTracker_var picking;
  return _hand && SUCCEEDED(_hand->GetPickingTracker(picking.Out())) &&
         Same(picking.get(), _tracker.get());
}

bool KORVrcTrackerCmd::HasBestOffset() const {
  KORMathTransformation best;
  return SUCCEEDED(_tracker->GetBestOffset(best));
}

bool KORVrcTrackerCmd::CanManageButtons() const {
  KORVrcTrackingStationType type{};
  const KORIVrcTrackingStation_var station =
      ReadLinked(_tracker.get(), &KORIVrcTracker::GetTrackingStation);
  if (!station || FAILED(station->GetType(type)))
    return false;
  if (type == KORVrcStationART)
    return GetTrackerNumber(_tracker.get()).value_or(0) >= kFirstARTButtonTracker;
  return type != KORVrcStationPolhemus;
}

void KORVrcTrackerCmd::SaveValues() {
  _savedOffset = ReadValue(_tracker.get(), &KORIVrcTracker::GetOffset);
  if (FAILED(_tracker->GetTrackedElement(_savedTrackedElement.Out())))
    _savedTrackedElement = nullptr;
  if (!_head || FAILED(_head->GetViewPointTracker(_savedViewPointTracker.Out())))
    _savedViewPointTracker = nullptr;
  if (!_hand || FAILED(_hand->GetPickingTracker(_savedPickingTracker.Out())))
    _savedPickingTracker = nullptr;
  if (!_hand || FAILED(_hand->GetButtonManager(_savedButtonManager.Out())))
    _savedButtonManager = nullptr;
}

KORUnicodeString KORVrcTrackerCmd::ComposeCaption() const {
  KORUnicodeString caption = CommandText("Tracker") + " " +
                             ReadValue<KORIVrcElement>(_tracker.get(), &KORIVrcElement::GetName);
  if (const KORIVrcTrackingStation_var station =
          ReadLinked(_tracker.get(), &KORIVrcTracker::GetTrackingStation))
    caption += " " + CommandText("On") + " " +
               ReadValue<KORIVrcElement>(station.get(), &KORIVrcElement::GetName);
  return caption;
}

void KORVrcTrackerCmd::InitDialog() {
  TraceMethod("InitDialog()");
  _caption = ComposeCaption();
  const bool buttons = CanManageButtons();
  _trackerDialog->ShowButtonManager(buttons);
  _trackerDialog->SetButtonManager(buttons && _hand && _hand->IsButtonManager(_tracker.get()));
  _trackerDialog->SetStateGenerationOffsetButton(HasBestOffset());
  KORVrcTrackedKind kind = KORVrcTrackedKind::Other;
  bool manager = false;
  if (KORQuery<KORIVrcHead>(_savedTrackedElement)) {
    kind = KORVrcTrackedKind::Head;
    manager = IsViewPointTracker();
  } else if (KORQuery<KORIVrcHandDevice>(_savedTrackedElement)) {
    kind = KORVrcTrackedKind::Hand;
    manager = IsPickingTracker();
  }
  _trackerDialog->SetTrackedElement(kind, manager, true);
  _trackerDialog->SetValues(_caption, _savedOffset);
}

bool KORVrcTrackerCmd::ModifyTrackedElement(void*) {
  TraceMethod("ModifyTrackedElement()");
  // Selecting a line from the program sends nothing, so every change that
  // arrives here is the person's own.
  _trackerDialog->SetTrackedElement(_trackerDialog->GetComboTrackedElementValue(),
                                    /*iManagerOn=*/true, /*iSelectCombo=*/false);
  const bool generated = OnPushButtonGenerate(nullptr);
  _trackerDialog->SetStateGenerationOffsetButton(HasBestOffset());
  return generated;
}

bool KORVrcTrackerCmd::OnPushButtonGenerate(void*) {
  TraceMethod("OnPushButtonGenerate()");
  // The best offset depends on the followed element, which is written first.
  bool written = WriteValues();
  KORMathTransformation best;
  if (SUCCEEDED(_tracker->GetBestOffset(best))) {
    _trackerDialog->SetValues(_caption, best);
    written = WriteValues() && written;
  }
  return written;
}

bool KORVrcTrackerCmd::WriteValues() {
  if (!_tracker || !_trackerDialog)
    return false;
  _written = true;
  KORMathTransformation offset;
  _trackerDialog->GetOffsetDlg(offset);
  bool written = true;
  // The roles are given again below after what the dialog says.
  if (IsViewPointTracker())
    written = SUCCEEDED(_head->SetViewPointTracker(nullptr)) && written;
  if (IsPickingTracker())
    written = SUCCEEDED(_hand->SetPickingTracker(nullptr)) && written;
  written = SUCCEEDED(_tracker->SetOffset(offset)) && written;

  const KORVrcTrackedKind kind = _trackerDialog->GetComboTrackedElementValue();
  KORIVrcTrackedElement_var followed; // none for another object
  if (kind == KORVrcTrackedKind::Head)
    followed = KORQuery<KORIVrcTrackedElement>(_head);
  else if (kind == KORVrcTrackedKind::Hand)
    followed = KORQuery<KORIVrcTrackedElement>(_hand);
  written = SUCCEEDED(_tracker->SetTrackedElement(followed.get())) && written;
  if (_trackerDialog->GetCheckBoxState()) {
    if (kind == KORVrcTrackedKind::Head && _head)
      written = SUCCEEDED(_head->SetViewPointTracker(_tracker.get())) && written;
    else if (kind == KORVrcTrackedKind::Hand && _hand)
      written = SUCCEEDED(_hand->SetPickingTracker(_tracker.get())) && written;
  }

  // Where the box is hidden the dialog says nothing about the buttons.
  if (!_hand || !CanManageButtons())
    return written;
  if (_trackerDialog->GetCheckButtonManagerState())
    written = SUCCEEDED(_hand->SetButtonManager(_tracker.get())) && written;
  else if (_hand->IsButtonManager(_tracker.get()))
    written = SUCCEEDED(_hand->SetButtonManager(static_cast<KORIVrcTracker*>(nullptr))) && written;
  return written;
}

bool KORVrcTrackerCmd::RestoreValues() {
  if (!_tracker)
    return false;
  if (!_written)
    return true; // nothing was changed
  bool restored = SUCCEEDED(_tracker->SetOffset(_savedOffset));
  restored = SUCCEEDED(_tracker->SetTrackedElement(_savedTrackedElement.get())) && restored;
  if (_head)
    restored = SUCCEEDED(_head->SetViewPointTracker(_savedViewPointTracker.get())) && restored;
  if (_hand) {
    restored = SUCCEEDED(_hand->SetPickingTracker(_savedPickingTracker.get())) && restored;
    restored = SUCCEEDED(_hand->SetButtonManager(_savedButtonManager.get())) && restored;
  }
  return restored;
}

extern "C" KORCommand* fctCreateKORVrcTrackerCmd(void* iTracker) {
  return new KORVrcTrackerCmd(static_cast<KORIVrcTracker*>(iTracker));
}
