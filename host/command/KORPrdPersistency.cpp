#include "command/KORPrdPersistency.h"

#include "command/KORFrmEditor.h"
#include "featurestore/KORDocument.h"
#include "objectmodel/KORExtensionDictionary.h"

#include <optional>

namespace {
class KORPrdPLMPersistency : public KORExtensionOf<KORIPrdPLMPersistency> {
public:
  HRESULT GetPersistencyMode(int& oMode) override {
    oMode = _mode;
    return S_OK;
  }
  HRESULT GetPersistencyHost(int& oHost) override {
    if (!_host)
      return E_FAIL;
    oHost = *_host;
    return S_OK;
  }
  void SetPersistencyMode(int iMode) override { _mode = iMode; }
  void SetPersistencyHost(int iHost) override { _host = iHost; }
  void ForgetPersistencyHost() override { _host.reset(); }

private:
  int _mode = 0;
  std::optional<int> _host = 0;
};

bool RegisterOnce() {
  KORRegisterHostComponents(); // declares the documents' late type
  static const KORExtensionRow extensions[] = {
      {KORDocument::LateTypeName, "KORPrdPLMPersistency", KORIPrdPLMPersistency::IID,
       KORExtensionKind::Data, &KORMakeExtension<KORPrdPLMPersistency>},
  };
  static const KORModuleTable table{"KORHostPersistency", {}, extensions, {}};
  std::string error;
  return KORExtensionDictionary::Get().Register(table, error);
}
} // namespace

void KORRegisterPersistencyServices() {
  [[maybe_unused]] static const bool registered = RegisterOnce();
}

HRESULT KORPrdSafeSaveServices::GetDocFromUIActiveObject(KORFrmEditor* iEditor,
                                                         KORBaseUnknown** oDocument) {
  if (!oDocument)
    return E_INVALIDARG;
  *oDocument = nullptr;
  if (!iEditor || !iEditor->GetDocument())
    return E_FAIL;
  *oDocument = iEditor->GetDocument();
  (*oDocument)->AddRef();
  return S_OK;
}

HRESULT KORPrdSafeSaveServices::GetPersistencyModeFromDoc(KORBaseUnknown* iDocument, int& oMode) {
  KORRegisterPersistencyServices();
  auto persistency = KORQuery<KORIPrdPLMPersistency>(iDocument);
  return persistency ? persistency->GetPersistencyMode(oMode) : E_FAIL;
}

HRESULT KORPrdSafeSaveServices::GetPersistencyHostFromDoc(KORBaseUnknown* iDocument, int& oHost) {
  KORRegisterPersistencyServices();
  auto persistency = KORQuery<KORIPrdPLMPersistency>(iDocument);
  return persistency ? persistency->GetPersistencyHost(oHost) : E_FAIL;
}
