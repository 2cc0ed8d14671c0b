// Cost of showing an installation: its full 3D scene built from nothing, the
// rebuild after one change (a screen corner moved), and the scene written as
// binary glTF, on installations of N displays (an image generator, a window
// and a screen each) and 16 tracking stations of 16 trackers.
#include "featurestore/KORDocument.h"
#include "featurestore/KORIContainer.h"
#include "interfaces/KORIVrcFactory.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcViewport.h"
#include "interfaces/KORIVrcWindow.h"
#include "system/KORModule.h"
#include "visu/KORSceneWriters.h"
#include "visu/KORVisManager.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {
struct Installation {
  KORSmartPtr<KORDocument> document;
  KORBaseUnknown_var container;
  KORIVrcProjectionArea_var firstScreen;
};

// Made through the factory, the way the editing commands make elements.
Installation MakeInstallation(int iDisplays) {
  Installation made;
  std::string error;
  if (FAILED(KORLoadModule("KORVrConfig", error)))
    return made;
  made.document = KORDocument::Create();
  auto factory = KORQuery<KORIVrcFactory>(made.document);
  for (int display = 0; display < iDisplays; ++display) {
    const double x = 3000.0 * display;
    const std::string number = std::to_string(display);
    KORIVrcProjectionArea_var area;
    KORIVrcScreenView_var view;
    KORIVrcIG_var ig;
    KORIVrcViewport_var viewport;
    KORIVrcWindow_var window;
    if (FAILED(factory->CreateProjectionArea(x, 1500, 1500, x, 1500, -1500, x + 3000, 1500, -1500,
                                             area.Out())) ||
        FAILED(factory->CreateScreenView("View" + number, area, view.Out())) ||
        FAILED(factory->CreateIG("localhost:0." + number, 1280, 1024, ig.Out())) ||
        FAILED(factory->CreateViewport(0, 0, 1, 1, viewport.Out())) ||
        FAILED(factory->CreateVrcWindow("Window" + number, viewport, ig, window.Out())))
      return {};
    if (display == 0)
      made.firstScreen = area;
  }
  for (int index = 0; index < 16; ++index) {
    KORIVrcTrackingStation_var station;
    if (FAILED(factory->CreateTrackingStation(KORVrcStationIS900, "Station" + std::to_string(index),
                                              station.Out())))
      return {};
    for (int number = 0; number < 16; ++number) {
      KORIVrcTracker_var tracker;
      if (FAILED(factory->CreateTracker(std::to_string(number), tracker.Out(), station)))
        return {};
    }
  }
  KORIContainer_var container;
  if (FAILED(factory->RetrieveVrcContainer(container.Out())))
    return {};
  made.container = KORQuery<KORBaseUnknown>(container);
  return made;
}

void BM_SceneFromNothing(benchmark::State& ioState) {
  Installation installation = MakeInstallation(static_cast<int>(ioState.range(0)));
  if (!installation.container) {
    ioState.SkipWithError("the installation could not be made");
    return;
  }
  for (auto _ : ioState) {
    KORVisManager manager;
    if (FAILED(manager.Attach(installation.document)))
      ioState.SkipWithError("cannot attach");
    benchmark::DoNotOptimize(manager.GetRep(installation.container, KORVisDimension::ThreeD));
  }
}
BENCHMARK(BM_SceneFromNothing)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);

void BM_RebuildAfterOneChange(benchmark::State& ioState) {
  Installation installation = MakeInstallation(static_cast<int>(ioState.range(0)));
  KORVisManager manager;
  if (!installation.container || FAILED(manager.Attach(installation.document))) {
    ioState.SkipWithError("the installation could not be made");
    return;
  }
  benchmark::DoNotOptimize(manager.GetRep(installation.container, KORVisDimension::ThreeD));
  // The change itself (the model's setter and its events) is timed apart
  // when the argument asks for the rebuild alone.
  const bool rebuildOnly = ioState.range(1) != 0;
  double top = 1500.0;
  for (auto _ : ioState) {
    top = top == 1500.0 ? 1600.0 : 1500.0;
    if (rebuildOnly)
      ioState.PauseTiming();
    if (FAILED(installation.firstScreen->SetUpperLeft(0, 1500, top)))
      ioState.SkipWithError("the screen could not be changed");
    if (rebuildOnly)
      ioState.ResumeTiming();
    benchmark::DoNotOptimize(manager.GetRep(installation.container, KORVisDimension::ThreeD));
  }
}
BENCHMARK(BM_RebuildAfterOneChange)
    ->ArgsProduct({{64, 512}, {0, 1}})
    ->ArgNames({"displays", "rebuildOnly"})
    ->Unit(benchmark::kMicrosecond);

void BM_WriteGltf(benchmark::State& ioState) {
  Installation installation = MakeInstallation(static_cast<int>(ioState.range(0)));
  KORVisManager manager;
  if (!installation.container || FAILED(manager.Attach(installation.document))) {
    ioState.SkipWithError("the installation could not be made");
    return;
  }
  KORRep_var scene = manager.GetRep(installation.container, KORVisDimension::ThreeD);
  std::size_t bytes = 0;
  for (auto _ : ioState) {
    std::ostringstream stream;
    std::string error;
    if (FAILED(KORWriteGlb(*scene, stream, error)))
      ioState.SkipWithError(error.c_str());
    bytes = stream.str().size();
  }
  ioState.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteGltf)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
} // namespace
