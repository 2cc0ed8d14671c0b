#include "KORVrcHttpServer.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace {
constexpr const char* kLoopback = "127.0.0.1";
constexpr const char* kTokenHeader = "X-Korvrc-Token";
constexpr const char* kTokenCookie = "korvrc_token";
constexpr std::size_t kMaxLineBytes = 4096;
// Loopback gains nothing from compression, and the library compresses every
// text/ type and a few others (exactly so named) at its slowest setting when
// the browser offers it: seconds for three.js and for the state of a large
// installation, a fifth of a second for each scene list. It leaves these
// names alone; only the page's small HTML and CSS go out compressed.
constexpr const char* kJson = "application/json; charset=utf-8";
constexpr const char* kSvg = "image/svg+xml; charset=utf-8";
constexpr const char* kJavaScript = "application/javascript; charset=utf-8";

std::string NewToken() {
  std::random_device source;
  std::ostringstream token;
  for (int word = 0; word < 4; ++word)
    token << std::hex << std::uniform_int_distribution<std::uint64_t>()(source);
  return token.str();
}

// Compares in a time that does not depend on where the texts differ.
bool SameSecret(const std::string& iGiven, const std::string& iSecret) {
  if (iGiven.size() != iSecret.size())
    return false;
  unsigned char difference = 0;
  for (std::size_t index = 0; index < iSecret.size(); ++index)
    difference |= static_cast<unsigned char>(iGiven[index] ^ iSecret[index]);
  return difference == 0;
}

std::string CookieValue(const std::string& iCookies, const std::string& iName) {
  std::istringstream cookies(iCookies);
  std::string cookie;
  while (std::getline(cookies, cookie, ';')) {
    const std::size_t start = cookie.find_first_not_of(' ');
    if (start != std::string::npos && cookie.compare(start, iName.size() + 1, iName + "=") == 0)
      return cookie.substr(start + iName.size() + 1);
  }
  return {};
}

// A version the page says it holds; 0 (none) for anything but a number.
std::uint64_t HeldVersion(const std::string& iText) {
  std::uint64_t version = 0;
  const char* end = iText.data() + iText.size();
  const auto [stop, error] = std::from_chars(iText.data(), end, version);
  return error == std::errc() && stop == end ? version : 0;
}

void Answer(httplib::Response& oResponse, int iStatus, const nlohmann::json& iBody) {
  oResponse.status = iStatus;
  oResponse.set_content(iBody.dump(), kJson);
}

void Refuse(httplib::Response& oResponse, int iStatus, const std::string& iWhy) {
  Answer(oResponse, iStatus, {{"ok", false}, {"error", iWhy}});
}

// The page's files: a fixed list, so that no request names a path.
struct PageFile {
  const char* url;
  const char* file;
  const char* type;
};
constexpr PageFile kPageFiles[] = {
    {"/", "index.html", "text/html; charset=utf-8"},
    {"/app.js", "app.js", kJavaScript},
    {"/dialogs.js", "dialogs.js", kJavaScript},
    {"/tracking.js", "tracking.js", kJavaScript},
    {"/tree.js", "tree.js", kJavaScript},
    {"/style.css", "style.css", "text/css; charset=utf-8"},
    {"/scene.js", "scene.js", kJavaScript},
};
// The parts of three.js the 3D view imports (index.html's import map), from
// the package that scripts/install-deps.sh installs.
constexpr PageFile kThreeFiles[] = {
    {"/three/three.module.js", "build/three.module.js", kJavaScript},
    {"/three/three.core.js", "build/three.core.js", kJavaScript},
    {"/three/addons/controls/OrbitControls.js", "examples/jsm/controls/OrbitControls.js",
     kJavaScript},
    {"/three/addons/controls/TransformControls.js", "examples/jsm/controls/TransformControls.js",
     kJavaScript},
    {"/three/addons/loaders/GLTFLoader.js", "examples/jsm/loaders/GLTFLoader.js", kJavaScript},
    {"/three/addons/utils/BufferGeometryUtils.js", "examples/jsm/utils/BufferGeometryUtils.js",
     kJavaScript},
    {"/three/addons/utils/SkeletonUtils.js", "examples/jsm/utils/SkeletonUtils.js", kJavaScript},
};
} // namespace

