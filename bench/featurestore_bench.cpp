// Cost of the feature store at document scale: making 10,000 features with a
// few attributes each (outside any transaction, and recorded in one
// transaction), undoing and redoing that transaction, saving the features to
// a JSON file and loading it back.
#include "featurestore/KORDocumentIO.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {
constexpr int kFeatureCount = 10000;

const char* kBenchCatalog = R"({"types": [
  {"type": "KORBenchScreen", "attributes": [
    {"key": "PixelWidth", "value": "integer"},
    {"key": "Gamma", "value": "double"},
    {"key": "Label", "value": "string"},
    {"key": "Corners", "value": "doubles"},
    {"key": "Next", "value": "link"}]}]})";

// The screen type, declared on first use; null when the catalog is refused.
const KORFeatureType* ScreenType() {
  static const KORFeatureType* type = [] {
    std::string error;
    if (FAILED(KORFeatureCatalog::LoadText("KORBenchCatalog", kBenchCatalog, error)))
      return static_cast<const KORFeatureType*>(nullptr);
    return KORFeatureCatalog::FindType("KORBenchScreen");
  }();
  return type;
}

// A folder of its own for the files, removed at exit; an empty path when
// none could be made.
class BenchFolder {
public:
  BenchFolder() {
    char pattern[] = "/tmp/kor_featurestore_bench_XXXXXX";
    if (::mkdtemp(pattern))
      _path = pattern;
  }
  ~BenchFolder() {
    std::error_code ignored;
    if (!_path.empty())
      std::filesystem::remove_all(_path, ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
  const std::string& Path() const { return _path; }

private:
  std::string _path;
};

const std::string& BenchDirectory() {
  static const BenchFolder folder;
  return folder.Path();
}

enum class Recording { Off, InOneTransaction };

// Each feature links to the one made before it, so that saving and loading
// also resolve links. Null when the store refuses something.
KORSmartPtr<KORDocument> MakeDocument(Recording iRecording = Recording::Off) {
  const KORFeatureType* type = ScreenType();
  KORSmartPtr<KORDocument> document = KORDocument::Create();
  KORFeatureContainer* container =
      document->GetCompoundContainer()->AddContainer("KORBenchCont", "KORFeatCont");
  if (!type || !container || FAILED(container->OpenCatalog("KORBenchCatalog")))
    return nullptr;
  const bool recorded = iRecording == Recording::InOneTransaction;
  if (recorded && FAILED(document->OpenTransaction()))
    return nullptr;
  KORFeature* previous = nullptr;
  for (int i = 0; i < kFeatureCount; ++i) {
    KORFeature* feature = container->NewFeature(*type, "Screen." + std::to_string(i));
    if (!feature || FAILED(feature->SetInteger("PixelWidth", 1920 + i)) ||
        FAILED(feature->SetDouble("Gamma", 2.2 + i * 1e-4)) ||
        FAILED(feature->SetString("Label", "screen number " + std::to_string(i))) ||
        FAILED(feature->SetDoubles("Corners", {-1.5, 0.75 * i, 3.25, 1.0 / (i + 1)})) ||
        FAILED(feature->SetLink("Next", previous)))
      return nullptr;
    previous = feature;
  }
  if (recorded && FAILED(document->CommitTransaction()))
    return nullptr;
  return document;
}

void BM_CreateFeatures(benchmark::State& ioState) {
  const auto recording = static_cast<Recording>(ioState.range(0));
  for (auto _ : ioState) {
    KORSmartPtr<KORDocument> document = MakeDocument(recording);
    if (!document) {
      ioState.SkipWithError("the feature store refused the benchmark document");
      break;
    }
    ioState.PauseTiming(); // closing the document is not part of creating it
    document.reset();
    ioState.ResumeTiming();
  }
  ioState.SetItemsProcessed(ioState.iterations() * kFeatureCount);
}

// Each iteration undoes the creation of every feature and redoes it.
void BM_UndoRedoCreation(benchmark::State& ioState) {
  KORSmartPtr<KORDocument> document = MakeDocument(Recording::InOneTransaction);
  if (!document) {
    ioState.SkipWithError("the feature store refused the benchmark document");
    return;
  }
  for (auto _ : ioState)
    if (FAILED(document->Undo()) || FAILED(document->Redo())) {
      ioState.SkipWithError("undo or redo failed");
      break;
    }
  ioState.SetItemsProcessed(ioState.iterations() * kFeatureCount);
}

void BM_SaveDocument(benchmark::State& ioState) {
  KORSmartPtr<KORDocument> document = MakeDocument();
  const std::string path = BenchDirectory() + "/save.json";
  std::string error;
  if (!document || BenchDirectory().empty()) {
    ioState.SkipWithError("no document or no folder to save it in");
    return;
  }
  for (auto _ : ioState)
    if (FAILED(KORSaveDocument(*document, path, error))) {
      ioState.SkipWithError(error.c_str());
      break;
    }
  ioState.SetItemsProcessed(ioState.iterations() * kFeatureCount);
}

void BM_LoadDocument(benchmark::State& ioState) {
  KORSmartPtr<KORDocument> document = MakeDocument();
  const std::string path = BenchDirectory() + "/load.json";
  std::string error;
  if (!document || BenchDirectory().empty() || FAILED(KORSaveDocument(*document, path, error))) {
    ioState.SkipWithError(("cannot make the file to load: " + error).c_str());
    return;
  }
  document.reset();
  for (auto _ : ioState) {
    KORSmartPtr<KORDocument> loaded;
    if (FAILED(KORLoadDocument(path, loaded, error))) {
      ioState.SkipWithError(error.c_str());
      break;
    }
    ioState.PauseTiming(); // closing the document is not part of loading it
    loaded.reset();
    ioState.ResumeTiming();
  }
  ioState.SetItemsProcessed(ioState.iterations() * kFeatureCount);
}
} // namespace

BENCHMARK(BM_CreateFeatures)
    ->ArgName("recorded")
    ->Arg(static_cast<int>(Recording::Off))
    ->Arg(static_cast<int>(Recording::InOneTransaction))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_UndoRedoCreation)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveDocument)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadDocument)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
