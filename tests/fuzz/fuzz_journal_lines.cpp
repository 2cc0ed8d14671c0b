// Feeds arbitrary text to the driver, one journal line at a time, as the
// browser workbench sends a person's actions to `korvrc serve`: the line
// reader splits each line, then the driver performs it on the bundled example
// in a frame of its own, with the module's workbench loaded and the tracking
// mapping the server keeps up to date. Each input gets a fresh frame and a
// fresh document, so that nothing carries over from one input to the next.
//
// Writing files: everything the harness lets a line write lies in a
// temporary folder made once per process. HOME, USERPROFILE and
// KORUserSettingPath name it (the export dialog's default directory and the
// runtime's settings), and, as the server confines the same lines to its
// export folder, a path that a line names (a `file` answer, a typed export
// directory) is taken below it, and a line whose path climbs out with ".." is
// refused. The working folder stays the fuzzer's own, so that its corpus and
// artifact paths may be relative.
#include "KORFuzzModule.h"
#include "KORVrcCommands.h"
#include "KORVrcTrackingSource.h"
#include "featurestore/KORDocumentIO.h"
#include "frame/KORDriver.h"
#include "frame/KORJournal.h"
#include "system/KORQuotedText.h"
#include "interfaces/KORIVrcFactory.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {
// Enough for any scenario a seed holds; more lines only slow an input down.
constexpr std::size_t kMaxLines = 64;

std::string gFolder;      // where the lines may write
std::string gExamplePath; // the bundled example, saved once as a document

[[noreturn]] void Abort(const std::string& iWhy) {
  std::fprintf(stderr, "fuzz_journal_lines: %s\n", iWhy.c_str());
  std::abort();
}

// Whether iPath, taken below a folder, climbs out of it: it has a ".." part.
bool ClimbsOut(std::string_view iPath) {
  for (std::size_t start = 0; start <= iPath.size();) {
    const std::size_t end = std::min(iPath.find('/', start), iPath.size());
    if (iPath.substr(start, end - start) == "..")
      return true;
    start = end + 1;
  }
  return false;
}

// The line as the harness performs it, with the path it names taken inside
// the temporary folder; false when that path could lead out of it.
bool ConfinePath(const std::string& iLine, std::string& oLine) {
  oLine = iLine;
  std::vector<KORString> words;
  KORString error;
  if (FAILED(KORSplitJournalLine(iLine, words, error)))
    return true;
  const bool fileAnswer = words.size() == 2 && words[0] == "file";
  const bool typedDirectory = words.size() == 3 && words[0] == "set" && words[1] == "DirectoryEdt";
  if (!fileAnswer && !typedDirectory)
    return true;
  if (ClimbsOut(words.back()))
    return false;
  oLine.clear();
  for (std::size_t word = 0; word + 1 < words.size(); ++word)
    oLine += words[word] + ' ';
  KORAppendQuoted(oLine, gFolder + '/' + words.back());
  return true;
}

void MakeTemporaryFolder() {
  char folder[] = "/tmp/fuzz_journal_lines_XXXXXX";
  if (!::mkdtemp(folder))
    Abort("cannot make a temporary folder");
  gFolder = folder;
  // A finding's input is kept by the fuzzer itself; the folder is only scratch.
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(gFolder, ignored);
  });
  for (const char* variable : {"HOME", "USERPROFILE", "KORUserSettingPath"})
    ::setenv(variable, folder, /*overwrite=*/1);
  gExamplePath = gFolder + "/example.kordoc";
}

void SaveExample() {
  KORFrame frame;
  KORFrameScope scope(frame);
  std::string where, error;
  KORSmartPtr<KORDocument> example = KORVrcOpenInput("", where, error);
  if (!example || FAILED(KORSaveDocument(*example, gExamplePath, error)))
    Abort("cannot prepare the bundled example: " + where + ": " + error);
}

// The server keeps the mapping of the tracking controller's bodies to the
// head's and hand's events up to date after each action.
void FollowMapping(KORFrame& ioFrame, KORDocument* iDocument) {
  if (auto factory = KORQuery<KORIVrcFactory>(iDocument))
    ioFrame.DeviceService().SetMapping(KORVrcTrackingMapping(factory));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  MakeTemporaryFolder();
  KORFuzzLoadModuleOnce();
  SaveExample();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* iData, std::size_t iSize) {
  KORFrame frame;
  KORFrameScope scope(frame);
  // Thousands of refusals a second would only flood the fuzzer's output.
  frame.MessageBoxes().SetEcho(false);
  std::string where, error;
  KORSmartPtr<KORDocument> document = KORVrcOpenInput(gExamplePath, where, error);
  if (!document)
    Abort("cannot open the saved example: " + error);
  frame.SetReplayingUserInteraction(true);
  KORString workbenchError;
  if (frame.LoadWorkbench("KORVrcWorkbench", workbenchError) != S_OK)
    Abort("cannot load the workbench: " + workbenchError);
  std::ostringstream printed;
  KORDriver driver(frame, printed);
  FollowMapping(frame, document);

  std::istringstream lines(std::string(reinterpret_cast<const char*>(iData), iSize));
  KORString line;
  for (std::size_t count = 0; count < kMaxLines && std::getline(lines, line); ++count) {
    std::string confined;
    if (!ConfinePath(line, confined))
      continue;
    KORString refusal;
    if (SUCCEEDED(driver.Perform(confined, refusal)))
      FollowMapping(frame, document);
  }
  // As the server does when the page goes: a command still open is cancelled.
  frame.Commands().CancelActiveCommand();
  return 0;
}
