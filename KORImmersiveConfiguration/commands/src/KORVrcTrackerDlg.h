#pragma once
// The tracker's dialog: a read-only caption naming the tracker and its
// station, the element the tracker follows (head, hand device or another
// object) with the box that makes it the head's viewpoint tracker or the hand
// device's picking tracker, the offset from that element, the box that makes
// it the hand device's button manager, and the push button that asks for the
// best offset. Choosing another element sends KORVrcChangeTrackedElement, the
// push button KORVrcGenerateTrackerOffset, to the command.
#include "KORVrcPlacementFields.h"
#include "dialog/KORDlgWidgets.h"

KOR_DECLARE_NOTIFICATION(KORVrcChangeTrackedElement, KORCommandNotification)
KOR_DECLARE_NOTIFICATION(KORVrcGenerateTrackerOffset, KORCommandNotification)

// What a tracker follows, as the combo's line index.
enum class KORVrcTrackedKind : int { Head = 0, Hand = 1, Other = 2 };

class KORVrcTrackerDlg : public KORDlgDialog {
public:
  explicit KORVrcTrackerDlg(KORCommand* iFather);
  void Build();

  void SetValues(const KORUnicodeString& iCaption, const KORMathTransformation& iOffset);
  void GetOffsetDlg(KORMathTransformation& oOffset) const;
  // Selects iKind's line when iSelectCombo, ticks the manager box when
  // iManagerOn, and titles that box and the explanations after iKind.
  void SetTrackedElement(KORVrcTrackedKind iKind, bool iManagerOn, bool iSelectCombo);
  KORVrcTrackedKind GetComboTrackedElementValue() const;
  // The viewpoint or picking manager box is ticked.
  bool GetCheckBoxState() const;
  // The button manager box is ticked.
  bool GetCheckButtonManagerState() const;
  void ShowButtonManager(bool iShow);
  void SetButtonManager(bool iOn);
  void SetStateGenerationOffsetButton(bool iEnabled);

private:
  void Send(KORCommandNotification& iNotification);
  KORUnicodeString Text(const char* iKey) const;

  KORDlgEditor* _captionEditor = nullptr;
  KORDlgPushButton* _generateButton = nullptr;
  KORDlgCheckButton* _managerBox = nullptr;
  KORVrcPlacementFields _offset;
  KORDlgLabel* _explanation = nullptr;
  KORDlgLabel* _secondExplanation = nullptr;
  KORDlgCombo* _trackedCombo = nullptr;
  KORDlgCheckButton* _buttonManagerBox = nullptr;
};
