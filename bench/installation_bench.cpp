// Cost of the everyday operations on generated installations of growing size:
// N displays (an image generator each, one window showing its own screen, in
// active stereo) and 16 tracking stations of 16 trackers. Importing the
// description, saving and loading the document and exporting the XML document
// should all grow linearly with N.
#include "KORVrcDescription.h"
#include "KORVrcDescriptionModel.h"
#include "featurestore/KORDocumentIO.h"
#include "frame/KORFrame.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcXML.h"
#include "system/KORModule.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
std::string Numbered(const char* iPrefix, int iNumber) {
  std::string text = iPrefix;
  text += std::to_string(iNumber);
  return text;
}

// The description text of an installation of iDisplays displays in a row.
std::string GeneratedDescription(int iDisplays) {
  nlohmann::json description{{"format", "installation-description/1"}, {"name", "Generated"}};
  for (int display = 0; display < iDisplays; ++display) {
    const double x = 3000.0 * display;
    description["views"].push_back({{"name", Numbered("View", display)},
                                    {"screen",
                                     {{"upperLeft", {x, 1500, 1500}},
                                      {"lowerLeft", {x, 1500, -1500}},
                                      {"lowerRight", {x + 3000, 1500, -1500}}}}});
    nlohmann::json window{{"name", Numbered("Window", display)},
                          {"view", Numbered("View", display)},
                          {"rendering", "Stereo"}};
    if (display == 0)
      window["main"] = true;
    description["imageGenerators"].push_back(
        {{"name", Numbered("localhost:0.", display)}, {"windows", {window}}});
  }
  for (int station = 0; station < 16; ++station) {
    nlohmann::json trackers = nlohmann::json::array();
    for (int number = 0; number < 16; ++number)
      trackers.push_back({{"number", number}});
    description["trackingStations"].push_back({{"name", Numbered("Station", station)},
                                               {"type", "IS900"},
                                               {"daemon", "Polhemus1"},
                                               {"trackers", trackers}});
  }
  return description.dump();
}

bool LoadModule() {
  std::string error;
  return SUCCEEDED(KORLoadModule("KORVrConfig", error));
}

KORSmartPtr<KORDocument> Import(const std::string& iText) {
  KORVrcDescription description;
  std::string error;
  if (!KORVrcReadDescription(iText, &KORVrcModelHasBestOffset, description, error))
    return {};
  auto document = KORDocument::Create();
  if (FAILED(KORVrcBuildDescription(description, KORQuery<KORIVrcFactory>(document).get(), error)))
    return {};
  return document;
}

std::string TemporaryPath() {
  return (std::filesystem::temp_directory_path() /
          ("kor_bench_" + std::to_string(::getpid()) + ".KORProduct"))
      .string();
}

void BM_Import(benchmark::State& ioState) {
  if (!LoadModule())
    return ioState.SkipWithError("module not loaded");
  const std::string text = GeneratedDescription(static_cast<int>(ioState.range(0)));
  for (auto _ : ioState)
    benchmark::DoNotOptimize(Import(text).get());
}

void BM_Save(benchmark::State& ioState) {
  if (!LoadModule())
    return ioState.SkipWithError("module not loaded");
  auto document = Import(GeneratedDescription(static_cast<int>(ioState.range(0))));
  const std::string path = TemporaryPath();
  std::string error;
  for (auto _ : ioState)
    if (FAILED(KORSaveDocument(*document, path, error)))
      return ioState.SkipWithError(error.c_str());
  std::remove(path.c_str());
}

void BM_Load(benchmark::State& ioState) {
  if (!LoadModule())
    return ioState.SkipWithError("module not loaded");
  auto document = Import(GeneratedDescription(static_cast<int>(ioState.range(0))));
  const std::string path = TemporaryPath();
  std::string error;
  if (FAILED(KORSaveDocument(*document, path, error)))
    return ioState.SkipWithError(error.c_str());
  for (auto _ : ioState) {
    KORSmartPtr<KORDocument> loaded;
    if (FAILED(KORLoadDocument(path, loaded, error)))
      return ioState.SkipWithError(error.c_str());
  }
  std::remove(path.c_str());
}

void BM_ExportXML(benchmark::State& ioState) {
  if (!LoadModule())
    return ioState.SkipWithError("module not loaded");
  auto document = Import(GeneratedDescription(static_cast<int>(ioState.range(0))));
  KORIVrcConfig_var config;
  if (FAILED(KORQuery<KORIVrcFactory>(document)->RetrieveConfig(config.Out())))
    return ioState.SkipWithError("the imported description has no configuration");
  auto xml = KORQuery<KORIVrcXML>(config);
  // As in korvrc, the export runs in a frame, which keeps the catalogs it reads.
  KORFrame frame;
  KORFrameScope frameScope(frame);
  for (auto _ : ioState) {
    KORUnicodeString text, messages;
    benchmark::DoNotOptimize(xml->CreateXMLConfigFile(text, messages));
    benchmark::DoNotOptimize(text.data());
  }
}

#define KOR_SIZES ->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Import) KOR_SIZES;
BENCHMARK(BM_Save) KOR_SIZES;
BENCHMARK(BM_Load) KOR_SIZES;
BENCHMARK(BM_ExportXML) KOR_SIZES;
} // namespace
