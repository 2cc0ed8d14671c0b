#include "frame/KORDriver.h"

#include "command/KORIEdit.h"
#include "command/KORIJournalNaming.h"
#include "dialog/KORDlgDump.h"
#include "dialog/KORDlgNotify.h"
#include "dialog/KORDlgWidgets.h"
#include "frame/KORJournal.h"
#include "math/KORMathAxis.h"
#include "math/KORMathHPR.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <istream>
#include <ostream>

namespace {
HRESULT Fail(const KORString& iWhat, KORString& oError) {
  oError = iWhat;
  return E_FAIL;
}

// A number as a person types it into a field: the whole text, finite.
bool ReadNumber(const KORString& iText, double& oValue) {
  const char* end = iText.data() + iText.size();
  auto [stop, error] = std::from_chars(iText.data(), end, oValue);
  return error == std::errc() && stop == end && std::isfinite(oValue);
}

KORString Quoted(const KORString& iText) {
  return "\"" + iText + "\"";
}

// "[x, y, z]" with up to ten significant digits, without negative zeros.
KORString JsonTriple(double iX, double iY, double iZ) {
  char text[96];
  std::snprintf(text, sizeof text, "[%.10g, %.10g, %.10g]", iX + 0.0, iY + 0.0, iZ + 0.0);
  return text;
}
KORString JsonTriple(const KORMathVector& iVector) {
  return JsonTriple(iVector.GetX(), iVector.GetY(), iVector.GetZ());
}

struct AnswerName {
  const char* name;
  KORDlgAnswer answer;
};
constexpr AnswerName kAnswers[] = {{"ok", KORDlgAnswerOK},
                                   {"yes", KORDlgAnswerYes},
                                   {"no", KORDlgAnswerNo},
                                   {"cancel", KORDlgAnswerCancel}};

// Whether a person sees iWidget: it and every box up to its window shown,
// and a tab page above it the one its container shows.
bool IsSeen(const KORDlgObject& iWidget) {
  for (const KORCommand* object = &iWidget; object; object = object->GetFather()) {
    const auto* widget = dynamic_cast<const KORDlgObject*>(object);
    if (!widget)
      break;
    if (!widget->GetVisibility())
      return false;
    const auto* page = dynamic_cast<const KORDlgTabPage*>(widget);
    const auto* tabs = page ? dynamic_cast<const KORDlgTabContainer*>(page->GetFather()) : nullptr;
    if (tabs && tabs->GetSelectedPage() != page)
      return false;
    if (widget->IsWindow())
      break;
  }
  return true;
}
} // namespace

KORDriver::KORDriver(KORFrame& iFrame, std::ostream& iOutput)
    : _frame(iFrame), _output(iOutput), _loggedSeen(iFrame.MessageBoxes().Shown().size()) {}

HRESULT KORDriver::Perform(const KORString& iLine, KORString& oError) {
  oError.clear();
  Words words;
  if (FAILED(KORSplitJournalLine(iLine, words, oError)))
    return E_FAIL;
  if (words.empty())
    return S_OK;
  KORFrameScope scope(_frame);
  CollectMessages();
  const HRESULT result = Dispatch(words, oError);
  CollectMessages();
  return result;
}

HRESULT KORDriver::PerformJournal(std::istream& iJournal, const KORString& iName,
                                  KORString& oError) {
  oError.clear();
  KORString line;
  bool formatSeen = false;
  for (int number = 1; std::getline(iJournal, line); ++number) {
    KORString error;
    Words words;
    HRESULT result = KORSplitJournalLine(line, words, error);
    if (SUCCEEDED(result) && !words.empty() && !formatSeen) {
      formatSeen = true;
      if (words.size() != 1 || words[0] != KORJournalFormat)
        result = Fail("the first line must be " + KORString(KORJournalFormat), error);
    } else if (SUCCEEDED(result)) {
      result = Perform(line, error);
    }
    if (FAILED(result)) {
      oError = iName + ":" + std::to_string(number) + ": " + error;
      return E_FAIL;
    }
  }
  if (!formatSeen)
    return Fail(iName + ":1: the journal is empty; it must begin with " +
                    KORString(KORJournalFormat),
                oError);
  return S_OK;
}

