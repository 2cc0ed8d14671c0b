#pragma once
// The JSON form of a widget tree, for people and front ends: each widget as
// {"name", "kind", "title", "value", "visible", "sensitive"} with its widgets
// under "widgets" (when it has any). "value" is the value as shown: a number
// for a spinner, true/false for a check button, the selected line (or null)
// for a combo, the selected page's name for a tab container, the text for
// editors, labels, message boxes and file boxes, null for the others. A
// dialog also lists its buttons under "buttons". Windows inside a window (a
// message box of a dialog) are not written inside it.
#include "dialog/KORDlgObject.h"

KORUnicodeString KORDlgDumpJSON(const KORDlgObject& iRoot, int iIndent = 2);

// The windows shown under iRoot (see KORDlgShownWindows), each as above, as
// {"windows": [...]}.
KORUnicodeString KORDlgDumpShownWindowsJSON(KORCommand& iRoot, int iIndent = 2);
