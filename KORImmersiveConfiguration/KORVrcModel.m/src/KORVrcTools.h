#pragma once
// Tools shared by the model, the export writers, the dialogs and the views.
//
// Heading, pitch and roll: a rotation M = Rz(H) * Ry(P) * Rx(R) about the
// fixed axes (roll first), angles counter-clockwise in degrees; the columns of
// M are the images of X, Y and Z.
#include "featurestore/KORUuid.h"
#include "math/KORMath3x3Matrix.h"
#include "math/KORMathTransformation.h"
#include "objectmodel/KORBaseUnknown.h"
#include "objectmodel/KORSmartPtr.h"
#include "system/KORList.h"

#include <array>
#include <iosfwd>
#include <string_view>
#include <type_traits>

class KORIVrcTracker;

// Why a result is left unread (KORIgnoreResult). Model events and redraws
// are for listeners: one that cannot be delivered does not undo the change
// that raised it, and the listener rebuilds on its next event.
inline constexpr char KORVrcEventNotDelivered[] =
    "an undelivered model event or redraw leaves the change made";
// A failed read leaves its out-pointer null, and the caller tests the pointer.
inline constexpr char KORVrcNullWhenUnread[] = "the out-pointer stays null and is tested";

// The value a getter of iObject reads, or iDefault when iObject is null or
// the getter fails (whatever the getter left in its output).
template <class Owner, class Value>
Value ReadValue(std::type_identity_t<Owner>* iObject, HRESULT (Owner::*iGetter)(Value&),
                Value iDefault = Value()) {
  Value value = iDefault;
  return iObject && SUCCEEDED((iObject->*iGetter)(value)) ? value : iDefault;
}
template <class Owner, class Value>
Value ReadValue(std::type_identity_t<Owner>* iObject, HRESULT (Owner::*iGetter)(Value*),
                Value iDefault = Value()) {
  Value value = iDefault;
  return iObject && SUCCEEDED((iObject->*iGetter)(&value)) ? value : iDefault;
}

// The object iObject's iGetter links to; null when iObject is null or the
// getter fails.
template <class Owner, class I>
KORSmartPtr<I> ReadLinked(std::type_identity_t<Owner>* iObject, HRESULT (Owner::*iGetter)(I**)) {
  KORSmartPtr<I> linked;
  if (!iObject || FAILED((iObject->*iGetter)(linked.Out())))
    linked = nullptr;
  return linked;
}

// A real as the runtime's text files print it: fixed notation with eight
// decimals, the characters of printf's "%.8f", whatever the stream's flags,
// except that a value printed as zero has no sign.
// Formatted without the stream's locale, which costs several times more.
struct KORVrcFixed8 {
  double value;
  // The largest double has 309 integer digits.
  using Buffer = std::array<char, 330>;
  // The characters, written into ioBuffer.
  std::string_view Format(Buffer& ioBuffer) const;
};
std::ostream& operator<<(std::ostream& ioStream, KORVrcFixed8 iReal);

// At a pitch of exactly +-90 degrees the heading is folded into the roll first.
void HPR(KORMath3x3Matrix& oMatrix, double iH, double iP, double iR);
// The inverse of HPR: R in (-180, 180], H in [-180, 180], P in [-90, 90]; at
// gimbal lock H is 0.
void GetHPR(const KORMath3x3Matrix& iMatrix, double& oH, double& oP, double& oR);

// iBase followed by the first number from iFirstNumber on ("%d", no
// separator) that makes a name not in iExistingNames.
KORUnicodeString ComposeName(const KORUnicodeString& iBase,
                             const KORListValKORUnicodeString& iExistingNames, int iFirstNumber);

// 1 when both designate the same element (two nulls too), else 0.
int CompareInterfacePointers(KORBaseUnknown* iFirst, KORBaseUnknown* iSecond);

// The 1-based rank of the tracker's number among the numbers of its station's
// trackers that follow no element (0 when not among them). Fails without
// tracker, station or trackers on the station.
HRESULT GetIndexAmongOtherTracker(int& oIndex, KORIVrcTracker* iTracker);
// Where a tracker that follows no element is laid out: its station's
// reference frame (the absolute frame without station) moved along the
// absolute y axis by 330 plus 240 per rank among the free trackers (rank 1
// when unknown).
KORMathTransformation GetFreeTrackerBase(KORIVrcTracker* iTracker);

// The object's UUID; false when it has none. A null object is a programming error.
bool GetUuid(KORBaseUnknown* iObject, KORUuid& oUuid);
// "ID" and the UUID's four words, each padded to 8 hexadecimal digits,
// separated by "_" (37 characters); null when the object has no UUID. The
// caller deletes the string.
KORUnicodeString* ConvertUuidToUString(KORBaseUnknown* iObject);
// The same text written into oText, without allocating; false, leaving oText
// as it was, when the object has no UUID.
using KORVrcIdText = std::array<char, 37>;
bool WriteIdText(KORBaseUnknown* iObject, KORVrcIdText& oText);
// The number printed with "%g".
KORUnicodeString DoubleToString(double iValue);

// Modal message boxes, identifier "MPK Export failed", shown by the current
// application frame.
void DisplayErrorMessage(const KORUnicodeString& iMessage, const KORUnicodeString& iTitle);
void DisplayInfoMessage(const KORUnicodeString& iMessage, const KORUnicodeString& iTitle);
