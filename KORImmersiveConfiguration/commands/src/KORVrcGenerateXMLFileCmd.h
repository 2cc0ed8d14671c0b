#pragma once
// Writes the configuration's XML document into a directory the user chooses
// and, as the user chose, registers it with the immersive runtime (added to
// its list, made the active configuration). An existing file is replaced only
// after the user says yes to "OverwriteNfy". Writing and registering are the
// module's export service, the same that the command line uses.
#include "command/KORStateCommand.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcExportService.h"
#include "interfaces/KORIVrcXML.h"

class KORVrcGenerateXMLFileDlg;
class KORDlgNotify;

class KORVrcGenerateXMLFileCmd : public KORStateCommand {
public:
  KORVrcGenerateXMLFileCmd();
  void BuildGraph() override;

private:
  void RetrievePointers();
  void init();
  bool TestValues(void*);
  bool Ok(void*);
  bool OnCancel(void*);
  void Save();
  void CloseBox();
  void OnOverwriteYes();
  void OnOverwriteNo();
  void TraceMethod(const char* iMethod) const;

  KORIVrcConfig_var _config;
  KORIVrcXML_var _xml;
  KORIVrcExportService_var _exportService;
  KORVrcGenerateXMLFileDlg* _dialog = nullptr;
  KORDlgNotify* _overwriteQuestion = nullptr;
};