// Each verb, the number of arguments it takes (least, most), and what does it.
struct KORDriver::Verb {
  const char* name;
  std::size_t least;
  std::size_t most;
  const char* usage;
  HRESULT (KORDriver::*perform)(const Words& iWords, KORString& oError);
};

const KORDriver::Verb* KORDriver::FindVerb(const KORString& iName) {
  static constexpr Verb verbs[] = {
      {"start", 1, 1, "start ID", &KORDriver::Start},
      {"select", 1, 1, "select ELEMENT", &KORDriver::Select},
      {"edit", 1, 1, "edit ELEMENT", &KORDriver::Edit},
      {"pick", 1, 5, "pick ELEMENT [at X Y Z]", &KORDriver::Pick},
      {"set", 2, 2, "set WIDGET VALUE", &KORDriver::Set},
      {"choose", 2, 2, "choose WIDGET LINE", &KORDriver::Choose},
      {"tab", 1, 1, "tab PAGE", &KORDriver::Tab},
      {"push", 1, 1, "push WIDGET", &KORDriver::Push},
      {"press", 1, 1, "press OK|Apply|Cancel", &KORDriver::Press},
      {"close", 0, 0, "close", &KORDriver::Close},
      {"answer", 1, 1, "answer ok|yes|no|cancel", &KORDriver::Answer},
      {"file", 1, 1, "file PATH", &KORDriver::File},
      {"undo", 0, 0, "undo", &KORDriver::Replay},
      {"redo", 0, 0, "redo", &KORDriver::Replay},
      {"expect", 2, 3, "expect WIDGET VALUE [TOLERANCE]", &KORDriver::Expect},
      {"expect-message", 1, 1, "expect-message TEXT", &KORDriver::ExpectMessage},
      {"show", 0, 0, "show", &KORDriver::Show},
      {"drag", 5, 8, "drag ELEMENT by X Y Z [H P R]", &KORDriver::Drag},
      {"compass", 1, 1, "compass ELEMENT", &KORDriver::Compass},
      {"event", 7, 7, "event NAME X Y Z H P R", &KORDriver::Event},
      {"runtime", 1, 1, "runtime ID|document", &KORDriver::Runtime},
  };
  auto found = std::find_if(std::begin(verbs), std::end(verbs),
                            [&](const Verb& iVerb) { return iName == iVerb.name; });
  return found == std::end(verbs) ? nullptr : found;
}

HRESULT KORDriver::Dispatch(const Words& iWords, KORString& oError) {
  const Verb* verb = FindVerb(iWords[0]);
  if (!verb)
    return Fail("unknown verb " + Quoted(iWords[0]), oError);
  const std::size_t count = iWords.size() - 1;
  if (count < verb->least || count > verb->most)
    return Fail("wrong number of arguments; write: " + KORString(verb->usage), oError);
  return (this->*verb->perform)(iWords, oError);
}

HRESULT KORDriver::Start(const Words& iWords, KORString& oError) {
  const KORString& id = iWords[1];
  KORString headerId = id;
  if (KORCmdWorkbench* workbench = _frame.GetWorkbench())
    if (auto* starter = dynamic_cast<KORCmdStarter*>(workbench->Find(id)))
      headerId = starter->GetCommand();
  KORCommandHeader* header =
      _frame.CommandEnvironment().GetHeaderList().GetHeaderFromList(headerId);
  if (!header)
    return Fail("no toolbar button or command named " + Quoted(id) +
                    (_frame.GetWorkbench() ? "" : " (no workbench is loaded)"),
                oError);
  if (!header->IsAvailable())
    return Fail("command " + Quoted(headerId) + " is not available for this document", oError);
  return header->StartCommand(oError);
}

HRESULT KORDriver::FindElement(const KORString& iName, KORPathElement& oPath, KORString& oError) {
  auto naming = KORQuery<KORIJournalNaming>(_frame.Editor().GetDocument());
  if (!naming)
    return Fail("no document is open whose elements can be named", oError);
  return naming->FindElement(iName, oPath, oError);
}

