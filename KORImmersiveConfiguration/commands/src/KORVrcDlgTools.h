#pragma once
// Small pieces the editing dialogs and commands share: combos listing an
// enumeration, spinners with a range and a format, and the names found in a
// list of elements.
#include "dialog/KORDlgWidgets.h"
#include "system/KORList.h"

#include <span>
#include <string_view>

// Lines of iCombo, one per label in value order (line index = value), each
// the text of the label's key in catalog iCatalog, or the key itself when the
// catalog lacks it.
void KORVrcFillCombo(KORDlgCombo& ioCombo, const KORString& iCatalog,
                     std::span<const std::string_view> iLabels);

// A spinner from iMin to iMax in iSteps steps, showing values with iFormat.
KORDlgSpinner* KORVrcMakeSpinner(KORCommand* iFather, const KORString& iName, double iMin,
                                 double iMax, int iSteps, const KORString& iFormat);

// A line speed spinner from 1 to iMax in iSteps steps: the runtime files
// cannot hold a speed of 0, which the steps from 0 would offer.
KORDlgSpinner* KORVrcMakeSpeedSpinner(KORCommand* iFather, double iMax, int iSteps);

// Binds a length parameter to ioField, which holds lengths within what a
// description of the configuration holds (KORVrcMaxMagnitude millimetres
// either way): a longer one is a typing error and stops at the range's end.
void KORVrcMakeLengthField(KORDlgSpinner& ioField);

// Appends to ioNames the names of the elements of iList that answer I, then
// deletes iList (which may be null).
template <class I>
void KORVrcAppendNames(KORListValKORBaseUnknown_var* iList, KORListValKORUnicodeString& ioNames) {
  if (!iList)
    return;
  for (const KORBaseUnknown_var& element : *iList) {
    KORUnicodeString name;
    if (KORSmartPtr<I> typed = KORQuery<I>(element); typed && SUCCEEDED(typed->GetName(name)))
      ioNames.Append(name);
  }
  delete iList;
}
