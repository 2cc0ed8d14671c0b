#include "dialog/KORDlgNotify.h"

#include "dialog/KORDlgNotifications.h"

#include <filesystem>

KORDlgNotify::KORDlgNotify(KORCommand* iFather, const KORString& iName, KORDlgNotifyStyle iStyle,
                           int iAnswers)
    : KORDlgObject(iFather, iName, KORDlgKind::Notify), _style(iStyle), _answers(iAnswers) {
  SetVisibility(false);
}

void KORDlgNotify::Display(const KORUnicodeString& iText, const KORUnicodeString& iTitle) {
  _text = iText;
  SetTitle(iTitle);
  SetVisibility(true);
}

const char* KORDlgNotify::GetAnswerNotification(KORDlgAnswer iAnswer) {
  switch (iAnswer) {
  case KORDlgAnswerOK: return KORDlgNfyOKNotification::ClassName;
  case KORDlgAnswerYes: return KORDlgNfyYesNotification::ClassName;
  case KORDlgAnswerNo: return KORDlgNfyNoNotification::ClassName;
  case KORDlgAnswerCancel: return KORDlgNfyCancelNotification::ClassName;
  }
  return "";
}

namespace {
template <class Notification> HRESULT SendAnswer(KORDlgObject& iBox) {
  Notification notification;
  return SUCCEEDED(iBox.SendNotification(&iBox, notification)) ? S_OK : E_FAIL;
}
} // namespace

HRESULT KORDlgNotify::UserAnswer(KORDlgAnswer iAnswer, KORString& oError) {
  if (FAILED(CheckUserAccess(oError)))
    return E_FAIL;
  if (!(_answers & iAnswer))
    return Refuse("offers no such answer", oError);
  SetVisibility(false);
  switch (iAnswer) {
  case KORDlgAnswerOK: return SendAnswer<KORDlgNfyOKNotification>(*this);
  case KORDlgAnswerYes: return SendAnswer<KORDlgNfyYesNotification>(*this);
  case KORDlgAnswerNo: return SendAnswer<KORDlgNfyNoNotification>(*this);
  case KORDlgAnswerCancel: return SendAnswer<KORDlgNfyCancelNotification>(*this);
  }
  return E_INVALIDARG;
}

KORDlgFileBox::KORDlgFileBox(KORCommand* iFather, const KORString& iName, Style iStyle)
    : KORDlgObject(iFather, iName, KORDlgKind::FileBox), _style(iStyle) {
  SetVisibility(false);
}

HRESULT KORDlgFileBox::UserChoose(const KORUnicodeString& iPath, KORString& oError) {
  if (FAILED(CheckUserAccess(oError)))
    return E_FAIL;
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path path(iPath);
  if (iPath.empty())
    return Refuse("no path chosen", oError);
  if (_style == Directory && !fs::is_directory(path, error))
    return Refuse("\"" + iPath + "\" is not a directory", oError);
  if (_style == OpenFile && !fs::is_regular_file(path, error))
    return Refuse("\"" + iPath + "\" is not a file", oError);
  if (_style == SaveFile && (fs::is_directory(path, error) ||
                             !fs::is_directory(fs::absolute(path, error).parent_path(), error)))
    return Refuse("\"" + iPath + "\" is not a file name in an existing folder", oError);
  _selection = iPath;
  SetVisibility(false);
  return SendAnswer<KORDlgFileOKNotification>(*this);
}

HRESULT KORDlgFileBox::UserCancel(KORString& oError) {
  if (FAILED(CheckUserAccess(oError)))
    return E_FAIL;
  SetVisibility(false);
  return SendAnswer<KORDlgFileCancelNotification>(*this);
}