HRESULT KORDriver::Select(const Words& iWords, KORString& oError) {
  KORPathElement path;
  if (FAILED(FindElement(iWords[1], path, oError)))
    return E_FAIL;
  _frame.Editor().SetSelection(path);
  return S_OK;
}

HRESULT KORDriver::Edit(const Words& iWords, KORString& oError) {
  const KORString& element = iWords[1];
  KORPathElement path;
  if (FAILED(FindElement(element, path, oError)))
    return E_FAIL;
  auto edit = KORQuery<KORIEdit>(path.GetLastElement());
  if (!edit)
    return Fail(element + " has no edit action", oError);
  KORCommandManager& commands = _frame.Commands();
  const KORCommand* before = commands.GetActiveCommand();
  if (KORCommand* command = edit->Activate(&path))
    return commands.StartCommand(command);
  const KORCommand* after = commands.GetActiveCommand();
  if (!after || after == before)
    return Fail("editing " + element + " started no command", oError);
  return S_OK;
}

HRESULT KORDriver::Pick(const Words& iWords, KORString& oError) {
  std::optional<KORMathPoint> point;
  if (iWords.size() > 2) {
    double x = 0, y = 0, z = 0;
    if (iWords.size() != 6 || iWords[2] != "at" || !ReadNumber(iWords[3], x) ||
        !ReadNumber(iWords[4], y) || !ReadNumber(iWords[5], z))
      return Fail("write: pick ELEMENT [at X Y Z], X Y Z numbers", oError);
    point = KORMathPoint(x, y, z);
  }
  KORPathElement path;
  if (FAILED(FindElement(iWords[1], path, oError)))
    return E_FAIL;
  const HRESULT taken = _frame.Commands().Pick(path, point);
  if (taken == S_FALSE)
    return Fail("no running command takes a pick of " + iWords[1], oError);
  return taken;
}

std::vector<KORDlgObject*> KORDriver::ShownWindows() {
  return KORDlgShownWindows(*_frame.Commands().GetMainWindow());
}

HRESULT KORDriver::FindWidget(const KORString& iName, KORDlgObject*& oWidget, KORString& oError) {
  const std::vector<KORDlgObject*> windows = ShownWindows();
  if (windows.empty())
    return Fail("no dialog is open", oError);
  for (auto window = windows.rbegin(); window != windows.rend(); ++window)
    if ((oWidget = (*window)->FindWidget(iName)))
      return S_OK;
  return Fail("no widget " + Quoted(iName) + " in the open dialog " +
                  Quoted(windows.back()->GetName()),
              oError);
}

template <class W>
W* KORDriver::FindWidgetAs(const KORString& iName, const char* iWhat, KORString& oError) {
  KORDlgObject* widget = nullptr;
  if (FAILED(FindWidget(iName, widget, oError)))
    return nullptr;
  auto* typed = dynamic_cast<W*>(widget);
  if (!typed)
    oError = iName + ": a widget of kind " + KORDlgKindName(widget->GetKind()) + ", not " + iWhat;
  return typed;
}

template <class W> W* KORDriver::NewestWindow(const char* iWhat, KORString& oError) {
  const std::vector<KORDlgObject*> windows = ShownWindows();
  for (auto window = windows.rbegin(); window != windows.rend(); ++window)
    if (auto* found = dynamic_cast<W*>(*window))
      return found;
  oError = KORString("no ") + iWhat + " is open";
  return nullptr;
}

HRESULT KORDriver::Set(const Words& iWords, KORString& oError) {
  const KORString& name = iWords[1];
  const KORString& value = iWords[2];
  KORDlgObject* widget = nullptr;
  if (FAILED(FindWidget(name, widget, oError)))
    return E_FAIL;
  if (auto* editor = dynamic_cast<KORDlgEditor*>(widget))
    return editor->UserSetText(value, oError);
  if (auto* spinner = dynamic_cast<KORDlgSpinner*>(widget)) {
    double number = 0;
    if (!ReadNumber(value, number))
      return Fail(name + ": " + Quoted(value) + " is not a number", oError);
    return spinner->UserSetValue(number, oError);
  }
  if (auto* check = dynamic_cast<KORDlgCheckButton*>(widget)) {
    if (value != "on" && value != "off")
      return Fail(name + ": a check button is set on or off, not " + Quoted(value), oError);
    const HRESULT result = check->UserSetState(value == "on", oError);
    return FAILED(result) ? result : S_OK;
  }
  return Fail(name + ": a " + KORDlgKindName(widget->GetKind()) + " takes no typed value", oError);
}

