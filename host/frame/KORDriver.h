#pragma once
// The driver: a person's actions on a frame, one journal line at a time (the
// verbs of docs/journal.md). Tests, `korvrc play` and the browser workbench
// all act through it; it reaches commands only as a person would, through the
// toolbar, the headers, the edit actions, the picks and the dialog toolkit's
// User... operations, which refuse what a person could not do.
//
// Every message box that appears is reported to the message callback: the
// boxes shown through the frame's message log (which close at once, answered
// "ok") as they appear, and the dialog toolkit's notification windows when
// they are answered.
#include "frame/KORFrame.h"

#include <functional>
#include <iosfwd>
#include <vector>

class KORDlgDialog;
class KORDlgObject;

struct KORDriverMessage {
  KORUnicodeString title;
  KORUnicodeString text;
  KORString answer; // "ok", "yes", "no", "cancel"
};

class KORDriver {
public:
  using MessageCallback = std::function<void(const KORDriverMessage& iMessage)>;

  // The frame must outlive the driver. `show` writes to iOutput.
  explicit KORDriver(KORFrame& iFrame, std::ostream& iOutput);
  KORDriver(const KORDriver&) = delete;
  KORDriver& operator=(const KORDriver&) = delete;

  // Performs one journal line (a blank or comment line does nothing). E_FAIL
  // with oError saying what is wrong when the line is malformed or a person
  // could not have done it; the refused action changes nothing.
  HRESULT Perform(const KORString& iLine, KORString& oError);

  // Replays a whole journal: its first line that is not blank or comment must
  // be "journal/1". Stops at the first failing line with oError
  // "iName:LINE: what is wrong".
  HRESULT PerformJournal(std::istream& iJournal, const KORString& iName, KORString& oError);

  void SetMessageCallback(MessageCallback iCallback) { _onMessage = std::move(iCallback); }
  // The text of the last message box that appeared, empty before any.
  const KORUnicodeString& GetLastMessage() const { return _lastMessage; }

private:
  using Words = std::vector<KORString>;
  struct Verb;
  static const Verb* FindVerb(const KORString& iName);
  HRESULT Dispatch(const Words& iWords, KORString& oError);

  // One per verb; iWords is the whole line, verb first, its argument count
  // already checked.
  HRESULT Start(const Words& iWords, KORString& oError);
  HRESULT Select(const Words& iWords, KORString& oError);
  HRESULT Edit(const Words& iWords, KORString& oError);
  HRESULT Pick(const Words& iWords, KORString& oError);
  HRESULT Set(const Words& iWords, KORString& oError);
  HRESULT Choose(const Words& iWords, KORString& oError);
  HRESULT Tab(const Words& iWords, KORString& oError);
  HRESULT Push(const Words& iWords, KORString& oError);
  HRESULT Press(const Words& iWords, KORString& oError);
  HRESULT Close(const Words& iWords, KORString& oError);
  HRESULT Answer(const Words& iWords, KORString& oError);
  HRESULT File(const Words& iWords, KORString& oError);
  HRESULT Replay(const Words& iWords, KORString& oError);
  HRESULT Expect(const Words& iWords, KORString& oError);
  HRESULT ExpectMessage(const Words& iWords, KORString& oError);
  HRESULT Show(const Words& iWords, KORString& oError);
  HRESULT Drag(const Words& iWords, KORString& oError);
  HRESULT Compass(const Words& iWords, KORString& oError);
  // The tracking hardware sends an event: one event for each tracker of the
  // runtime that sends events of that name, delivered before the line ends.
  HRESULT Event(const Words& iWords, KORString& oError);
  HRESULT Runtime(const Words& iWords, KORString& oError);

  HRESULT FindElement(const KORString& iName, KORPathElement& oPath, KORString& oError);
  std::vector<KORDlgObject*> ShownWindows();
  // The widget named iName in the shown windows, the newest window first.
  HRESULT FindWidget(const KORString& iName, KORDlgObject*& oWidget, KORString& oError);
  // The widget named iName as a W (iWhat names W in the error), or null with
  // oError when it is missing or of another kind.
  template <class W> W* FindWidgetAs(const KORString& iName, const char* iWhat, KORString& oError);
  // The newest shown window of type W, or null with oError.
  template <class W> W* NewestWindow(const char* iWhat, KORString& oError);
  // Reports the message boxes that appeared since the last look.
  void CollectMessages();

  KORFrame& _frame;
  std::ostream& _output;
  MessageCallback _onMessage;
  KORUnicodeString _lastMessage;
  std::size_t _loggedSeen;
  std::vector<const KORDlgObject*> _notifiesShown;
};
