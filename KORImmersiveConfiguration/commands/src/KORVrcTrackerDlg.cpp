#include "KORVrcTrackerDlg.h"

#include "dialog/KORDlgNotifications.h"

namespace {
// The texts of each tracked kind, keys of the dialog's catalog.
struct TrackedKindTexts {
  const char* line;
  const char* managerTitle; // null: no manager box
  const char* explanation;
  const char* secondExplanation;
};
constexpr TrackedKindTexts kKindTexts[] = {
    {"HEAD", "ViewPointManager", "EXPLAIN1", "EXPLAIN5"},
    {"HAND", "PickingManager", "EXPLAIN2", "EXPLAIN5"},
    {"OTHER", nullptr, "EXPLAIN3", "EXPLAIN4"},
};

const TrackedKindTexts& TextsOf(KORVrcTrackedKind iKind) {
  return kKindTexts[static_cast<std::size_t>(iKind)];
}
} // namespace

KORVrcTrackerDlg::KORVrcTrackerDlg(KORCommand* iFather)
    : KORDlgDialog(iFather, "KORVrcTrackerDlg", KORDlgOK | KORDlgCancel | KORDlgApply) {}

KORUnicodeString KORVrcTrackerDlg::Text(const char* iKey) const {
  KORUnicodeString text;
  if (FAILED(GetMessageCatalog().BuildMessage(iKey, text)))
    text = iKey;
  return text;
}

void KORVrcTrackerDlg::Build() {
  // Captions and texts come from the catalog; a missing one shows its key.
  if (FAILED(LoadMessageCatalog("KORVrcTracker")))
    SetTitle("KORVrcTrackerDlg");
  auto* frame = new KORDlgFrame(this, "Frame006");
  new KORDlgLabel(frame, "Label036");
  _captionEditor = new KORDlgEditor(frame, "NameEditor", KORDlgEditor::ReadOnly);
  new KORDlgSeparator(frame, "Separator032");

  new KORDlgLabel(frame, "Label038");
  auto* trackedFrame = new KORDlgFrame(frame, "Frame046");
  _trackedCombo = new KORDlgCombo(trackedFrame, "ComboTrackedElement");
  for (const TrackedKindTexts& texts : kKindTexts)
    _trackedCombo->SetLine(Text(texts.line));
  _managerBox = new KORDlgCheckButton(frame, "CheckButtonTrackedElement");
  auto* explanations = new KORDlgFrame(frame, "Frame045");
  _explanation = new KORDlgLabel(explanations, "LabelExplain");
  _secondExplanation = new KORDlgLabel(explanations, "LabelExplain2");
  new KORDlgLabel(explanations, "Label047");

  auto* offsetFrame = new KORDlgFrame(frame, "Frame043");
  for (const char* label : {"Label041", "Label015", "Label016", "Label017", "Label042", "Label029",
                            "Label030", "Label031"})
    new KORDlgLabel(offsetFrame, label);
  _offset.Build(offsetFrame);
  _generateButton = new KORDlgPushButton(frame, "PushButton040");
  new KORDlgSeparator(frame, "Separator035");
  _buttonManagerBox = new KORDlgCheckButton(frame, "CheckButtonManager");

  AddAnalyseNotificationCB(_trackedCombo, KORDlgComboSelectNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) {
                             KORVrcChangeTrackedElement change;
                             Send(change);
                           });
  AddAnalyseNotificationCB(_generateButton, KORDlgPushBActivateNotification::ClassName,
                           [this](KORCommand*, KORCommandNotification&) {
                             KORVrcGenerateTrackerOffset generate;
                             Send(generate);
                           });
  SetTrackedElement(KORVrcTrackedKind::Other, false, true);
}

void KORVrcTrackerDlg::Send(KORCommandNotification& iNotification) {
  KORIgnoreResult(SendNotification(GetFather(), iNotification),
                  "the command decides what the dialog's request does");
}

void KORVrcTrackerDlg::SetValues(const KORUnicodeString& iCaption,
                                 const KORMathTransformation& iOffset) {
  _captionEditor->SetText(iCaption);
  _offset.Set(iOffset);
}

void KORVrcTrackerDlg::GetOffsetDlg(KORMathTransformation& oOffset) const {
  oOffset = _offset.Get();
}

void KORVrcTrackerDlg::SetTrackedElement(KORVrcTrackedKind iKind, bool iManagerOn,
                                         bool iSelectCombo) {
  if (iSelectCombo)
    _trackedCombo->SetSelect(static_cast<int>(iKind));
  _managerBox->SetState(iManagerOn);
  const TrackedKindTexts& texts = TextsOf(iKind);
  _managerBox->SetVisibility(texts.managerTitle != nullptr);
  if (texts.managerTitle)
    _managerBox->SetTitle(Text(texts.managerTitle));
  _explanation->SetTitle(Text(texts.explanation));
  _secondExplanation->SetTitle(Text(texts.secondExplanation));
}

KORVrcTrackedKind KORVrcTrackerDlg::GetComboTrackedElementValue() const {
  const int line = _trackedCombo->GetSelect();
  return line >= 0 && line < static_cast<int>(std::size(kKindTexts))
             ? static_cast<KORVrcTrackedKind>(line)
             : KORVrcTrackedKind::Other;
}

bool KORVrcTrackerDlg::GetCheckBoxState() const {
  return _managerBox->GetVisibility() && _managerBox->GetState();
}

bool KORVrcTrackerDlg::GetCheckButtonManagerState() const {
  return _buttonManagerBox->GetVisibility() && _buttonManagerBox->GetState();
}

void KORVrcTrackerDlg::ShowButtonManager(bool iShow) {
  _buttonManagerBox->SetVisibility(iShow);
}

void KORVrcTrackerDlg::SetButtonManager(bool iOn) {
  _buttonManagerBox->SetState(iOn);
}

void KORVrcTrackerDlg::SetStateGenerationOffsetButton(bool iEnabled) {
  _generateButton->SetSensitivity(iEnabled);
}
