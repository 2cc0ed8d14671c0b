#include "KORVrcTools.h"

#include "featurestore/KORIUuid.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "math/KORMathHPR.h"
#include "system/KORFrameServices.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string_view>

namespace {

// A tracker's number: its name read with "%d"; 0 when it does not read.
int TrackerNumber(KORIVrcTracker* iTracker) {
  KORUnicodeString name;
  int number = 0;
  if (iTracker && SUCCEEDED(iTracker->GetName(name)))
    std::sscanf(name.c_str(), "%d", &number);
  return number;
}
} // namespace

void HPR(KORMath3x3Matrix& oMatrix, double iH, double iP, double iR) {
  KORMathHPR(oMatrix, iH, iP, iR);
}

void GetHPR(const KORMath3x3Matrix& iMatrix, double& oH, double& oP, double& oR) {
  KORMathGetHPR(iMatrix, oH, oP, oR);
}

KORUnicodeString ComposeName(const KORUnicodeString& iBase,
                             const KORListValKORUnicodeString& iExistingNames, int iFirstNumber) {
  for (int number = iFirstNumber;; ++number) {
    KORUnicodeString candidate = iBase + std::to_string(number);
    if (!iExistingNames.Locate(candidate))
      return candidate;
  }
}

int CompareInterfacePointers(KORBaseUnknown* iFirst, KORBaseUnknown* iSecond) {
  if (iFirst == iSecond)
    return 1;
  if (!iFirst || !iSecond)
    return 0;
  auto first = KORQuery<KORBaseUnknown>(iFirst);
  auto second = KORQuery<KORBaseUnknown>(iSecond);
  return first && second && first.get() == second.get() ? 1 : 0;
}

HRESULT GetIndexAmongOtherTracker(int& oIndex, KORIVrcTracker* iTracker) {
  HRESULT result = E_FAIL;
  std::vector<int> freeNumbers;
  KORIVrcTrackingStation_var station;
  KORListValKORBaseUnknown_var* listed = nullptr;
  const bool stationListed = iTracker && SUCCEEDED(iTracker->GetTrackingStation(station.Out())) &&
                             SUCCEEDED(station->GetTrackers(&listed));
  const KOROwnedList trackers(listed);
  if (stationListed && trackers && trackers->Size() >= 1) {
    result = S_OK;
    for (const KORBaseUnknown_var& entry : *trackers) {
      auto tracker = KORQuery<KORIVrcTracker>(entry);
      if (!tracker)
        continue;
      KORSmartPtr<KORIVrcTrackedElement> followed;
      if (FAILED(tracker->GetTrackedElement(followed.Out())))
        freeNumbers.push_back(TrackerNumber(tracker));
    }
  }
  std::sort(freeNumbers.begin(), freeNumbers.end());
  const int own = TrackerNumber(iTracker);
  auto found = std::find(freeNumbers.begin(), freeNumbers.end(), own);
  oIndex = found == freeNumbers.end() ? 0 : static_cast<int>(found - freeNumbers.begin()) + 1;
  return result;
}

KORMathTransformation GetFreeTrackerBase(KORIVrcTracker* iTracker) {
  KORMathTransformation base;
  KORIVrcTrackingStation_var station;
  if (iTracker && SUCCEEDED(iTracker->GetTrackingStation(station.Out())) && station &&
      FAILED(station->GetRef(base)))
    base = KORMathTransformation();
  int rank = 1;
  if (FAILED(GetIndexAmongOtherTracker(rank, iTracker)) || rank < 1)
    rank = 1;
  base.SetVector(base.GetVector() + KORMathVector(0.0, 330.0 + 240.0 * (rank - 1), 0.0));
  return base;
}

bool GetUuid(KORBaseUnknown* iObject, KORUuid& oUuid) {
  assert(iObject && "KORVrcTools: GetUuid of a null object");
  auto uuid = KORQuery<KORIUuid>(iObject);
  return uuid && SUCCEEDED(uuid->GetUuid(oUuid));
}

