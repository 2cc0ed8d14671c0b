#pragma once
// Resource lookup: finding a module's resource files (message catalogs,
// images, document type definitions) by file name.
//
// The resource folders are searched in this order:
//   1. the folders listed in environment variable KOR_RESOURCE_PATH,
//      separated by ':' (empty entries are skipped), read at each lookup;
//   2. the folders registered at run time with KORAddResourceFolder, in
//      registration order: each module registers its own when it is loaded.
// The host has no resource folder of its own.
// In each resource folder the file is looked for in the folder itself, then
// in its subfolders, in this order: "msgcatalog", "catalogs", "images",
// "dtd". The first existing regular file wins.
//
// The functions may be called from any thread.
#include "objectmodel/KORResult.h"
#include "system/KORList.h"
#include "system/KORString.h"

// The full path of resource file iFileName, e.g. "KORDialogs.KORmsg".
// S_OK when found; E_FAIL (oPath emptied) when no resource folder holds it;
// E_INVALIDARG for an empty name. An absolute iFileName is returned as is
// when that file exists.
[[nodiscard]] HRESULT KORGetImagePathName(const KORString& iFileName, KORUnicodeString& oPath);

// Adds iFolder to the folders searched after the environment's. Adding a folder
// already registered does nothing.
void KORAddResourceFolder(const KORUnicodeString& iFolder);

// Forgets the folders added by KORAddResourceFolder (tests start afresh).
void KORResetResourceFolders();

// The resource folders in search order, as they are now; used to tell users
// where a missing resource was looked for.
KORListValKORUnicodeString KORGetResourceFolders();