struct KORVrcHttpServer::Work {
  std::function<void()> run;
  bool done = false;
};

KORVrcHttpServer::KORVrcHttpServer(KORVrcWorkbenchSession& ioSession,
                                   KORVrcServerSettings iSettings)
    : _session(ioSession), _settings(std::move(iSettings)),
      _http(std::make_unique<httplib::Server>()) {
  if (_settings.token.empty())
    _settings.token = NewToken();
}

KORVrcHttpServer::~KORVrcHttpServer() {
  Stop();
  _http->stop();
  if (_listener.joinable())
    _listener.join();
}

std::string KORVrcHttpServer::GetURL() const {
  return "http://" + std::string(kLoopback) + ':' + std::to_string(_port) +
         "/?token=" + _settings.token;
}

bool KORVrcHttpServer::Admits(const std::string& iHost, const std::string& iOrigin) const {
  const std::string port = ':' + std::to_string(_port);
  const bool hostServed = iHost == kLoopback + port || iHost == "localhost" + port;
  const bool originServed = iOrigin.empty() || iOrigin == "http://" + iHost;
  return hostServed && originServed;
}

bool KORVrcHttpServer::CarriesToken(const std::string& iQueryToken,
                                    const std::string& iHeaderToken,
                                    const std::string& iCookies) const {
  for (const std::string& given : {iQueryToken, iHeaderToken, CookieValue(iCookies, kTokenCookie)})
    if (SameSecret(given, _settings.token))
      return true;
  return false;
}

HRESULT KORVrcHttpServer::Listen(std::string& oError) {
  Route();
  _http->set_payload_max_length(_settings.maxRequestBytes);
  // The library writes an answer's head and body apart: with Nagle's rule
  // the body of a small answer waited for the client's delayed
  // acknowledgement, some 40 ms.
  _http->set_tcp_nodelay(true);
  const bool bound = _settings.port == 0
                         ? (_port = _http->bind_to_any_port(kLoopback)) > 0
                         : _http->bind_to_port(kLoopback, _port = _settings.port);
  if (!bound) {
    oError = "cannot listen on " + std::string(kLoopback) + ':' + std::to_string(_settings.port) +
             " (is the port in use?)";
    return E_FAIL;
  }
  _listener = std::thread([this] { _http->listen_after_bind(); });
  return S_OK;
}

void KORVrcHttpServer::Serve(const std::atomic<bool>* iStopRequested) {
  Serve([iStopRequested] { return iStopRequested && *iStopRequested; });
}

void KORVrcHttpServer::Serve(const std::function<bool()>& iShouldStop) {
  std::unique_lock<std::mutex> lock(_mutex);
  while (!_stopping && !iShouldStop()) {
    if (_queue.empty()) {
      _changed.wait_for(lock, _session.GetIdlePeriod());
      lock.unlock();
      std::string tracking = _session.OnIdle();
      lock.lock();
      if (!tracking.empty()) {
        _trackingMessage = std::move(tracking);
        ++_trackingVersion;
        _changed.notify_all();
      }
      continue;
    }
    std::shared_ptr<Work> work = _queue.front();
    _queue.pop_front();
    lock.unlock();
    work->run();
    lock.lock();
    work->done = true;
    _changed.notify_all();
  }
  _stopping = true;
  // Waiting handlers return at once; none is left waiting for the frame.
  _queue.clear();
  _changed.notify_all();
  lock.unlock();
  _http->stop();
  if (_listener.joinable())
    _listener.join();
}

void KORVrcHttpServer::Stop() {
  std::lock_guard<std::mutex> lock(_mutex);
  _stopping = true;
  _changed.notify_all();
}

