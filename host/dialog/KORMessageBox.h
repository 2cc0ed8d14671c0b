#pragma once
// Message boxes of the host. Until the dialog toolkit exists, a message box is
// a record: the host keeps every box shown (identifier, style, title, text),
// writes it to standard error unless told to stay quiet, and returns at once as
// if the user had closed it.
#include "system/KORString.h"

#include <vector>

enum class KORMessageBoxStyle { Error, Information, Warning, Question };

struct KORMessageBoxRecord {
  KORString identifier;
  KORMessageBoxStyle style;
  KORUnicodeString title;
  KORUnicodeString text;
};

// Shows a modal message box whose parent is the application's main window.
void KORShowMessageBox(const KORString& iIdentifier, KORMessageBoxStyle iStyle,
                       const KORUnicodeString& iTitle, const KORUnicodeString& iText);

// The boxes shown so far, oldest first, and their reset (for tests and front ends).
const std::vector<KORMessageBoxRecord>& KORShownMessageBoxes();
void KORClearShownMessageBoxes();
// Whether boxes are also written to standard error (on by default).
void KORSetMessageBoxEcho(bool iEcho);
