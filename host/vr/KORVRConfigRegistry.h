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
#include "objectmodel/KORResult.h"
#include "system/KORList.h"
#include "system/KORString.h"

// The configuration directory; empty when none was ever set.
KORUnicodeString KORGetVRConfigDirectory();
HRESULT KORSetVRConfigDirectory(const KORUnicodeString& iDirectory);

// Appends iPath to the list: S_OK, or S_FALSE when it is listed already
// (the list is left as it was).
HRESULT KORAddVRConfig(const KORUnicodeString& iPath);
// The listed configuration files, in the order they were added.
KORListValKORUnicodeString KORGetVRConfigs();

// Makes iPath the active configuration; it does not need to be listed.
HRESULT KORSetActiveVRConfig(const KORUnicodeString& iPath);
// The active configuration file; empty when none was set.
KORUnicodeString KORGetActiveVRConfig();

// Writes the registry to its file: S_OK, or E_FAIL when KORUserSettingPath is
// not set or the file cannot be written.
HRESULT KORSaveVirtualRepository();
