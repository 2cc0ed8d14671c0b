#pragma once
// The widgets of dialog boxes (see KORDlgObject.h for what they share).
#include "dialog/KORDlgObject.h"
#include "dialog/KORKnowledgeParameter.h"

#include <limits>
#include <memory>

class KORDlgFrame : public KORDlgObject {
public:
  KORDlgFrame(KORCommand* iFather, const KORString& iName)
      : KORDlgObject(iFather, iName, KORDlgKind::Frame) {}
};

class KORDlgSeparator : public KORDlgObject {
public:
  KORDlgSeparator(KORCommand* iFather, const KORString& iName)
      : KORDlgObject(iFather, iName, KORDlgKind::Separator) {}
};

// A label shows its title.
class KORDlgLabel : public KORDlgObject {
public:
  KORDlgLabel(KORCommand* iFather, const KORString& iName)
      : KORDlgObject(iFather, iName, KORDlgKind::Label) {}
  KORUnicodeString GetValueText() const override { return GetTitle(); }
};

// A text field; an integer editor takes only whole numbers; a read-only
// editor takes nothing from a person.
class KORDlgEditor : public KORDlgObject {
public:
  enum Style { Text, Integer, ReadOnly };
  KORDlgEditor(KORCommand* iFather, const KORString& iName, Style iStyle = Text)
      : KORDlgObject(iFather, iName, KORDlgKind::Editor), _style(iStyle) {}

  Style GetStyle() const { return _style; }
  void SetText(const KORUnicodeString& iText) { _text = iText; }
  const KORUnicodeString& GetText() const { return _text; }
  void SetIntegerValue(int iValue) { _text = std::to_string(iValue); }
  // The text read as a whole number; E_FAIL when it is not one.
  HRESULT GetIntegerValue(int& oValue) const;
  KORUnicodeString GetValueText() const override { return _text; }

  // A person types iText (sends KORDlgEditModifyNotification).
  HRESULT UserSetText(const KORUnicodeString& iText, KORString& oError);

private:
  Style _style;
  KORUnicodeString _text;
};

// A list of lines of which one may be selected (index from 0; -1 for none).
class KORDlgCombo : public KORDlgObject {
public:
  KORDlgCombo(KORCommand* iFather, const KORString& iName)
      : KORDlgObject(iFather, iName, KORDlgKind::Combo) {}

  void SetLine(const KORUnicodeString& iText) { _lines.push_back(iText); }
  void ClearLine();
  int GetLineCount() const { return static_cast<int>(_lines.size()); }
  const KORUnicodeString& GetLine(int iIndex) const { return _lines[iIndex]; }
  // The index of the first line reading iText, or -1.
  int LocateLine(const KORUnicodeString& iText) const;
  // Selects line iIndex (-1: none); out of range selects nothing.
  void SetSelect(int iIndex);
  int GetSelect() const { return _selected; }
  KORUnicodeString GetValueText() const override;

  // A person chooses line iIndex (sends KORDlgComboSelectNotification).
  HRESULT UserSelect(int iIndex, KORString& oError);

private:
  std::vector<KORUnicodeString> _lines;
  int _selected = -1;
};

// A number field with arrows. Its range (unbounded until set) clamps what is
// set or typed, as the field does. Bound to a knowledge parameter, it holds
// the parameter's value and shows it in the parameter's shown unit.
class KORDlgSpinner : public KORDlgObject {
public:
  KORDlgSpinner(KORCommand* iFather, const KORString& iName)
      : KORDlgObject(iFather, iName, KORDlgKind::Spinner) {}

  // The range and the number of steps between its ends (the arrows' step).
  void SetRange(double iMin, double iMax, int iSteps);
  // The range and the step of the arrows.
  void SetMinMaxStep(double iMin, double iMax, double iStep);
  double GetMin() const { return _min; }
  double GetMax() const { return _max; }
  double GetStep() const { return _step; }
  // A printf format for one double ("%.0f"); "%g" by default.
  void SetFormat(const KORString& iFormat) { _format = iFormat; }

  // Binds a new parameter named "<name>Parm" of iKind; values set on the
  // spinner go to it in its shown unit.
  KORKnowledgeParameter& BindParameter(KORParameterKind iKind);
  KORKnowledgeParameter* GetParameter() const { return _parameter.get(); }

  // The value as shown (degrees for an angle parameter), clamped to the range.
  void SetValue(double iValue);
  double GetValue() const;
  KORUnicodeString GetValueText() const override;

  // A person types iValue, in the shown unit (sends
  // KORDlgSpinnerValueChangedNotification); a value that is not a finite
  // number is refused.
  HRESULT UserSetValue(double iValue, KORString& oError);

private:
  double Clamp(double iValue) const;
  double _min = -std::numeric_limits<double>::infinity();
  double _max = std::numeric_limits<double>::infinity();
  double _step = 1.0;
  KORString _format = "%g";
  double _value = 0.0;
  std::unique_ptr<KORKnowledgeParameter> _parameter;
};

class KORDlgCheckButton : public KORDlgObject {
public:
  KORDlgCheckButton(KORCommand* iFather, const KORString& iName)
      : KORDlgObject(iFather, iName, KORDlgKind::CheckButton) {}
  void SetState(bool iOn) { _on = iOn; }
  bool GetState() const { return _on; }
  KORUnicodeString GetValueText() const override { return _on ? "on" : "off"; }

  // A person sets the box to iOn: a click when that changes it (sends
  // KORDlgCheckModifyNotification); S_FALSE and nothing sent when it is
  // already so.
  HRESULT UserSetState(bool iOn, KORString& oError);

private:
  bool _on = false;
};

class KORDlgPushButton : public KORDlgObject {
public:
  KORDlgPushButton(KORCommand* iFather, const KORString& iName)
      : KORDlgObject(iFather, iName, KORDlgKind::PushButton) {}
  // Sends KORDlgPushBActivateNotification.
  HRESULT UserPush(KORString& oError);
};

class KORDlgTabPage : public KORDlgObject {
public:
  KORDlgTabPage(KORCommand* iFather, const KORString& iName)
      : KORDlgObject(iFather, iName, KORDlgKind::TabPage) {}
};

// Tab pages are its children; the first one made is selected at first.
class KORDlgTabContainer : public KORDlgObject {
public:
  KORDlgTabContainer(KORCommand* iFather, const KORString& iName)
      : KORDlgObject(iFather, iName, KORDlgKind::TabContainer) {}
  // Selects iPage, one of its pages; false (nothing changed) otherwise.
  bool SetSelectedPage(KORDlgTabPage* iPage);
  KORDlgTabPage* GetSelectedPage() const;
  KORUnicodeString GetValueText() const override;

  // A person selects iPage (sends KORDlgTabSelectNotification from the
  // container); S_FALSE and nothing sent when it is already selected.
  HRESULT UserSelectPage(KORDlgTabPage* iPage, KORString& oError);

private:
  KORDlgTabPage* _selected = nullptr;
};