HRESULT KORDriver::Choose(const Words& iWords, KORString& oError) {
  const KORString& name = iWords[1];
  const KORString& line = iWords[2];
  auto* combo = FindWidgetAs<KORDlgCombo>(name, "a combo", oError);
  if (!combo)
    return E_FAIL;
  int index = combo->LocateLine(line);
  if (line.size() > 1 && line[0] == '#') {
    double position = 0;
    if (!ReadNumber(line.substr(1), position) || position != std::floor(position) || position < 1 ||
        position > combo->GetLineCount())
      return Fail(name + ": no line " + line + " (the combo has " +
                      std::to_string(combo->GetLineCount()) + " lines)",
                  oError);
    index = static_cast<int>(position) - 1;
  }
  if (index < 0)
    return Fail(name + ": no line " + Quoted(line), oError);
  return combo->UserSelect(index, oError);
}

HRESULT KORDriver::Tab(const Words& iWords, KORString& oError) {
  const KORString& name = iWords[1];
  auto* page = FindWidgetAs<KORDlgTabPage>(name, "a tab page", oError);
  auto* tabs = page ? dynamic_cast<KORDlgTabContainer*>(page->GetFather()) : nullptr;
  if (!tabs)
    return page ? Fail(name + ": is a tab page outside every tab container", oError) : E_FAIL;
  const HRESULT result = tabs->UserSelectPage(page, oError);
  return FAILED(result) ? result : S_OK;
}

HRESULT KORDriver::Push(const Words& iWords, KORString& oError) {
  auto* button = FindWidgetAs<KORDlgPushButton>(iWords[1], "a push button", oError);
  return button ? button->UserPush(oError) : E_FAIL;
}

HRESULT KORDriver::Press(const Words& iWords, KORString& oError) {
  const KORString& name = iWords[1];
  const std::pair<const char*, KORDlgButton> buttons[] = {
      {"OK", KORDlgOK}, {"Apply", KORDlgApply}, {"Cancel", KORDlgCancel}};
  auto found = std::find_if(std::begin(buttons), std::end(buttons),
                            [&](const auto& iButtonName) { return name == iButtonName.first; });
  if (found == std::end(buttons))
    return Fail("a dialog's own buttons are OK, Apply and Cancel, not " + Quoted(name), oError);
  KORDlgDialog* dialog = NewestWindow<KORDlgDialog>("dialog", oError);
  return dialog ? dialog->UserPress(found->second, oError) : E_FAIL;
}

HRESULT KORDriver::Close(const Words&, KORString& oError) {
  KORDlgDialog* dialog = NewestWindow<KORDlgDialog>("dialog", oError);
  return dialog ? dialog->UserClose(oError) : E_FAIL;
}

HRESULT KORDriver::Answer(const Words& iWords, KORString& oError) {
  const KORString& name = iWords[1];
  auto found = std::find_if(std::begin(kAnswers), std::end(kAnswers),
                            [&](const AnswerName& iName) { return name == iName.name; });
  if (found == std::end(kAnswers))
    return Fail("the answers are ok, yes, no and cancel, not " + Quoted(name), oError);
  const std::vector<KORDlgObject*> windows = ShownWindows();
  auto box = std::find_if(windows.rbegin(), windows.rend(), [](KORDlgObject* iWindow) {
    return iWindow->GetKind() == KORDlgKind::Notify || iWindow->GetKind() == KORDlgKind::FileBox;
  });
  if (box == windows.rend())
    return Fail("no message box is open", oError);
  if (auto* files = dynamic_cast<KORDlgFileBox*>(*box)) {
    if (found->answer != KORDlgAnswerCancel)
      return Fail(files->GetName() + ": a file box is answered with file PATH or answer cancel",
                  oError);
    return files->UserCancel(oError);
  }
  auto* notify = static_cast<KORDlgNotify*>(*box);
  const KORDriverMessage message{notify->GetTitle(), notify->GetText(), name};
  if (FAILED(notify->UserAnswer(found->answer, oError)))
    return E_FAIL;
  if (_onMessage)
    _onMessage(message);
  return S_OK;
}

