#pragma once
// Environment variables and file paths as the host sees them.
//
// A logical path may start with an environment reference, "${VAR}" or
// "$VAR" (the name then runs up to the first '/' or the end), e.g.
// "${HOME}/settings" or "$KOR_DATA/models/a.xml". Only a leading reference is
// expanded; a '$' anywhere else is an ordinary character. Variable names are
// made of letters, digits and '_'.
//
// All paths are UTF-8 strings with '/' separators.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

// The value of environment variable iName, or nullptr when it is not set. An
// empty value is returned as "" (set, but empty). The pointer is the process
// environment's own storage: copy it before anything may change that variable.
const char* KORGetEnv(const char* iName);

// iDir and iFile joined with exactly one '/' between them, whatever slashes
// they end or start with ("a/" + "/b" gives "a/b", "/" + "b" gives "/b").
// When either part is empty, the other is returned unchanged.
KORUnicodeString KORMakePath(const KORUnicodeString& iDir, const KORUnicodeString& iFile);

// S_OK with oFullPath = KORMakePath(iDirectory, iFileName) when that names an
// existing regular file; E_FAIL (oFullPath emptied) otherwise, E_INVALIDARG
// for an empty file name.
HRESULT KORFindPath(const KORUnicodeString& iFileName, const KORUnicodeString& iDirectory,
                    KORUnicodeString& oFullPath);

// The physical path of iLogical: its leading environment reference expanded,
// made absolute against the current directory. S_OK when the path exists
// (oPhysical is then canonical: no symbolic link, ".", ".." or double
// slash); S_FALSE when it does not exist yet (oPhysical is absolute and
// lexically normalised). E_FAIL when the reference cannot be resolved
// (unset variable, malformed "${..."), E_INVALIDARG for an empty path; oPhysical
// is emptied on failure.
HRESULT KORGetRealPath(const KORUnicodeString& iLogical, KORUnicodeString& oPhysical);

// iLogical with its leading environment reference expanded, for display.
// When the reference cannot be resolved, iLogical is returned unchanged.
KORUnicodeString KORGetPrintablePath(const KORUnicodeString& iLogical);

// Copies the bytes of the regular file iSource to iTarget, replacing it
// atomically: on failure (missing or unreadable source, target directory
// missing or not writable, disk full) E_FAIL is returned and iTarget is left
// as it was, with no partial file beside it. The copy gets the source's
// permission bits.
HRESULT KORFCopy(const KORUnicodeString& iSource, const KORUnicodeString& iTarget);
