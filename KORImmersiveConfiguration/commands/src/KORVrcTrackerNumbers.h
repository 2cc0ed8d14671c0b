#pragma once
// Trackers are named by their number on their station ("%d", 0 to 15).
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"

#include <optional>
#include <vector>

// The number the tracker's name starts with; none when it has no number.
std::optional<int> GetTrackerNumber(KORIVrcTracker* iTracker);
// The station's trackers in list order; none when they cannot be read.
std::vector<KORIVrcTracker_var> GetTrackersOf(KORIVrcTrackingStation* iStation);
