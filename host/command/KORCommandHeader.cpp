#include "command/KORCommandHeader.h"

#include "command/KORCommandEnvironment.h"
#include "system/KORFrameServices.h"
#include "system/KORModule.h"

KORCommandHeader::KORCommandHeader(const KORString& iHeaderId, const KORString& iLoadName,
                                   const KORString& iClassName, void* iArgument, int iState)
    : _id(iHeaderId), _loadName(iLoadName), _className(iClassName), _argument(iArgument),
      _state(iState), _environment(KORCommandEnvironment::Current()),
      _editor(_environment ? _environment->GetCurrentEditor() : nullptr) {
  JoinList();
}

KORCommandHeader::KORCommandHeader(const KORCommandHeader& iOther)
    : _id(iOther._id), _loadName(iOther._loadName), _className(iOther._className),
      _argument(iOther._argument), _state(iOther._state),
      _environment(KORCommandEnvironment::Current()),
      _editor(_environment ? _environment->GetCurrentEditor() : nullptr) {
  JoinList();
}

void KORCommandHeader::JoinList() {
  if (_environment)
    _environment->GetHeaderList().Add(this);
}

KORCommandHeader* KORCommandHeader::Clone() {
  return new KORCommandHeader(*this);
}

KORString KORCommandHeader::GetResourceFile(int) {
  return {};
}

KORString KORCommandHeader::GetFW() {
  return {};
}

HRESULT KORCommandHeader::StartCommand(KORString& oError) {
  oError.clear();
  if (!IsAvailable()) {
    oError = "Command " + _id + " is not available now.";
    return E_FAIL;
  }
  if (!_environment) {
    oError = "Command " + _id + " has no application frame to run in.";
    return E_FAIL;
  }
  KORCommand* command = CreateCommand(oError);
  if (!command) {
    // A person who pressed the button is told why nothing happens.
    KORShowUserMessage("CommandNotAvailable", KORUserMessageStyle::Error,
                       "Command not available", oError);
    return E_FAIL;
  }
  return _environment->GetCommandManager().StartCommand(command);
}

KORCommand* KORCommandHeader::CreateCommand(KORString& oError) const {
  const KORString symbol = "fctCreate" + _className;
  KORString loadError;
  if (FAILED(KORLoadModule(_loadName, loadError))) {
    oError = "Command " + _id + " is not available: " + loadError;
    return nullptr;
  }
  void* function = KORFindModuleFunction(_loadName, symbol, loadError);
  if (!function) {
    oError = "Command " + _id + " is not available: " + loadError;
    return nullptr;
  }
  auto create = reinterpret_cast<KORCommandCreationFunction>(function);
  KORCommand* command = create(_argument);
  if (!command)
    oError = "Command " + _id + " is not available: " + symbol + " made no command.";
  return command;
}

KORCommandHeader* KORCommandHeader::GetHeaderFromList(const KORString& iId) {
  KORCommandEnvironment* environment = KORCommandEnvironment::Current();
  return environment ? environment->GetHeaderList().GetHeaderFromList(iId) : nullptr;
}

void KORCommandHeaderList::Add(KORCommandHeader* iHeader) {
  if (iHeader)
    _headers.emplace_back(iHeader);
}

KORCommandHeader* KORCommandHeaderList::GetHeaderFromList(const KORString& iId) const {
  for (const auto& header : _headers)
    if (header->GetID() == iId)
      return header.get();
  return nullptr;
}
