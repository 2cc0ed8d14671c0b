#pragma once
// Writing a file so that readers see either its old content or its complete
// new content, never a partial file: the content goes to a temporary file in
// the target's directory (same file system, so the final rename is atomic),
// is flushed to disk, then renamed over the target. On any failure the
// temporary file is removed and the target is left untouched.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

#include <functional>
#include <string_view>
#include <sys/types.h>

// iWriteContent receives the open descriptor of the temporary file and
// returns false when it could not write everything. iMode gives the
// permissions of the new file.
HRESULT KORWriteFileAtomically(const KORUnicodeString& iTarget, mode_t iMode,
                               const std::function<bool(int iDescriptor)>& iWriteContent);

// Writes all of iBytes to iDescriptor, resuming after short writes and signals.
bool KORWriteAll(int iDescriptor, std::string_view iBytes);
