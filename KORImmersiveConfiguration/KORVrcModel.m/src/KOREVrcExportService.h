#pragma once
// The export service of a configuration root: generation of the XML document
// and of the runtime's text files, their all-or-nothing writing under a lock
// of the target folder, and registration with the runtime.
#include "interfaces/KORIVrcExportService.h"
#include "objectmodel/KORExtension.h"

#include <vector>

class KORIVrcConfig;
struct KORFileToWrite;

class KOREVrcExportService : public KORExtensionOf<KORIVrcExportService> {
public:
  HRESULT FindExistingTargets(const KORVrcExportRequest& iRequest,
                              KORListValKORUnicodeString& oExisting,
                              KORUnicodeString& oFailure) override;
  HRESULT Export(const KORVrcExportRequest& iRequest, KORListValKORUnicodeString& oWritten,
                 KORUnicodeString& oMessages, KORUnicodeString& oFailure) override;

private:
  // The files of the export, generated in memory, NAME.xml first.
  HRESULT MakeFiles(const KORVrcExportRequest& iRequest, std::vector<KORFileToWrite>& oFiles,
                    KORUnicodeString& oMessages, KORUnicodeString& oFailure);
};
