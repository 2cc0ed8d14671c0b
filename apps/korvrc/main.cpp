// korvrc: the command-line host of the immersive configuration module.
#include "KORVrcCommands.h"
#include "KORVrcSceneCommands.h"
#include "KORVrcServeLibrary.h"
#include "KORVrcTrackCommand.h"
#include "frame/KORFrame.h"
#include "objectmodel/KORExtensionDictionary.h"
#include "system/KORModule.h"
#include "system/KORAtomicFile.h"
#include "system/KOREnvironment.h"
#include "system/KORHeap.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <iostream>

namespace {
constexpr const char* kModuleName = "KORVrConfig";
// Address space the heap takes ahead of need: more than an export of a few
// thousand displays uses, so that its document stays on large pages.
constexpr std::size_t kHeapReserve = 64 * 1024 * 1024;

int PrintVersion() {
  std::cout << "korvrc " << KOR_VERSION << " (host platform KORHost " << KOR_VERSION << ")\n";
  std::string error;
  if (FAILED(KORLoadModule(kModuleName, error))) {
    std::cerr << "korvrc: " << error << '\n';
    return 1;
  }
  std::cout << "module " << kModuleName << " loaded and registered\n";
  return 0;
}

// The runtime settings and the registry of configurations are saved in
// $KORUserSettingPath; without it they go to ~/.korvrc/settings (created only
// when something is saved there).
void DefaultUserSettingPath() {
  const char* current = KORGetEnv("KORUserSettingPath");
  const char* home = KORGetEnv("HOME");
  if ((current == nullptr || *current == '\0') && home != nullptr && *home != '\0')
    ::setenv("KORUserSettingPath", KORMakePath(home, ".korvrc/settings").c_str(), 1);
}

// The server's library sits in the lib folder beside the bin folder holding
// korvrc, as in the build tree. It stays loaded until the process ends.
int RunServe(const KORVrcServeOptions& iOptions) {
  std::error_code error;
  const std::filesystem::path binary = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::string library =
      (binary.parent_path().parent_path() / "lib" / KORVRC_SERVE_LIBRARY).string();
  void* handle = error ? nullptr : dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  auto entry = handle ? reinterpret_cast<KORVrcServeEntryFunction>(
                            dlsym(handle, KORVRC_SERVE_ENTRY_SYMBOL))
                      : nullptr;
  if (!entry) {
    std::cerr << "korvrc: serve needs the server library " KORVRC_SERVE_LIBRARY ": "
              << (handle  ? library + " exports no " KORVRC_SERVE_ENTRY_SYMBOL
                  : error ? "korvrc's own folder cannot be found: " + error.message()
                          : std::string(dlerror()))
              << '\n';
    return 1;
  }
  return entry(&iOptions);
}

constexpr const char* kInputHelp =
    "a saved document or an installation description (.json); without it, the bundled example";
} // namespace

