#include "KORVrcServeCommand.h"

#include "KORVrcCommands.h"
#include "KORVrcHttpServer.h"
#include "frame/KORFrame.h"

#include <atomic>
#include <csignal>
#include <iostream>

namespace {
std::atomic<bool> gStopRequested{false};

void OnStopSignal(int) { gStopRequested = true; }

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
  if (FAILED(session.Start(error))) {
    std::cerr << "korvrc: " << where << ": " << error << '\n';
    return 1;
  }
  KORVrcServerSettings settings;
  settings.port = iOptions.port;
  settings.pageFolder = KORVRC_PAGE_FOLDER;
  KORVrcHttpServer server(session, settings);
  if (FAILED(server.Listen(error))) {
    std::cerr << "korvrc: serve: " << error << '\n';
    return 1;
  }
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
  std::cout << "korvrc: serving " << where << " at " << server.GetURL()
            << "\nkorvrc: the page exports into " << exportFolder.GetPath()
            << "\nkorvrc: stop with Ctrl-C" << std::endl;
  server.Serve(&gStopRequested);
  std::cout << "korvrc: stopped" << std::endl;
  return 0;
}
