#pragma once
// Saving a configuration for the immersive runtime, offered by the
// configuration root: the XML configuration document NAME.xml and, on
// request, the runtime's text files beside it (NAME.mpk, NAME.display and
// NAME.STATION.tracking per tracking station), written all or nothing, then
// registered with the runtime. Nothing is shown to the user: the generators'
// warnings and errors come back in oMessages (one per line, each once), and
// why the operation failed in oFailure ("WHERE: WHAT").
//
// Export, in order:
//   1. NAME must be usable as a file name (E_INVALIDARG otherwise).
//   2. Every text is generated in memory. An error of a generator fails the
//      export (E_FAIL) with nothing written. A multipipe file that is left out
//      for image generators on another host is not an error: its warning is
//      returned and the other files are written.
//   3. The directory is created when missing and locked against other
//      processes exporting into it (they wait). Every target is checked: an
//      existing one fails the export unless iRequest.replace is set, and one
//      that is a directory always does.
//   4. Every file is written to a temporary beside its target; only when all
//      are complete are they renamed over the targets.
//   5. With addToList (or makeActive), the registry of the runtime is updated
//      under its own lock: configuration directory, list, active file.
// A failure of step 5 leaves the files of step 4 written.
#include "objectmodel/KORSmartPtr.h"
#include "system/KORList.h"
#include "system/KORString.h"

struct KORVrcExportRequest {
  KORUnicodeString directory;         // where the files go
  KORUnicodeString registryDirectory; // the directory as the registry records it; empty: directory
  KORUnicodeString name;              // the file name without ".xml"
  unsigned char loose = 0;            // also write the runtime's text files
  unsigned char replace = 0;          // existing targets may be replaced
  unsigned char addToList = 0;        // add NAME.xml to the runtime's list of configurations
  unsigned char makeActive = 0;       // and make it the active one (implies addToList)
};

class KORIVrcExportService : public KORBaseUnknown {
  KOR_INTERFACE(KORIVrcExportService, KORBaseUnknown)
public:
  // The files of iRequest that exist already, to ask the user before
  // replacing them. E_INVALIDARG for an unusable name. The files are
  // generated (and a failure to generate them returned) only when a file
  // the export could write exists; otherwise the list is empty at once.
  [[nodiscard]] virtual HRESULT FindExistingTargets(const KORVrcExportRequest& iRequest,
                                                    KORListValKORUnicodeString& oExisting,
                                                    KORUnicodeString& oFailure) = 0;
  // The whole export (above); oWritten lists the paths written, in order.
  [[nodiscard]] virtual HRESULT Export(const KORVrcExportRequest& iRequest,
                                       KORListValKORUnicodeString& oWritten,
                                       KORUnicodeString& oMessages, KORUnicodeString& oFailure) = 0;
};
KOR_DECLARE_VAR(KORIVrcExportService)