HRESULT KORDriver::File(const Words& iWords, KORString& oError) {
  KORDlgFileBox* box = NewestWindow<KORDlgFileBox>("file box", oError);
  return box ? box->UserChoose(iWords[1], oError) : E_FAIL;
}

HRESULT KORDriver::Replay(const Words& iWords, KORString& oError) {
  const bool undo = iWords[0] == "undo";
  if (SUCCEEDED(undo ? _frame.Undo() : _frame.Redo()))
    return S_OK;
  return Fail(undo ? "nothing to undo" : "nothing to redo", oError);
}

HRESULT KORDriver::Expect(const Words& iWords, KORString& oError) {
  const KORString& name = iWords[1];
  const KORString& expected = iWords[2];
  double tolerance = 1e-6;
  if (iWords.size() > 3 && (!ReadNumber(iWords[3], tolerance) || tolerance < 0))
    return Fail("the tolerance " + Quoted(iWords[3]) + " is not a number of at least 0", oError);
  KORDlgObject* widget = nullptr;
  if (FAILED(FindWidget(name, widget, oError)))
    return E_FAIL;
  if (!IsSeen(*widget))
    return Fail(name + ": is hidden, its value cannot be read", oError);
  const KORUnicodeString shown = widget->GetValueText();
  double expectedNumber = 0, shownNumber = 0;
  if (const auto* spinner = dynamic_cast<const KORDlgSpinner*>(widget))
    shownNumber = spinner->GetValue();
  const bool numbers = ReadNumber(expected, expectedNumber) &&
                       (widget->GetKind() == KORDlgKind::Spinner || ReadNumber(shown, shownNumber));
  const bool same =
      numbers ? std::fabs(shownNumber - expectedNumber) <= tolerance : shown == expected;
  if (!same)
    return Fail(name + " shows " + Quoted(shown) + ", expected " + Quoted(expected), oError);
  return S_OK;
}

HRESULT KORDriver::ExpectMessage(const Words& iWords, KORString& oError) {
  const KORString& text = iWords[1];
  if (_lastMessage.empty())
    return Fail("no message box was shown", oError);
  if (_lastMessage.find(text) == KORUnicodeString::npos)
    return Fail("the last message box says " + Quoted(_lastMessage) + ", not " + Quoted(text),
                oError);
  return S_OK;
}

HRESULT KORDriver::Show(const Words&, KORString&) {
  _output << KORDlgDumpShownWindowsJSON(*_frame.Commands().GetMainWindow()) << '\n';
  return S_OK;
}

HRESULT KORDriver::Drag(const Words& iWords, KORString& oError) {
  double numbers[6] = {0, 0, 0, 0, 0, 0};
  const std::size_t count = iWords.size() - 3;
  bool wellFormed = iWords[2] == "by" && (count == 3 || count == 6);
  for (std::size_t index = 0; wellFormed && index < count; ++index)
    wellFormed = ReadNumber(iWords[3 + index], numbers[index]);
  if (!wellFormed)
    return Fail("write: drag ELEMENT by X Y Z [H P R], X Y Z H P R numbers", oError);
  const KORString& element = iWords[1];
  KORPathElement path;
  if (FAILED(FindElement(element, path, oError)))
    return E_FAIL;
  // The manipulator moved by (X, Y, Z) and turned about the absolute origin.
  KORMath3x3Matrix rotation;
  KORMathHPR(rotation, numbers[3], numbers[4], numbers[5]);
  const KORMathTransformation displacement(rotation,
                                           KORMathVector(numbers[0], numbers[1], numbers[2]));
  KOR3DManipulator& manipulator = _frame.Manipulator();
  KORString error;
  if (FAILED(manipulator.BeginDrag(path, error)))
    return Fail(element + " " + error, oError);
  const HRESULT moved = manipulator.Drag(displacement);
  const HRESULT ended = manipulator.EndDrag();
  if (FAILED(moved) || FAILED(ended))
    return Fail(element + " could not be moved there", oError);
  return S_OK;
}

