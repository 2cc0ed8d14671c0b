#pragma once
// Persistency of product documents: how a document is kept (its persistency
// mode; 0 is a plain file) and where (its persistency host; 0 is this
// machine). Every document ("KORProduct") answers KORIPrdPLMPersistency; a new
// document has mode 0 and host 0. Both can be set (by the code that opens the
// document, and by tests), and the host can be made unreadable.
#include "objectmodel/KORSmartPtr.h"

class KORIPrdPLMPersistency : public KORBaseUnknown {
  KOR_INTERFACE(KORIPrdPLMPersistency, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT GetPersistencyMode(int& oMode) = 0;
  [[nodiscard]] virtual HRESULT GetPersistencyHost(int& oHost) = 0;
  virtual void SetPersistencyMode(int iMode) = 0;
  virtual void SetPersistencyHost(int iHost) = 0;
  // GetPersistencyHost fails from now on, until the next SetPersistencyHost.
  virtual void ForgetPersistencyHost() = 0;
};

// Registers KORIPrdPLMPersistency on the documents' late type; done once.
void KORRegisterPersistencyServices();

class KORFrmEditor;

// The queries of the product workshop on the document being worked on.
class KORPrdSafeSaveServices {
public:
  // The document of iEditor's UI-active object (the editor's document), with
  // one reference; E_FAIL without editor or document.
  [[nodiscard]] static HRESULT GetDocFromUIActiveObject(KORFrmEditor* iEditor,
                                                        KORBaseUnknown** oDocument);
  // E_FAIL for a null document or one without persistency.
  [[nodiscard]] static HRESULT GetPersistencyModeFromDoc(KORBaseUnknown* iDocument, int& oMode);
  [[nodiscard]] static HRESULT GetPersistencyHostFromDoc(KORBaseUnknown* iDocument, int& oHost);
};
