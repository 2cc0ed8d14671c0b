#pragma once
// The notifications that widgets send when a person acts on them. Each user
// action sends exactly one, from the widget (or the dialog, for its own
// buttons and window), to the widget's father chain.
#include "command/KORCommandNotification.h"

// The dialog's own buttons and window.
KOR_DECLARE_NOTIFICATION_WITH_OUTCOME(KORDlgDiaOKNotification, KORCommandNotification, Commit)
KOR_DECLARE_NOTIFICATION_WITH_OUTCOME(KORDlgDiaAPPLYNotification, KORCommandNotification, Commit)
KOR_DECLARE_NOTIFICATION_WITH_OUTCOME(KORDlgDiaCANCELNotification, KORCommandNotification, Abort)
KOR_DECLARE_NOTIFICATION_WITH_OUTCOME(KORDlgWindCloseNotification, KORCommandNotification, Abort)

// Widgets.
KOR_DECLARE_NOTIFICATION(KORDlgEditModifyNotification, KORCommandNotification)
KOR_DECLARE_NOTIFICATION(KORDlgSpinnerValueChangedNotification, KORCommandNotification)
KOR_DECLARE_NOTIFICATION(KORDlgComboSelectNotification, KORCommandNotification)
KOR_DECLARE_NOTIFICATION(KORDlgCheckModifyNotification, KORCommandNotification)
KOR_DECLARE_NOTIFICATION(KORDlgPushBActivateNotification, KORCommandNotification)
KOR_DECLARE_NOTIFICATION(KORDlgTabSelectNotification, KORCommandNotification)

// Answers to message boxes and notification windows.
KOR_DECLARE_NOTIFICATION(KORDlgNfyOKNotification, KORCommandNotification)
KOR_DECLARE_NOTIFICATION(KORDlgNfyYesNotification, KORCommandNotification)
KOR_DECLARE_NOTIFICATION(KORDlgNfyNoNotification, KORCommandNotification)
KOR_DECLARE_NOTIFICATION(KORDlgNfyCancelNotification, KORCommandNotification)

// File and directory boxes.
KOR_DECLARE_NOTIFICATION(KORDlgFileOKNotification, KORCommandNotification)
KOR_DECLARE_NOTIFICATION(KORDlgFileCancelNotification, KORCommandNotification)
