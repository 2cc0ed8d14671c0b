#pragma once
// The large installation the interactive benchmarks work on: 512 displays
// (an image generator each, one window showing its own screen in active
// stereo, the first one the main window) and 16 tracking stations of 16
// trackers.
#include "KORVrcDescription.h"

#include <string>

inline constexpr int kDisplays = 512;

inline KORVrcDescription LargeInstallation() {
  KORVrcDescription description;
  description.name = "Large";
  for (int display = 0; display < kDisplays; ++display) {
    const double x = 3000.0 * display;
    const std::string number = std::to_string(display);
    KORVrcViewDescription view;
    view.name = "View" + number;
    view.upperLeft = {x, 1500, 1500};
    view.lowerLeft = {x, 1500, -1500};
    view.lowerRight = {x + 3000, 1500, -1500};
    description.views.push_back(view);
    KORVrcWindowDescription window;
    window.name = "Window" + number;
    window.view = view.name;
    window.rendering = KORVrcRenderingStereo;
    window.main = display == 0;
    description.imageGenerators.push_back({"localhost:0." + number, 1280, 1024, {window}});
  }
  for (int station = 0; station < 16; ++station) {
    KORVrcStationDescription tracking;
    tracking.name = "Station" + std::to_string(station);
    tracking.type = KORVrcStationIS900;
    tracking.daemon = "Polhemus1";
    for (int number = 0; number < 16; ++number) {
      KORVrcTrackerDescription tracker;
      tracker.number = number;
      tracking.trackers.push_back(tracker);
    }
    description.trackingStations.push_back(tracking);
  }
  return description;
}