bool KORVrcHttpServer::OnFrame(const std::function<void()>& iWork) {
  auto work = std::make_shared<Work>();
  work->run = iWork;
  std::unique_lock<std::mutex> lock(_mutex);
  if (_stopping)
    return false;
  _queue.push_back(work);
  _changed.notify_all();
  _changed.wait(lock, [&] { return work->done || _stopping; });
  return work->done;
}

bool KORVrcHttpServer::AnswersOnFrame(httplib::Response& oResponse, int iRefusal,
                                      const std::function<HRESULT(std::string&)>& iWork) {
  HRESULT result = E_FAIL;
  std::string error;
  if (!OnFrame([&] { result = iWork(error); })) {
    Refuse(oResponse, 503, "the workbench is closing");
    return false;
  }
  if (FAILED(result))
    Refuse(oResponse, iRefusal, error);
  return SUCCEEDED(result);
}

void KORVrcHttpServer::PushState(KORVrcStateParts iState) {
  std::lock_guard<std::mutex> lock(_mutex);
  _pushedState = std::move(iState);
  ++_stateVersion;
  _changed.notify_all();
}

void KORVrcHttpServer::Route() {
  using httplib::Request;
  using httplib::Response;
  _http->set_pre_routing_handler([this](const Request& iRequest, Response& oResponse) {
    if (!Admits(iRequest.get_header_value("Host"), iRequest.get_header_value("Origin"))) {
      Refuse(oResponse, 403, "this server answers only pages it served itself");
      return httplib::Server::HandlerResponse::Handled;
    }
    if (!CarriesToken(iRequest.get_param_value("token"), iRequest.get_header_value(kTokenHeader),
                      iRequest.get_header_value("Cookie"))) {
      Refuse(oResponse, 401, "the access token is missing or wrong: open the address korvrc "
                             "printed");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });

  const auto serve = [this](const PageFile& page, const std::string& iFolder) {
    _http->Get(page.url, [this, page, iFolder](const Request&, Response& oResponse) {
      // An unset folder is no folder (not the root of the disk).
      std::ifstream file;
      if (!iFolder.empty())
        file.open(iFolder + '/' + page.file, std::ios::binary);
      if (!file.is_open())
        return Refuse(oResponse, 404, std::string(page.file) + " is missing from " + iFolder);
      oResponse.set_content(std::string(std::istreambuf_iterator<char>(file), {}), page.type);
      // The page's own requests carry the token as this cookie.
      oResponse.set_header("Set-Cookie", std::string(kTokenCookie) + '=' + _settings.token +
                                             "; Path=/; HttpOnly; SameSite=Strict");
      oResponse.set_header("Cache-Control", "no-store");
    });
  };
  for (const PageFile& page : kPageFiles)
    serve(page, _settings.pageFolder);
  for (const PageFile& page : kThreeFiles)
    serve(page, _settings.threeFolder);

  // ?tree=N&dialogs=M: the versions the page holds, which the answer leaves
  // out when they are still current.
  _http->Get("/api/state", [this](const Request& iRequest, Response& oResponse) {
    KORVrcHeldVersions held;
    held.tree = HeldVersion(iRequest.get_param_value("tree"));
    held.dialogs = HeldVersion(iRequest.get_param_value("dialogs"));
    std::string state;
    if (AnswersOnFrame(oResponse, 500, [&](std::string&) {
          state = _session.GetStateJSON(held);
          return S_OK;
        }))
      oResponse.set_content(state, kJson);
  });

  _http->Post("/api/action", [this](const Request& iRequest, Response& oResponse) {
    const nlohmann::json body = nlohmann::json::parse(iRequest.body, nullptr, false);
    if (!body.is_object() || !body.contains("line") || !body["line"].is_string())
      return Refuse(oResponse, 400, "send {\"line\": \"one journal line\"}");
    const std::string line = body["line"];
    if (line.size() > kMaxLineBytes || line.find_first_of("\r\n") != std::string::npos)
      return Refuse(oResponse, 400, "an action is one journal line of at most " +
                                        std::to_string(kMaxLineBytes) + " bytes");
    std::string output;
    if (AnswersOnFrame(oResponse, 422, [&](std::string& oError) {
          const HRESULT result = _session.Perform(line, output, oError);
          PushState(_session.GetStateParts());
          return result;
        }))
      Answer(oResponse, 200, {{"ok", true}, {"output", output}});
  });

  _http->Post("/api/save", [this](const Request&, Response& oResponse) {
    std::string path;
    if (AnswersOnFrame(oResponse, 409,
                       [&](std::string& oError) { return _session.Save(path, oError); }))
      Answer(oResponse, 200, {{"ok", true}, {"path", path}});
  });

  _http->Get("/api/schematic.svg", [this](const Request&, Response& oResponse) {
    std::string svg;
    if (AnswersOnFrame(oResponse, 500,
                       [&](std::string& oError) { return _session.GetSchematicSVG(svg, oError); }))
      oResponse.set_content(svg, kSvg);
  });

  _http->Get("/api/scene", [this](const Request&, Response& oResponse) {
    std::string scene;
    if (AnswersOnFrame(oResponse, 500, [&](std::string&) {
          scene = _session.GetScene().GetSceneJSON();
          return S_OK;
        }))
      oResponse.set_content(scene, kJson);
  });

  // ?element=NAME, repeated: only those elements' pieces; none: all of them.
  _http->Get("/api/scene.glb", [this](const Request& iRequest, Response& oResponse) {
    std::vector<std::string> names;
    for (std::size_t index = 0; index < iRequest.get_param_value_count("element"); ++index)
      names.push_back(iRequest.get_param_value("element", index));
    std::string glb;
    if (AnswersOnFrame(oResponse, 404, [&](std::string& oError) {
          return _session.GetScene().GetGlb(names, glb, oError);
        }))
      oResponse.set_content(glb, "model/gltf-binary");
  });

  // A comment at once (the stream is open), then one "state" event after
  // each action, with the state as this stream's page lacks it (the tree
  // and the dialogs only when the stream has not sent their current
  // version), and a "tracking" event with the newest placements while a
  // live tracking test runs; a comment now and then keeps the connection
  // open.
  _http->Get("/api/events", [this](const Request&, Response& oResponse) {
    auto seen = std::make_shared<std::uint64_t>();
    auto sent = std::make_shared<KORVrcHeldVersions>();
    auto trackingSeen = std::make_shared<std::uint64_t>(0);
    auto greeted = std::make_shared<bool>(false);
    {
      std::lock_guard<std::mutex> lock(_mutex);
      *seen = _stateVersion;
    }
    oResponse.set_header("Cache-Control", "no-store");
    oResponse.set_chunked_content_provider(
        "text/event-stream",
        [this, seen, sent, trackingSeen, greeted](std::size_t, httplib::DataSink& ioSink) {
          std::unique_lock<std::mutex> lock(_mutex);
          if (*greeted)
            _changed.wait_for(lock, std::chrono::seconds(10), [&] {
              return _stopping || _stateVersion != *seen || _trackingVersion != *trackingSeen;
            });
          *greeted = true;
          if (_stopping)
            return false;
          std::string message;
          if (_stateVersion != *seen) {
            *seen = _stateVersion;
            message = "event: state\ndata: " + _pushedState.Compose(*sent) + "\n\n";
            *sent = {_pushedState.treeVersion, _pushedState.dialogsVersion};
          }
          if (_trackingVersion != *trackingSeen) {
            *trackingSeen = _trackingVersion;
            message += "event: tracking\ndata: " + _trackingMessage + "\n\n";
          }
          if (message.empty())
            message = ": open\n\n";
          lock.unlock();
          return ioSink.write(message.data(), message.size());
        });
  });
}
