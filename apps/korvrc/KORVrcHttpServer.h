#pragma once
// The browser workbench's HTTP server (docs/serve.md). It listens on the
// loopback interface only and answers only requests that carry its access
// token and name it by its own address (Host and, when sent, Origin), with
// bounded sizes. Its handler threads never touch the frame: they hand each
// piece of work to the frame's thread, which runs them one at a time in
// Serve().
#include "KORVrcWorkbenchSession.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
struct Response;
} // namespace httplib

struct KORVrcServerSettings {
  int port = 0;           // 0: any free port
  std::string token;      // empty: a new random one
  std::string pageFolder; // where index.html and the page's modules are
  std::string threeFolder; // the three.js package (build/ and examples/jsm/)
  std::size_t maxRequestBytes = 64 * 1024;
};

class KORVrcHttpServer {
public:
  KORVrcHttpServer(KORVrcWorkbenchSession& ioSession, KORVrcServerSettings iSettings);
  ~KORVrcHttpServer();
  KORVrcHttpServer(const KORVrcHttpServer&) = delete;
  KORVrcHttpServer& operator=(const KORVrcHttpServer&) = delete;

  // Binds 127.0.0.1 and starts answering on a thread of its own.
  HRESULT Listen(std::string& oError);
  int GetPort() const { return _port; }
  const std::string& GetToken() const { return _settings.token; }
  // The address to open, token included.
  std::string GetURL() const;

  // Runs the work handed over by the handlers on the calling thread (the
  // frame's) until Stop() or iStopRequested becomes true, then stops
  // listening.
  void Serve(const std::atomic<bool>* iStopRequested = nullptr);
  // The same, stopping when iShouldStop, asked on the frame's thread at
  // least ten times a second, answers true.
  void Serve(const std::function<bool()>& iShouldStop);
  // Any thread.
  void Stop();

private:
  void Route();
  // Runs iWork on the frame's thread and waits for it; false when the server
  // is stopping and the work was not run.
  bool OnFrame(const std::function<void()>& iWork);
  // Runs iWork on the frame's thread; when it fails, answers status
  // iRefusal with the error it gives, and returns false.
  bool AnswersOnFrame(httplib::Response& oResponse, int iRefusal,
                      const std::function<HRESULT(std::string&)>& iWork);
  bool Admits(const std::string& iHost, const std::string& iOrigin) const;
  bool CarriesToken(const std::string& iQueryToken, const std::string& iHeaderToken,
                    const std::string& iCookies) const;
  // Hands the state after an action to the event streams.
  void PushState(KORVrcStateParts iState);

  struct Work;
  KORVrcWorkbenchSession& _session;
  KORVrcServerSettings _settings;
  std::unique_ptr<httplib::Server> _http;
  std::thread _listener;
  int _port = 0;

  std::mutex _mutex;
  std::condition_variable _changed; // work queued, state changed or stopping
  std::deque<std::shared_ptr<Work>> _queue;
  bool _stopping = false;
  std::uint64_t _stateVersion = 0;
  KORVrcStateParts _pushedState; // the newest, pushed as each stream lacks it
  // The newest tracking message, pushed to the page on its own (newer
  // placements replace older ones not yet sent).
  std::uint64_t _trackingVersion = 0;
  std::string _trackingMessage;
};