int main(int argc, char** argv) {
  // A run builds a whole document in memory; large pages spare it most of the
  // page faults of a growing heap.
  KORBackHeapWithLargePages(kHeapReserve);
  KORFrame frame;
  KORFrameScope frameScope(frame);
  CLI::App app{"korvrc: describe, check and export immersive display configurations"};
  app.footer("Run 'korvrc COMMAND --help' for a command's options; see docs/command-line.md.");
  bool version = false;
  app.add_flag("--version", version, "print the version and check that the module loads");

  std::string document, description, input, directory;
  bool force = false;
  KORVrcExportOptions exportOptions;
  constexpr const char* kForceHelp = "replace the file if it exists (never the input being read)";

  CLI::App* create =
      app.add_subcommand("new", "write a document holding the default configuration");
  create->add_option("DOC", document, "the document file to write")->required();
  create->add_flag("--force", force, kForceHelp);

  CLI::App* import = app.add_subcommand(
      "import", "check an installation description, build it into a new document and save it");
  // A missing file is the command's own error, reported like every other.
  import->add_option("DESCRIPTION", description, "the installation description (JSON)")->required();
  import->add_option("-o,--output", document, "the document file to write")->required();
  import->add_flag("--force", force, kForceHelp);

  CLI::App* describe =
      app.add_subcommand("describe", "print the installation description of a document");
  describe->add_option("DOC", input, kInputHelp);

  CLI::App* exporter = app.add_subcommand(
      "export", "write the XML configuration document NAME.xml and optionally register it");
  exporter->add_option("DOC", exportOptions.input, kInputHelp);
  exporter->add_option("--dir", exportOptions.directory, "the directory to write into (created)")
      ->required();
  exporter->add_option("--name", exportOptions.name,
                       "the file name without \".xml\" (default: the configuration's name)");
  exporter->add_flag("--register", exportOptions.registerConfig,
                     "add the file to the immersive runtime's list of configurations");
  exporter->add_flag("--active", exportOptions.active,
                     "also make it the runtime's active configuration (implies --register)");
  exporter->add_flag("--force", exportOptions.force, "replace files that already exist");
  exporter->add_flag("--loose", exportOptions.loose,
                     "also write NAME.mpk, NAME.display and NAME.<station>.tracking");

  CLI::App* settings = app.add_subcommand(
      "settings", "write VirtualRealityTemp.KORSettings and VRCommandsTemp.KORSettings");
  settings->add_option("DOC", input, kInputHelp);
  settings->add_option("--dir", directory, "the directory to copy them into (created)")->required();
  settings->add_flag("--force", force, "replace the files if they exist");

  KORVrcSceneOptions sceneOptions;
  CLI::App* scene = app.add_subcommand(
      "scene", "write the 3D scene (glTF), the 2D schematic (SVG) or both as text");
  scene->add_option("DOC", sceneOptions.input, kInputHelp);
  scene->add_option("--gltf", sceneOptions.gltf, "the binary glTF file to write (.glb)");
  scene->add_option("--svg", sceneOptions.svg, "the SVG file to write");
  scene->add_flag("--text", sceneOptions.text, "print the representation trees");

  CLI::App* tree =
      app.add_subcommand("tree", "print the specification tree with its labels");
  tree->add_option("DOC", input, kInputHelp);

  std::string journal, output;
  CLI::App* play = app.add_subcommand(
      "play", "replay a journal of user actions on a document and save the result");
  play->add_option("JOURNAL", journal, "the journal to replay (see docs/journal.md)")->required();
  play->add_option("DOC", input,
                   "the document to work on; without it, a new document holding the default "
                   "configuration");
  play->add_option("-o,--output", output, "where to save the result (default: back to DOC)");

  KORVrcTrackOptions trackOptions;
  CLI::App* track = app.add_subcommand(
      "track", "run the live tracking test: the head and hand follow a tracking controller");
  track->add_option("DOC", trackOptions.input, "the document to test (exported as the active "
                                               "configuration, see docs/command-line.md)")
      ->required();
  CLI::Option* listen = track->add_option(
      "--listen", trackOptions.listen,
      "receive the controller's UDP datagrams on ADDRESS:PORT (default 127.0.0.1:5000)");
  track->add_option("--record", trackOptions.record, "record the datagrams received into FILE");
  track->add_option("--replay", trackOptions.replay,
                    "replay a recorded run at its pace instead of listening")
      ->excludes(listen);
  track->add_option("--seconds", trackOptions.seconds,
                    "stop after N seconds (default: at the end of the replay, or on Ctrl-C)")
      ->check(CLI::NonNegativeNumber);
  track->add_flag("--json", trackOptions.json, "print one JSON object a line");

  KORVrcServeOptions serveOptions;
  CLI::App* serve = app.add_subcommand(
      "serve", "serve the workbench to a browser on this machine until stopped (docs/serve.md)");
  serve->add_option("DOC", serveOptions.input, kInputHelp);
  serve->add_option("-o,--output", serveOptions.output,
                    "where Save writes (default: back to DOC when it is a saved document)");
  serve->add_option("--port", serveOptions.port, "the port to listen on (default: any free one)")
      ->check(CLI::Range(0, 65535));
  serve->add_option("--export-dir", serveOptions.exportFolder,
                    "the folder the page may export into, created when missing (default: "
                    "STEM-export beside DOC, or ./korvrc-export for the bundled example)");
  CLI::Option* serveListen = serve->add_option(
      "--listen", serveOptions.listen,
      "the live tracking test receives the controller's UDP datagrams on ADDRESS:PORT "
      "(default 127.0.0.1:5000)");
  serve->add_option("--replay", serveOptions.replay,
                    "the live tracking test replays this recorded run at its pace instead")
      ->excludes(serveListen);

  app.require_subcommand(0, 1);
  CLI11_PARSE(app, argc, argv);
  if (version)
    return PrintVersion();
  if (app.get_subcommands().empty()) {
    std::cout << app.help();
    return 0;
  }

  DefaultUserSettingPath();
  KORRemoveTemporariesOnSignal();
  std::string error;
  if (FAILED(KORLoadModule(kModuleName, error))) {
    std::cerr << "korvrc: " << error << '\n';
    return 1;
  }
  if (play->parsed())
    return KORVrcGuarded(journal, [&] { return KORVrcRunPlay(journal, input, output); });
  if (serve->parsed())
    return RunServe(serveOptions);
  if (track->parsed())
    return KORVrcGuarded(trackOptions.input, [&] { return KORVrcRunTrack(trackOptions); });
  if (create->parsed())
    return KORVrcGuarded(document, [&] { return KORVrcRunNew(document, force); });
  if (import->parsed())
    return KORVrcGuarded(description,
                         [&] { return KORVrcRunImport(description, document, force); });
  const std::string& where = exporter->parsed() ? exportOptions.input
                             : scene->parsed()  ? sceneOptions.input
                                                : input;
  const std::string shown = where.empty() ? KORVrcExamplePath() : where;
  if (describe->parsed())
    return KORVrcGuarded(shown, [&] { return KORVrcRunDescribe(input); });
  if (tree->parsed())
    return KORVrcGuarded(shown, [&] { return KORVrcRunTree(input); });
  if (scene->parsed())
    return KORVrcGuarded(shown, [&] { return KORVrcRunScene(sceneOptions); });
  if (exporter->parsed())
    return KORVrcGuarded(shown, [&] { return KORVrcRunExport(exportOptions); });
  return KORVrcGuarded(shown, [&] { return KORVrcRunSettings(input, directory, force); });
}