HRESULT KORDriver::Compass(const Words& iWords, KORString& oError) {
  const KORString& element = iWords[1];
  KORPathElement path;
  if (FAILED(FindElement(element, path, oError)))
    return E_FAIL;
  KOR3DCompass& compass = _frame.Compass();
  // The viewer's sight when nobody turned it: down the z axis.
  KORString error;
  if (FAILED(compass.SnapOnto(path, KORMathDirection(0, 0, -1), error)))
    return Fail(element + ": " + error, oError);
  const KORMathAxis& axis = compass.GetAxis();
  const KORMathPoint& origin = axis.GetOrigin();
  _output << "{\"compass\": {\"origin\": "
          << JsonTriple(origin.GetX(), origin.GetY(), origin.GetZ())
          << ", \"x\": " << JsonTriple(axis.GetFirstDirection())
          << ", \"y\": " << JsonTriple(axis.GetSecondDirection())
          << ", \"z\": " << JsonTriple(axis.GetThirdDirection()) << "}}\n";
  return S_OK;
}

HRESULT KORDriver::Event(const Words& iWords, KORString& oError) {
  const KORString& name = iWords[1];
  const bool viewport = name == KORVRViewportEventName;
  if (!viewport && name != KORVRPositionEventName)
    return Fail(Quoted(name) + " is no tracking event; write " + KORVRViewportEventName + " or " +
                    KORVRPositionEventName,
                oError);
  double placement[6] = {};
  for (std::size_t value = 0; value < 6; ++value)
    if (!ReadNumber(iWords[value + 2], placement[value]))
      return Fail("write: event NAME X Y Z H P R, X Y Z H P R numbers, not " +
                      Quoted(iWords[value + 2]),
                  oError);
  KORMath3x3Matrix rotation;
  KORMathHPR(rotation, placement[3], placement[4], placement[5]);
  const KORMathTransformation sensor(rotation,
                                     KORMathVector(placement[0], placement[1], placement[2]));
  std::vector<KORVRDeviceEvent> events;
  for (KORVRDeviceEvent& event : KORVRGetTrackerEvents())
    if (event.GetName() == name) {
      event.SetDoubleValue(viewport ? KORVRViewportEventData(sensor)
                                    : KORVRPositionEventData(sensor));
      events.push_back(std::move(event));
    }
  if (events.empty())
    return Fail("no tracker of the runtime sends " + name, oError);
  _frame.DeviceService().GetDispatcher().Post(events);
  // The user-interface thread is idle between two lines of a journal.
  _frame.OnIdle();
  return S_OK;
}

HRESULT KORDriver::Runtime(const Words& iWords, KORString& oError) {
  KORUnicodeString id = iWords[1];
  if (id == "document") {
    auto naming = KORQuery<KORIJournalNaming>(_frame.Editor().GetDocument());
    if (!naming || FAILED(naming->GetConfigurationIdentifier(id)))
      return Fail("the open document holds no configuration whose identifier the runtime could "
                  "report",
                  oError);
  }
  if (id.empty())
    return Fail("the runtime's configuration identifier cannot be empty", oError);
  _frame.DeviceService().SetLoadedConfigID(id);
  return S_OK;
}

void KORDriver::CollectMessages() {
  const std::vector<KORMessageBoxRecord>& logged = _frame.MessageBoxes().Shown();
  for (; _loggedSeen < logged.size(); ++_loggedSeen) {
    _lastMessage = logged[_loggedSeen].text;
    if (_onMessage)
      _onMessage({logged[_loggedSeen].title, logged[_loggedSeen].text, "ok"});
  }
  std::vector<const KORDlgObject*> shown;
  for (KORDlgObject* window : ShownWindows()) {
    if (window->GetKind() != KORDlgKind::Notify)
      continue;
    if (std::find(_notifiesShown.begin(), _notifiesShown.end(), window) == _notifiesShown.end())
      _lastMessage = static_cast<KORDlgNotify*>(window)->GetText();
    shown.push_back(window);
  }
  _notifiesShown = std::move(shown);
}
