#pragma once
// Windows that wait for an answer: message boxes (notification windows) and
// file or directory boxes. Both start hidden; Display shows them. A person's
// answer hides the window and sends the answer's notification, which the
// window's owner takes with AddAnalyseNotificationCB.
#include "dialog/KORDlgObject.h"

enum class KORDlgNotifyStyle { Error, Information, Warning, Question };
// The answers a box offers (combine with |).
enum KORDlgAnswer { KORDlgAnswerOK = 1, KORDlgAnswerYes = 2, KORDlgAnswerNo = 4, KORDlgAnswerCancel = 8 };

class KORDlgNotify : public KORDlgObject {
public:
  KORDlgNotify(KORCommand* iFather, const KORString& iName, KORDlgNotifyStyle iStyle,
               int iAnswers = KORDlgAnswerOK);

  KORDlgNotifyStyle GetStyle() const { return _style; }
  int GetAnswers() const { return _answers; }
  // Shows the box with iText and iTitle.
  void Display(const KORUnicodeString& iText, const KORUnicodeString& iTitle);
  const KORUnicodeString& GetText() const { return _text; }
  KORUnicodeString GetValueText() const override { return _text; }

  // The class name of the notification an answer sends.
  static const char* GetAnswerNotification(KORDlgAnswer iAnswer);
  // A person answers: refused when the box does not offer iAnswer.
  HRESULT UserAnswer(KORDlgAnswer iAnswer, KORString& oError);

private:
  KORDlgNotifyStyle _style;
  int _answers;
  KORUnicodeString _text;
};

// A box to choose a directory, or a file (an existing one to open, or a name
// in an existing folder to save).
class KORDlgFileBox : public KORDlgObject {
public:
  enum Style { Directory, OpenFile, SaveFile };
  KORDlgFileBox(KORCommand* iFather, const KORString& iName, Style iStyle);

  Style GetStyle() const { return _style; }
  void SetSelection(const KORUnicodeString& iPath) { _selection = iPath; }
  const KORUnicodeString& GetSelection() const { return _selection; }
  KORUnicodeString GetValueText() const override { return _selection; }

  // A person chooses iPath and confirms (sends KORDlgFileOKNotification);
  // refused when the path is not one the box offers.
  HRESULT UserChoose(const KORUnicodeString& iPath, KORString& oError);
  // A person cancels the box (sends KORDlgFileCancelNotification).
  HRESULT UserCancel(KORString& oError);

private:
  Style _style;
  KORUnicodeString _selection;
};