bool WriteIdText(KORBaseUnknown* iObject, KORVrcIdText& oText) {
  KORUuid uuid;
  if (!iObject || !GetUuid(iObject, uuid))
    return false;
  // "ID", then each word in 8 lowercase hexadecimal digits.
  constexpr std::string_view kZero = "ID00000000_00000000_00000000_00000000";
  static_assert(kZero.size() == std::tuple_size_v<KORVrcIdText>);
  std::copy(kZero.begin(), kZero.end(), oText.begin());
  for (std::size_t word = 0; word < uuid.words.size(); ++word) {
    char* digit = oText.data() + 2 + 9 * word + 8;
    for (std::uint32_t value = uuid.words[word]; value; value >>= 4)
      *--digit = "0123456789abcdef"[value & 0xF];
  }
  return true;
}

KORUnicodeString* ConvertUuidToUString(KORBaseUnknown* iObject) {
  KORVrcIdText text;
  return WriteIdText(iObject, text) ? new KORUnicodeString(text.data(), text.size()) : nullptr;
}

namespace {
// Within this an integral double is exact and prints as its digits in both
// forms below; most lengths of an installation are whole millimetres.
constexpr double kPlainIntegerLimit = 1e6;
constexpr double kFixedIntegerLimit = 1e15;

bool IsIntegral(double iValue, double iLimit) {
  return std::fabs(iValue) < iLimit && std::trunc(iValue) == iValue;
}
} // namespace

KORUnicodeString DoubleToString(double iValue) {
  // The characters of printf's "%g"; a whole number of up to six digits is
  // those digits (a negative zero keeps its sign, so it takes the long way).
  char buffer[64];
  const auto written =
      IsIntegral(iValue, kPlainIntegerLimit) && !(iValue == 0 && std::signbit(iValue))
          ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(iValue))
          : std::to_chars(buffer, buffer + sizeof buffer, iValue, std::chars_format::general, 6);
  return KORUnicodeString(buffer, written.ptr);
}

std::string_view KORVrcFixed8::Format(Buffer& ioBuffer) const {
  char* const buffer = ioBuffer.data();
  char* const bufferEnd = buffer + ioBuffer.size();
  if (IsIntegral(value, kFixedIntegerLimit)) {
    // Integral zero of either sign prints as "0".
    char* end = std::to_chars(buffer, bufferEnd, static_cast<long long>(value)).ptr;
    constexpr std::string_view kFraction = ".00000000";
    end = std::copy(kFraction.begin(), kFraction.end(), end);
    return {buffer, static_cast<std::size_t>(end - buffer)};
  }
  const auto written = std::to_chars(buffer, bufferEnd, value, std::chars_format::fixed, 8);
  // A tiny negative value (often a rounding leftover of a matrix product) and a
  // tiny positive one print the same zero.
  const bool roundsToZero = std::all_of(buffer, written.ptr, [](char iCharacter) {
    return iCharacter == '-' || iCharacter == '0' || iCharacter == '.';
  });
  const char* start = roundsToZero && buffer[0] == '-' ? buffer + 1 : buffer;
  return {start, static_cast<std::size_t>(written.ptr - start)};
}

std::ostream& operator<<(std::ostream& ioStream, KORVrcFixed8 iReal) {
  KORVrcFixed8::Buffer buffer;
  const std::string_view text = iReal.Format(buffer);
  return ioStream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void DisplayErrorMessage(const KORUnicodeString& iMessage, const KORUnicodeString& iTitle) {
  KORShowUserMessage("MPK Export failed", KORUserMessageStyle::Error, iTitle, iMessage);
}

void DisplayInfoMessage(const KORUnicodeString& iMessage, const KORUnicodeString& iTitle) {
  KORShowUserMessage("MPK Export failed", KORUserMessageStyle::Information, iTitle, iMessage);
}
