#pragma once
// What lower layers may ask of the application frame without knowing it: the
// services that belong to one front-end run (one korvrc run, one test, one
// browser connection) rather than to the process.
//
// The frame registers itself as the current services while its scope is
// active (frame/KORFrameScope); code below the frame reaches them through
// KORGetFrameServices(). The current services are per thread, so that two
// runs served on two threads never see each other's.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

#include <memory>

class KORMsgCatalog;

enum class KORUserMessageStyle { Error, Information, Warning, Question };
// "error", "information", "warning", "question".
const char* KORUserMessageStyleName(KORUserMessageStyle iStyle);

// "Show a message to the user": a modal box whose parent is the application's
// main window; the call returns when the user has closed it.
class KORIUserMessages {
public:
  virtual void ShowMessage(const KORString& iIdentifier, KORUserMessageStyle iStyle,
                           const KORUnicodeString& iTitle, const KORUnicodeString& iText) = 0;

protected:
  ~KORIUserMessages() = default;
};

// Message catalogs loaded once per frame: a catalog edited on disk is seen by
// the next frame, not by the one that already read it.
class KORIMsgCatalogs {
public:
  // The loaded catalog iName (see KORMsgCatalog::LoadCatalog); E_FAIL with
  // oError when it cannot be loaded. A failed load is tried again next time.
  [[nodiscard]] virtual HRESULT FindCatalog(const KORString& iName,
                                            std::shared_ptr<const KORMsgCatalog>& oCatalog,
                                            KORUnicodeString& oError) = 0;

protected:
  ~KORIMsgCatalogs() = default;
};

class KORIFrameServices {
public:
  virtual KORIUserMessages& UserMessages() = 0;
  virtual KORIMsgCatalogs& MsgCatalogs() = 0;
  // Whether the user's actions are being replayed from a journal (or
  // recorded) rather than done by a person at the screen.
  virtual bool IsReplayingUserInteraction() const = 0;

protected:
  ~KORIFrameServices() = default;
};

// The current frame's services on this thread; null outside every frame scope.
KORIFrameServices* KORGetFrameServices();
// Makes iServices current and returns the previous ones; for frame scopes only.
KORIFrameServices* KORSetFrameServices(KORIFrameServices* iServices);

// Whether the current frame replays or records user interaction; false
// outside every frame.
bool KORIsReplayingUserInteraction();

// Shows a message through the current frame; outside every frame the message
// is written to standard error so that it is never lost.
void KORShowUserMessage(const KORString& iIdentifier, KORUserMessageStyle iStyle,
                        const KORUnicodeString& iTitle, const KORUnicodeString& iText);

// Catalog iName from the current frame's cache; outside every frame it is
// loaded afresh for the caller alone.
HRESULT KORFindMsgCatalog(const KORString& iName, std::shared_ptr<const KORMsgCatalog>& oCatalog,
                          KORUnicodeString& oError);
