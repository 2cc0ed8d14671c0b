#include "dialog/KORDlgWidgets.h"

#include "dialog/KORDlgNotifications.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

HRESULT KORDlgEditor::GetIntegerValue(int& oValue) const {
  const char* end = _text.data() + _text.size();
  auto [stop, error] = std::from_chars(_text.data(), end, oValue);
  return error == std::errc() && stop == end && !_text.empty() ? S_OK : E_FAIL;
}

HRESULT KORDlgEditor::UserSetText(const KORUnicodeString& iText, KORString& oError) {
  if (FAILED(CheckUserAccess(oError)))
    return E_FAIL;
  if (_style == ReadOnly)
    return Refuse("is read-only", oError);
  const KORUnicodeString previous = _text;
  _text = iText;
  int value = 0;
  if (_style == Integer && FAILED(GetIntegerValue(value))) {
    _text = previous;
    return Refuse("takes a whole number, not \"" + iText + "\"", oError);
  }
  KORDlgEditModifyNotification notification;
  return UserNotify(notification);
}

void KORDlgCombo::ClearLine() {
  _lines.clear();
  _selected = -1;
}

int KORDlgCombo::LocateLine(const KORUnicodeString& iText) const {
  auto found = std::find(_lines.begin(), _lines.end(), iText);
  return found == _lines.end() ? -1 : static_cast<int>(found - _lines.begin());
}

void KORDlgCombo::SetSelect(int iIndex) {
  _selected = iIndex >= 0 && iIndex < GetLineCount() ? iIndex : -1;
}

KORUnicodeString KORDlgCombo::GetValueText() const {
  return _selected >= 0 ? _lines[_selected] : KORUnicodeString();
}

HRESULT KORDlgCombo::UserSelect(int iIndex, KORString& oError) {
  if (FAILED(CheckUserAccess(oError)))
    return E_FAIL;
  if (iIndex < 0 || iIndex >= GetLineCount())
    return Refuse("has no line " + std::to_string(iIndex + 1) + " (it has " +
                      std::to_string(GetLineCount()) + ")",
                  oError);
  _selected = iIndex;
  KORDlgComboSelectNotification notification;
  return UserNotify(notification);
}

void KORDlgSpinner::SetRange(double iMin, double iMax, int iSteps) {
  SetMinMaxStep(iMin, iMax, iSteps > 0 ? (iMax - iMin) / iSteps : 1.0);
}

void KORDlgSpinner::SetMinMaxStep(double iMin, double iMax, double iStep) {
  _min = std::min(iMin, iMax);
  _max = std::max(iMin, iMax);
  _step = iStep;
  SetValue(GetValue());
}

double KORDlgSpinner::Clamp(double iValue) const {
  return std::clamp(iValue, _min, _max);
}

KORKnowledgeParameter& KORDlgSpinner::BindParameter(KORParameterKind iKind) {
  _parameter = std::make_unique<KORKnowledgeParameter>(GetName() + "Parm", iKind);
  _parameter->SetShownValue(_value);
  return *_parameter;
}

void KORDlgSpinner::SetValue(double iValue) {
  const double shown = Clamp(iValue);
  if (_parameter)
    _parameter->SetShownValue(shown);
  else
    _value = shown;
}

double KORDlgSpinner::GetValue() const {
  // A parameter set directly (in its held unit) may lie outside the range.
  return Clamp(_parameter ? _parameter->GetShownValue() : _value);
}

KORUnicodeString KORDlgSpinner::GetValueText() const {
  char text[64];
  const int size = std::snprintf(text, sizeof text, _format.c_str(), GetValue());
  return size < 0 ? KORUnicodeString() : KORUnicodeString(text);
}

HRESULT KORDlgSpinner::UserSetValue(double iValue, KORString& oError) {
  if (FAILED(CheckUserAccess(oError)))
    return E_FAIL;
  if (!std::isfinite(iValue))
    return Refuse("takes a number", oError);
  SetValue(iValue);
  KORDlgSpinnerValueChangedNotification notification;
  return UserNotify(notification);
}

HRESULT KORDlgCheckButton::UserSetState(bool iOn, KORString& oError) {
  if (FAILED(CheckUserAccess(oError)))
    return E_FAIL;
  if (_on == iOn)
    return S_FALSE;
  _on = iOn;
  KORDlgCheckModifyNotification notification;
  return UserNotify(notification);
}

HRESULT KORDlgPushButton::UserPush(KORString& oError) {
  if (FAILED(CheckUserAccess(oError)))
    return E_FAIL;
  KORDlgPushBActivateNotification notification;
  return UserNotify(notification);
}

bool KORDlgTabContainer::SetSelectedPage(KORDlgTabPage* iPage) {
  const auto& children = GetChildren();
  if (!iPage || std::find(children.begin(), children.end(), iPage) == children.end())
    return false;
  _selected = iPage;
  return true;
}

KORDlgTabPage* KORDlgTabContainer::GetSelectedPage() const {
  KORDlgTabPage* first = nullptr;
  for (KORCommand* child : GetChildren()) {
    auto* page = dynamic_cast<KORDlgTabPage*>(child);
    if (page && page == _selected)
      return page;
    if (page && !first)
      first = page;
  }
  return first;
}

KORUnicodeString KORDlgTabContainer::GetValueText() const {
  KORDlgTabPage* page = GetSelectedPage();
  return page ? page->GetName() : KORUnicodeString();
}

HRESULT KORDlgTabContainer::UserSelectPage(KORDlgTabPage* iPage, KORString& oError) {
  if (FAILED(CheckUserAccess(oError)))
    return E_FAIL;
  if (!iPage || iPage->GetFather() != this)
    return Refuse("has no such page", oError);
  if (FAILED(iPage->CheckUserAccess(oError)))
    return E_FAIL;
  if (iPage == GetSelectedPage())
    return S_FALSE;
  _selected = iPage;
  KORDlgTabSelectNotification notification;
  return UserNotify(notification);
}
