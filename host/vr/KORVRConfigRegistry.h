#pragma once
// The immersive runtime's registry of VR configuration files: the directory
// where configurations are exported, the list of known configuration files and
// the active one, which the runtime loads at start.
//
// The registry lives in the setting repository "VirtualRepository" (see
// system/KORSettingRepository.h), so it is read back from
// "$KORUserSettingPath/VirtualRepository.KORSettings" on first use and written
// there by KORSaveVirtualRepository only. Keys:
//
//   ConfigDirectory  string  the configuration directory (logical path)
//   ActiveConfig     string  the active configuration file (logical path)
//   ConfigCount      ulong   how many configuration files are listed
//   Config.1 ...     string  the listed files, in the order they were added
//
// Paths are stored as given: no expansion, no normalisation, so "a/x.xml" and
// "a//x.xml" are two entries. Empty paths are refused (E_INVALIDARG).
//
// The saved file is input like any other: a ConfigCount above
// KORVRConfigMaxEntries is refused rather than walked.
#include "objectmodel/KORResult.h"
#include "system/KORList.h"
#include "system/KORString.h"

inline constexpr unsigned long KORVRConfigMaxEntries = 100000;

// The configuration directory; empty when none was ever set.
KORUnicodeString KORGetVRConfigDirectory();
HRESULT KORSetVRConfigDirectory(const KORUnicodeString& iDirectory);

// Appends iPath to the list: S_OK, or S_FALSE when it is listed already
// (the list is left as it was); E_FAIL when the registry's count is refused.
HRESULT KORAddVRConfig(const KORUnicodeString& iPath);
// The listed configuration files, in the order they were added (none when
// the count is refused).
KORListValKORUnicodeString KORGetVRConfigs();

// Makes iPath the active configuration; it does not need to be listed.
HRESULT KORSetActiveVRConfig(const KORUnicodeString& iPath);
// The active configuration file; empty when none was set.
KORUnicodeString KORGetActiveVRConfig();

// Writes the registry to its file: S_OK, or E_FAIL when KORUserSettingPath is
// not set or the file cannot be written.
HRESULT KORSaveVirtualRepository();

// S_OK when the registry's values can be used; otherwise E_FAIL and oError
// says which value is wrong.
HRESULT KORCheckVRConfigRegistry(KORUnicodeString& oError);

// The whole registration of an exported file as one step that concurrent
// processes cannot interleave: under an exclusive lock of the settings folder
// the saved registry is read again, iDirectory becomes the configuration
// directory, iPath is added to the list (and made active with iActive) and the
// registry is saved. Other processes wait for the lock. E_FAIL with oError
// ("WHERE: WHAT") when the folder cannot be locked, the saved registry is
// refused or it cannot be written. Setting repositories not yet saved are
// dropped by the fresh read.
HRESULT KORRegisterVRConfig(const KORUnicodeString& iDirectory, const KORUnicodeString& iPath,
                            bool iActive, KORUnicodeString& oError);
