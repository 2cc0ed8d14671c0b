#include "KORVrcServeCommand.h"

#include "KORVrcCommands.h"
#include "KORVrcHttpServer.h"
#include "frame/KORFrame.h"
#include "vr/KORVRTrackingRecording.h"

#include <atomic>
#include <csignal>
#include <iostream>

namespace {
std::atomic<int> gInterrupts{0};
std::atomic<bool> gTerminated{false};

void OnInterrupt(int) { ++gInterrupts; }
void OnTerminate(int) { gTerminated = true; }

// Ctrl-C stops the server, but with unsaved changes only a second one does:
// the first says so, so that they can still be saved from the page. SIGTERM
// stops at once. Nothing is ever saved without the Save button.
class StopRule {
public:
  explicit StopRule(const KORVrcWorkbenchSession& iSession) : _session(iSession) {}
  bool ShouldStop() {
    if (gTerminated)
      return true;
    const int interrupts = gInterrupts;
    if (interrupts == _warnedAt)
      return false;
    if (_warnedAt > 0 || !_session.HasUnsavedChanges())
      return true;
    _warnedAt = interrupts;
    std::cout << "\nkorvrc: the document has unsaved changes: Save them in the page, or press "
                 "Ctrl-C again to stop without saving"
              << std::endl;
    return false;
  }

private:
  const KORVrcWorkbenchSession& _session;
  int _warnedAt = 0;
};

bool EndsWith(const std::string& iText, const std::string& iEnd) {
  return iText.size() >= iEnd.size() &&
         iText.compare(iText.size() - iEnd.size(), iEnd.size(), iEnd) == 0;
}

// An installation description (.json) is read, not saved over.
std::string SavePath(const KORVrcServeOptions& iOptions) {
  if (!iOptions.output.empty())
    return iOptions.output;
  return EndsWith(iOptions.input, ".json") ? std::string() : iOptions.input;
}
} // namespace

int KORVrcRunServe(const KORVrcServeOptions& iOptions) {
  KORFrame* frame = KORFrame::Current();
  std::string where, error;
  if (!frame) {
    std::cerr << "korvrc: serve: no application frame is running\n";
    return 1;
  }
  KORSmartPtr<KORDocument> document = KORVrcOpenInput(iOptions.input, where, error);
  if (!document) {
    std::cerr << "korvrc: " << where << ": " << error << '\n';
    return 1;
  }
  // A recorded run that cannot be read is said now, not when the test starts.
  KORVRTrackingRecording recording;
  KORString recordingError;
  if (!iOptions.replay.empty() &&
      FAILED(KORVRReadTrackingRecording(iOptions.replay, recording, recordingError))) {
    std::cerr << "korvrc: serve: " << recordingError << '\n';
    return 1;
  }
  KORVrcExportFolder exportFolder;
  const std::string folder = iOptions.exportFolder.empty()
                                 ? KORVrcExportFolder::DefaultFor(iOptions.input)
                                 : iOptions.exportFolder;
  if (FAILED(exportFolder.Open(folder, error))) {
    std::cerr << "korvrc: serve: " << error << '\n';
    return 1;
  }
  KORVrcWorkbenchSession session(*frame, document, SavePath(iOptions));
  session.SetExportFolder(exportFolder);
  session.SetTrackingSettings({iOptions.listen, iOptions.replay});
  if (FAILED(session.Start(error))) {
    std::cerr << "korvrc: " << where << ": " << error << '\n';
    return 1;
  }
  KORVrcServerSettings settings;
  settings.port = iOptions.port;
  settings.pageFolder = KORVRC_PAGE_FOLDER;
  settings.threeFolder = KORVRC_THREE_FOLDER;
  KORVrcHttpServer server(session, settings);
  if (FAILED(server.Listen(error))) {
    std::cerr << "korvrc: serve: " << error << '\n';
    return 1;
  }
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnTerminate);
  std::cout << "korvrc: serving " << where << " at " << server.GetURL()
            << "\nkorvrc: the page exports into " << exportFolder.GetPath()
            << "\nkorvrc: stop with Ctrl-C" << std::endl;
  StopRule stopRule(session);
  server.Serve([&] { return stopRule.ShouldStop(); });
  if (session.HasUnsavedChanges())
    std::cout << "korvrc: stopped; the changes not saved are lost" << std::endl;
  else
    std::cout << "korvrc: stopped" << std::endl;
  return 0;
}
