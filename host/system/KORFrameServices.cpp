#include "system/KORFrameServices.h"

#include "system/KORMsgCatalog.h"
#include "system/KORThreadLocal.h"

#include <iostream>
#include <utility>

namespace {
KOR_THREAD_LOCAL KORIFrameServices* tCurrentServices = nullptr;
} // namespace

const char* KORUserMessageStyleName(KORUserMessageStyle iStyle) {
  switch (iStyle) {
  case KORUserMessageStyle::Error:
    return "error";
  case KORUserMessageStyle::Information:
    return "information";
  case KORUserMessageStyle::Warning:
    return "warning";
  case KORUserMessageStyle::Question:
    return "question";
  }
  return "";
}

KORIFrameServices* KORGetFrameServices() {
  return tCurrentServices;
}

KORIFrameServices* KORSetFrameServices(KORIFrameServices* iServices) {
  return std::exchange(tCurrentServices, iServices);
}

bool KORIsReplayingUserInteraction() {
  const KORIFrameServices* services = KORGetFrameServices();
  return services && services->IsReplayingUserInteraction();
}

void KORShowUserMessage(const KORString& iIdentifier, KORUserMessageStyle iStyle,
                        const KORUnicodeString& iTitle, const KORUnicodeString& iText) {
  if (KORIFrameServices* services = KORGetFrameServices()) {
    services->UserMessages().ShowMessage(iIdentifier, iStyle, iTitle, iText);
    return;
  }
  std::cerr << "[" << KORUserMessageStyleName(iStyle) << "] " << iTitle << ": " << iText << '\n';
}

HRESULT KORFindMsgCatalog(const KORString& iName, std::shared_ptr<const KORMsgCatalog>& oCatalog,
                          KORUnicodeString& oError) {
  if (KORIFrameServices* services = KORGetFrameServices())
    return services->MsgCatalogs().FindCatalog(iName, oCatalog, oError);
  return KORLoadSharedMsgCatalog(iName, oCatalog, oError);
}
