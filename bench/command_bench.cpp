// What a person waits for at the workbench on a large installation: starting
// the configuration command, filling its dialog (a new name, a picked main
// window) and pressing OK, all through the driver, on an installation of 512
// displays (an image generator each, one window showing its own screen in
// active stereo) and 16 tracking stations of 16 trackers. The whole round
// should fit in the frame budget left after drawing at 120 Hz (1 ms).
#include "KORBenchInstallation.h"
#include "KORVrcDescriptionModel.h"
#include "featurestore/KORDocument.h"
#include "frame/KORDriver.h"
#include "interfaces/KORIVrcFactory.h"
#include "system/KORModule.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

void BM_ConfigCommandRound(benchmark::State& ioState) {
  std::string error;
  if (FAILED(KORLoadModule("KORVrConfig", error)))
    return ioState.SkipWithError(error.c_str());
  KORFrame frame;
  KORFrameScope scope(frame);
  frame.MessageBoxes().SetEcho(false);
  auto document = KORDocument::Create();
  if (FAILED(KORVrcBuildDescription(LargeInstallation(),
                                    KORQuery<KORIVrcFactory>(document).get(), error)))
    return ioState.SkipWithError(error.c_str());
  frame.Editor().SetDocument(document->Identity());
  if (FAILED(frame.LoadWorkbench("KORVrcWorkbench", error)))
    return ioState.SkipWithError(error.c_str());
  std::ostringstream shown;
  KORDriver driver(frame, shown);

  // Each round renames and moves the main window, so that every OK writes.
  const char* rounds[2][2] = {{"set NameEditor Large", "pick window:Window511"},
                              {"set NameEditor Renamed", "pick window:Window0"}};
  int round = 0;
  for (auto _ : ioState) {
    const char* const* lines = rounds[round];
    round = 1 - round;
    for (const char* line : {"start KORVrcConfigCmdHdr", lines[0], lines[1], "press OK"})
      if (FAILED(driver.Perform(line, error)))
        return ioState.SkipWithError((std::string(line) + ": " + error).c_str());
  }
}
BENCHMARK(BM_ConfigCommandRound)->Unit(benchmark::kMicrosecond)->Repetitions(5);
} // namespace
