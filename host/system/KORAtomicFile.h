#pragma once
// Writing a file so that readers see either its old content or its complete
// new content, never a partial file: the content goes to a temporary file in
// the target's directory (same file system, so the final rename is atomic),
// is flushed to disk, then renamed over the target. On any failure the
// temporary file is removed and the target is left untouched.
//
// Temporaries are named "<target>.tmp.XXXXXX". A process that called
// KORRemoveTemporariesOnSignal removes the temporaries it still has open when
// it is interrupted (SIGINT, SIGTERM, SIGHUP) before it dies of that signal.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

#include <functional>
#include <string_view>
#include <sys/types.h>
#include <vector>

// iWriteContent receives the open descriptor of the temporary file and
// returns false when it could not write everything. iMode gives the
// permissions of the new file. On failure oError, when given, says why
// ("permission denied", "is a directory", ...).
HRESULT KORWriteFileAtomically(const KORUnicodeString& iTarget, mode_t iMode,
                               const std::function<bool(int iDescriptor)>& iWriteContent,
                               KORUnicodeString* oError = nullptr);

struct KORFileToWrite {
  KORUnicodeString path;
  KORUnicodeString text;
};

// Writes several files as one: every file goes to its own temporary first,
// and only when all of them are written and flushed are they renamed over
// their targets, in order. Before any rename, a failure leaves every target as
// it was and removes the temporaries. A crash between two renames leaves some
// targets new and the others old, each of them complete. oError names the
// file and the reason.
HRESULT KORWriteFilesTogether(const std::vector<KORFileToWrite>& iFiles, mode_t iMode,
                              KORUnicodeString& oError);

// Writes all of iBytes to iDescriptor, resuming after short writes and signals.
bool KORWriteAll(int iDescriptor, std::string_view iBytes);

// Installs the handlers that remove open temporaries on SIGINT, SIGTERM and
// SIGHUP, then let the signal end the process as it would have.
void KORRemoveTemporariesOnSignal();

// The system's reason for errno value iError, in lower case ("no such file or
// directory").
KORUnicodeString KORSystemReason(int iError);
