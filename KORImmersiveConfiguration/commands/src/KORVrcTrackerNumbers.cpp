#include "KORVrcTrackerNumbers.h"

#include <cstdio>

std::optional<int> GetTrackerNumber(KORIVrcTracker* iTracker) {
  KORUnicodeString name;
  int number = 0;
  if (!iTracker || FAILED(iTracker->GetName(name)) || std::sscanf(name.c_str(), "%d", &number) != 1)
    return std::nullopt;
  return number;
}

std::vector<KORIVrcTracker_var> GetTrackersOf(KORIVrcTrackingStation* iStation) {
  std::vector<KORIVrcTracker_var> trackers;
  KORListValKORBaseUnknown_var* listed = nullptr;
  if (!iStation || FAILED(iStation->GetTrackers(&listed)))
    return trackers;
  const KOROwnedList owned(listed);
  for (const KORBaseUnknown_var& element : *owned)
    if (KORIVrcTracker_var tracker = KORQuery<KORIVrcTracker>(element))
      trackers.push_back(tracker);
  return trackers;
}
