// The browser workbench's server, in process, through a real client on
// loopback: what it refuses, and that accepted actions reach the document.
#include "KORVrcCommands.h"
#include "KORVrcHttpServer.h"
#include "frame/KORFrame.h"
#include "system/KORModule.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// A fresh folder under /tmp, removed with everything in it.
struct TemporaryFolder {
  TemporaryFolder() {
    char name[] = "/tmp/korvrc-export-XXXXXX";
    path = ::mkdtemp(name) ? fs::path(name) : fs::path();
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  fs::path path;
};

constexpr const char* kToken = "0123456789abcdef";

class ServeTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    std::string error;
    ASSERT_EQ(KORLoadModule("KORVrConfig", error), S_OK) << error;
  }

  void SetUp() override {
    frame.MessageBoxes().SetEcho(false);
    std::string where, error;
    document = KORVrcOpenInput("", where, error);
    ASSERT_TRUE(document) << where << ": " << error;
  }

  // Serves on this thread, the frame's, while iClient talks to the server
  // from another; the server stops when iClient is done.
  void Exchange(const std::string& iSavePath,
                const std::function<void(httplib::Client&)>& iClient) {
    KORVrcWorkbenchSession session(frame, document, iSavePath);
    session.SetExportFolder(exportFolder);
    session.SetTrackingSettings(tracking);
    std::string error;
    ASSERT_EQ(session.Start(error), S_OK) << error;
    KORVrcServerSettings settings;
    settings.token = kToken;
    settings.pageFolder = KORVRC_PAGE_FOLDER;
    settings.threeFolder = KORVRC_THREE_FOLDER;
    settings.maxRequestBytes = 1024;
    KORVrcHttpServer server(session, settings);
    ASSERT_EQ(server.Listen(error), S_OK) << error;
    port = server.GetPort();
    std::thread client([&] {
      httplib::Client connection("127.0.0.1", port);
      iClient(connection);
      server.Stop();
    });
    server.Serve();
    client.join();
    finalState = session.GetStateJSON();
  }

  httplib::Headers Authorized() const { return {{"X-Korvrc-Token", kToken}}; }

  static int Status(const httplib::Result& iResult) { return iResult ? iResult->status : -1; }

  int Act(httplib::Client& ioClient, const std::string& iLine) {
    return Status(ioClient.Post("/api/action", Authorized(), nlohmann::json{{"line", iLine}}.dump(),
                                "application/json"));
  }

  // Performs each line, each of which must be accepted.
  void Perform(httplib::Client& ioClient, const std::vector<std::string>& iLines) {
    for (const std::string& line : iLines)
      EXPECT_EQ(Act(ioClient, line), 200) << line;
  }

  // Follows the event stream on a thread of its own, handing iTake each
  // piece received until it answers false; returns once the stream is open.
  std::thread FollowEvents(const std::function<bool(const std::string&)>& iTake,
                           int iTimeoutSeconds) {
    auto open = std::make_shared<std::promise<void>>();
    std::future<void> opened = open->get_future();
    std::thread listener([this, open, iTake, iTimeoutSeconds] {
      httplib::Client stream("127.0.0.1", port);
      stream.set_read_timeout(iTimeoutSeconds, 0);
      bool told = false;
      stream.Get("/api/events", Authorized(), [&](const char* iData, std::size_t iLength) {
        if (!told)
          open->set_value();
        told = true;
        return iTake(std::string(iData, iLength));
      });
      if (!told)
        open->set_value();
    });
    opened.wait();
    return listener;
  }

  // The answer to a GET of iPath as JSON, or null unless it was 200.
  nlohmann::json GetJSON(httplib::Client& ioClient, const std::string& iPath) {
    httplib::Result result = ioClient.Get(iPath, Authorized());
    return result && result->status == 200 ? nlohmann::json::parse(result->body) : nlohmann::json();
  }

  nlohmann::json State(httplib::Client& ioClient, const std::string& iHeld = "") {
    return GetJSON(ioClient, "/api/state" + iHeld);
  }

  int Save(httplib::Client& ioClient) {
    return Status(ioClient.Post("/api/save", Authorized(), "", "application/json"));
  }

  KORFrame frame;
  KORFrameScope scope{frame};
  KORSmartPtr<KORDocument> document;
  int port = 0;
  std::string finalState;
  KORVrcExportFolder exportFolder; // none unless a test opens one
  KORVrcTrackingSettings tracking{"127.0.0.1:0", ""};
};

// The elements of the tree's nodes that iSelection's paths lead to.
std::set<std::string> SelectedElements(const nlohmann::json& iTree,
                                       const nlohmann::json& iSelection) {
  std::set<std::string> elements;
  for (const nlohmann::json& path : iSelection) {
    const nlohmann::json* node = &iTree;
    for (const nlohmann::json& index : path)
      node = &node->at("children").at(index.get<std::size_t>());
    if (node->at("element").is_string())
      elements.insert(node->at("element").get<std::string>());
  }
  return elements;
}

// The widget named iName in a dumped window, or null.
const nlohmann::json* FindWidget(const nlohmann::json& iWidget, const std::string& iName) {
  if (iWidget.value("name", "") == iName)
    return &iWidget;
  if (iWidget.contains("widgets"))
    for (const nlohmann::json& child : iWidget["widgets"])
      if (const nlohmann::json* found = FindWidget(child, iName))
        return found;
  return nullptr;
}

// Refusals of the page, the scene and the three.js files alike.
TEST_F(ServeTest, RefusedRequestsAnswerAnErrorAndChangeNothing) {
  struct Case {
    const char* what;
    std::string path;
    httplib::Headers headers; // besides Host, which the client sets
    std::string body;         // POSTed; empty: GET
    int status;
  };
  const httplib::Headers token = Authorized();
  const httplib::Headers foreign = {{"X-Korvrc-Token", kToken}, {"Origin", "http://evil.example"}};
  const std::string longLine(2000, 'x');
  const std::vector<Case> cases = {
      {"no token", "/api/state", {}, "", 401},
      {"a wrong token", "/api/state", {{"X-Korvrc-Token", "0123456789abcdeF"}}, "", 401},
      {"a token cut short", "/api/state", {{"X-Korvrc-Token", "0123456789abcde"}}, "", 401},
      {"a cookie with a wrong token", "/api/state", {{"Cookie", "korvrc_token=nope"}}, "", 401},
      {"a foreign origin", "/api/state", foreign, "", 403},
      {"an action from a foreign origin",
       "/api/action",
       {{"X-Korvrc-Token", kToken}, {"Origin", "http://127.0.0.1:1"}},
       R"({"line": "start btnCreateView"})",
       403},
      {"a body beyond the bound", "/api/action", token, "{\"line\": \"" + longLine + "\"}", 413},
      {"a body that is not JSON", "/api/action", token, "start btnCreateView", 400},
      {"a line that is not text", "/api/action", token, R"({"line": 3})", 400},
      {"two lines in one", "/api/action", token, R"({"line": "start btnCreateView\nundo"})", 400},
      // Every line the driver refuses is answered alike; play's test names the reasons.
      {"an unknown verb", "/api/action", token, R"({"line": "launch btnCreateView"})", 422},
      {"scene versions without a token", "/api/scene", {}, "", 401},
      {"the scene for a foreign origin", "/api/scene.glb", foreign, "", 403},
      {"an element that does not exist", "/api/scene.glb?element=view:Nowhere", token, "", 404},
      {"a window, which has no place in space", "/api/scene.glb?element=window:FrontWin", token, "",
       404},
      {"one known and one unknown", "/api/scene.glb?element=view:Front&element=view:Nowhere", token,
       "", 404},
      {"three.js without a token", "/three/three.module.js", {}, "", 401},
      {"a file beside three.js", "/three/../package.json", token, "", 404},
  };
  // What the page is shown, without the count of states written.
  const auto shown = [](nlohmann::json iState) {
    iState.erase("stateVersion");
    return iState.dump();
  };
  std::string before;
  Exchange("", [&](httplib::Client& ioClient) {
    before = shown(State(ioClient));
    for (const Case& test : cases) {
      httplib::Result result =
          test.body.empty() ? ioClient.Get(test.path, test.headers)
                            : ioClient.Post(test.path, test.headers, test.body, "application/json");
      EXPECT_EQ(Status(result), test.status) << test.what;
    }
    // A page of another site that resolves its own name to 127.0.0.1 sends
    // its own name as Host.
    httplib::Headers foreignHost = token;
    foreignHost.emplace("Host", "attacker.example:" + std::to_string(port));
    EXPECT_EQ(Status(ioClient.Get("/api/state", foreignHost)), 403) << "a foreign host";
  });
  ASSERT_FALSE(before.empty()) << "the state could not be read with the token";
  EXPECT_EQ(shown(nlohmann::json::parse(finalState)), before);
}

TEST_F(ServeTest, TheTokenIsAcceptedInTheAddressTheHeaderOrTheCookie) {
  const std::string cookie = std::string("korvrc_token=") + kToken;
  Exchange("", [&](httplib::Client& ioClient) {
    httplib::Result page = ioClient.Get(std::string("/?token=") + kToken);
    EXPECT_EQ(Status(page), 200);
    const std::string setCookie = page ? page->get_header_value("Set-Cookie") : "";
    EXPECT_NE(setCookie.find(cookie), std::string::npos) << setCookie;
    EXPECT_EQ(Status(ioClient.Get("/api/state", Authorized())), 200);
    EXPECT_EQ(Status(ioClient.Get("/api/state", {{"Cookie", "a=b; " + cookie}})), 200);
  });
}

TEST_F(ServeTest, TheStateLeavesOutTheTreeAndDialogsThePageHoldsWhileTheyAreCurrent) {
  const auto held = [](const nlohmann::json& iState) {
    return "?tree=" + iState["treeVersion"].dump() + "&dialogs=" + iState["dialogsVersion"].dump();
  };
  nlohmann::json full, unchanged, opened, selected, stale;
  std::map<std::string, nlohmann::json> asked;
  Exchange("", [&](httplib::Client& ioClient) {
    full = State(ioClient);
    unchanged = State(ioClient, held(full));
    for (const char* query : {"?tree=x&dialogs=", "?tree=1e2&dialogs=-1", "?tree=99&dialogs=99"})
      asked[query] = State(ioClient, query);
    EXPECT_EQ(Act(ioClient, "start btnCreateView"), 200);
    opened = State(ioClient, held(full));
    EXPECT_EQ(Act(ioClient, "select view:Front"), 200);
    selected = State(ioClient, held(opened));
    // A page that missed the dialog still holds the older dialogs.
    stale = State(ioClient, held(full));
  });
  ASSERT_TRUE(full.contains("tree") && full.contains("dialogs")) << full;
  EXPECT_FALSE(unchanged.contains("tree") || unchanged.contains("dialogs")) << unchanged;
  EXPECT_EQ(unchanged["treeVersion"], full["treeVersion"]);
  for (const auto& [query, state] : asked)
    EXPECT_TRUE(state.contains("tree") && state.contains("dialogs")) << query;
  // Opening a dialog changes the dialogs, not the tree.
  EXPECT_FALSE(opened.contains("tree"));
  ASSERT_EQ(opened.value("dialogs", nlohmann::json()).size(), 1u) << opened;
  EXPECT_EQ(opened["dialogs"][0]["name"], "KORVrcViewDlg");
  EXPECT_NE(opened["dialogsVersion"], full["dialogsVersion"]);
  // The page draws a spinner with its unit from the state alone.
  const nlohmann::json* corner = FindWidget(opened["dialogs"][0], "ulXSpinEdit");
  ASSERT_NE(corner, nullptr);
  EXPECT_EQ(corner->value("unit", ""), "mm");
  // Selecting sent the whole tree again (200 KB on 512 displays): it now
  // changes the selection's paths only.
  EXPECT_FALSE(selected.contains("dialogs") || selected.contains("tree")) << selected;
  EXPECT_EQ(selected["treeVersion"], full["treeVersion"]);
  EXPECT_EQ(SelectedElements(full["tree"], full["selection"]), std::set<std::string>{});
  EXPECT_EQ(SelectedElements(full["tree"], selected["selection"]),
            std::set<std::string>{"view:Front"});
  EXPECT_FALSE(stale.contains("tree"));
  EXPECT_EQ(stale["dialogs"], opened["dialogs"]);
}

TEST_F(ServeTest, SaveWritesTheDocumentOnlyWhereTheUserSaid) {
  int refused = 0, saved = 0;
  Exchange("", [&](httplib::Client& ioClient) { refused = Save(ioClient); });
  EXPECT_EQ(refused, 409);

  TemporaryFolder scratch;
  ASSERT_FALSE(scratch.path.empty());
  const std::string path = (scratch.path / "saved.korvrc").string();
  Exchange(path, [&](httplib::Client& ioClient) { saved = Save(ioClient); });
  EXPECT_EQ(saved, 200);
  std::string where, error;
  EXPECT_TRUE(KORVrcOpenInput(path, where, error)) << error;
}

TEST_F(ServeTest, EachActionPushesTheStateLeavingOutWhatTheStreamSentAlready) {
  const std::string tag = "event: state\ndata: ";
  std::string events;
  std::vector<nlohmann::json> states;
  std::mutex received;
  std::condition_variable stateCame;
  Exchange("", [&](httplib::Client& ioClient) {
    std::thread listener = FollowEvents(
        [&](const std::string& iData) {
          std::lock_guard<std::mutex> lock(received);
          events += iData;
          for (std::size_t at; (at = events.find("\n\n")) != std::string::npos;) {
            const std::string record = events.substr(0, at);
            events.erase(0, at + 2);
            if (record.rfind(tag, 0) == 0)
              states.push_back(nlohmann::json::parse(record.substr(tag.size()), nullptr, false));
          }
          stateCame.notify_all();
          return states.size() < 3;
        },
        5);
    // The stream sends the newest state when it wakes: each action waits for
    // its own state, or a slow stream would rightly skip to the last one.
    const std::vector<std::string> lines{"start btnCreateView", "close", "select view:Front"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(Act(ioClient, lines[i]), 200) << lines[i];
      std::unique_lock<std::mutex> lock(received);
      stateCame.wait_for(lock, std::chrono::seconds(5), [&] { return states.size() > i; });
    }
    listener.join();
  });
  ASSERT_EQ(states.size(), 3u) << events;
  // The stream's first state is whole; then the dialogs come when they
  // change, and a selection comes without the tree.
  ASSERT_TRUE(states[0].contains("tree"));
  ASSERT_EQ(states[0].value("dialogs", nlohmann::json()).size(), 1u) << states[0];
  EXPECT_FALSE(states[1].contains("tree"));
  EXPECT_EQ(states[1].value("dialogs", nlohmann::json(nullptr)), nlohmann::json::array());
  EXPECT_FALSE(states[2].contains("tree") || states[2].contains("dialogs")) << states[2];
  EXPECT_EQ(SelectedElements(states[0]["tree"], states[2]["selection"]),
            std::set<std::string>{"view:Front"});
  EXPECT_TRUE(states[0]["stateVersion"] < states[1]["stateVersion"] &&
              states[1]["stateVersion"] < states[2]["stateVersion"]);
}

// The JSON chunk of a binary glTF file, or null when the bytes are not one.
nlohmann::json GlbJSON(const std::string& iGlb) {
  std::uint32_t header[5] = {};
  if (iGlb.size() < sizeof header)
    return {};
  std::memcpy(header, iGlb.data(), sizeof header);
  if (header[0] != 0x46546C67u || header[4] != 0x4E4F534Au || 20 + header[3] > iGlb.size())
    return {};
  return nlohmann::json::parse(iGlb.substr(20, header[3]), nullptr, false);
}

// The pieces of a scene file: its root node's children.
nlohmann::json Pieces(const nlohmann::json& iGltf) {
  const nlohmann::json& root = iGltf["nodes"][iGltf["scenes"][0]["nodes"][0].get<int>()];
  return root.value("children", nlohmann::json::array());
}

// The names of a scene file's pieces, in order.
std::vector<std::string> PieceNames(const nlohmann::json& iGltf) {
  std::vector<std::string> names;
  for (const nlohmann::json& child : Pieces(iGltf))
    names.push_back(iGltf["nodes"][child.get<int>()].value("name", ""));
  return names;
}

using Box = std::array<double, 6>; // glTF min x y z, max x y z

// The box around every mesh under the piece named iName.
Box PieceBox(const nlohmann::json& iGltf, const std::string& iName) {
  Box box = {1e9, 1e9, 1e9, -1e9, -1e9, -1e9};
  std::function<void(int)> gather = [&](int iNode) {
    const nlohmann::json& node = iGltf["nodes"][iNode];
    if (node.contains("mesh"))
      for (const nlohmann::json& primitive :
           iGltf["meshes"][node["mesh"].get<int>()]["primitives"]) {
        const nlohmann::json& accessor =
            iGltf["accessors"][primitive["attributes"]["POSITION"].get<int>()];
        for (int axis = 0; axis < 3; ++axis) {
          box[axis] = std::min(box[axis], accessor["min"][axis].get<double>());
          box[3 + axis] = std::max(box[3 + axis], accessor["max"][axis].get<double>());
        }
      }
    for (const nlohmann::json& child : node.value("children", nlohmann::json::array()))
      gather(child.get<int>());
  };
  for (const nlohmann::json& child : Pieces(iGltf))
    if (iGltf["nodes"][child.get<int>()].value("name", "") == iName)
      gather(child.get<int>());
  return box;
}

class SceneTest : public ServeTest {
protected:
  nlohmann::json Glb(httplib::Client& ioClient, const std::string& iQuery = "") {
    httplib::Result result = ioClient.Get("/api/scene.glb" + iQuery, Authorized());
    return result && result->status == 200 ? GlbJSON(result->body) : nlohmann::json();
  }
  // Each piece's version by name.
  std::map<std::string, std::uint64_t> Versions(httplib::Client& ioClient) {
    std::map<std::string, std::uint64_t> versions;
    const nlohmann::json scene = GetJSON(ioClient, "/api/scene");
    for (const nlohmann::json& element : scene.value("elements", nlohmann::json::array()))
      versions[element["name"].get<std::string>()] = element["version"].get<std::uint64_t>();
    return versions;
  }
};

TEST_F(SceneTest, ThreeIsServedFromTheInstalledPackage) {
  Exchange("", [&](httplib::Client& ioClient) {
    httplib::Result result = ioClient.Get("/three/three.module.js", Authorized());
    ASSERT_EQ(Status(result), 200);
    EXPECT_NE(result->body.find("from './three.core.js'"), std::string::npos);
  });
}

TEST_F(SceneTest, AnswersAreSentUncompressedWhateverTheBrowserOffers) {
  // The library compressed the scene list (a fifth of a second each) and
  // three.js (seconds) at its slowest setting.
  Exchange("", [&](httplib::Client& ioClient) {
    ioClient.set_decompress(false);
    httplib::Headers headers = Authorized();
    headers.emplace("Accept-Encoding", "gzip, deflate, br");
    for (const char* path : {"/api/state", "/api/scene", "/api/schematic.svg", "/app.js",
                             "/three/three.core.js", "/three/addons/loaders/GLTFLoader.js"}) {
      httplib::Result result = ioClient.Get(path, headers);
      EXPECT_EQ(Status(result), 200) << path;
      EXPECT_EQ(result ? result->get_header_value("Content-Encoding") : "", "") << path;
    }
  });
}

TEST_F(SceneTest, EachDrawnElementIsOnePieceNamedAsJournalsNameIt) {
  nlohmann::json gltf, scene;
  Exchange("", [&](httplib::Client& ioClient) {
    gltf = Glb(ioClient);
    scene = GetJSON(ioClient, "/api/scene");
  });
  ASSERT_TRUE(gltf.is_object());
  // The configuration and its groups draw nothing of their own; windows and
  // button devices have no place in space.
  const std::vector<std::string> expected = {
      "head:Head",         "view:Front",        "view:Left",       "view:Right", "view:Floor",
      "tracker:Tracker/1", "tracker:Tracker/2", "station:Tracker", "hand:Hand"};
  EXPECT_EQ(PieceNames(gltf), expected);
  std::vector<std::string> listed, draggable;
  for (const nlohmann::json& element : scene["elements"]) {
    listed.push_back(element["name"]);
    if (element["draggable"] == true)
      draggable.push_back(element["name"]);
  }
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(draggable, (std::vector<std::string>{"view:Front", "view:Left", "view:Right",
                                                 "view:Floor", "tracker:Tracker/1",
                                                 "tracker:Tracker/2", "station:Tracker"}));
  EXPECT_EQ(scene["commandRunning"], false);
  // The station's piece is its own cube and axes about its origin (z = -750,
  // glTF y = -0.75), without the trackers it gathers, which have pieces of
  // their own elsewhere.
  const Box station = PieceBox(gltf, "station:Tracker");
  const Box centre = {0, -0.75, 0, 0, -0.75, 0};
  for (int axis = 0; axis < 6; ++axis)
    EXPECT_NEAR(station[axis], centre[axis], 0.32) << "coordinate " << axis;
  for (const std::string& name : expected)
    EXPECT_LT(PieceBox(gltf, name)[0], 1e9) << name << " draws nothing";
}

TEST_F(SceneTest, AfterAnActionOnlyThePiecesWhoseDrawingChangedHaveANewVersion) {
  std::map<std::string, std::uint64_t> opened, dragged, created, undone;
  nlohmann::json before, after, chosen;
  Exchange("", [&](httplib::Client& ioClient) {
    opened = Versions(ioClient);
    before = Glb(ioClient, "?element=tracker:Tracker/1");
    Perform(ioClient, {"drag tracker:Tracker/1 by 100 0 0"});
    dragged = Versions(ioClient);
    after = Glb(ioClient, "?element=tracker:Tracker/1");
    chosen = Glb(ioClient, "?element=view:Front&element=tracker:Tracker/1");
    Perform(ioClient, {"start btnCreateView", "set NameEditor Side", "press OK"});
    created = Versions(ioClient);
    Perform(ioClient, {"undo"});
    undone = Versions(ioClient);
  });
  ASSERT_EQ(opened.size(), 9u);

  // The station is built again around its moved tracker but draws the same.
  auto changed = [](const std::map<std::string, std::uint64_t>& iFrom,
                    const std::map<std::string, std::uint64_t>& iTo) {
    std::vector<std::string> names;
    for (const auto& [name, version] : iTo)
      if (!iFrom.count(name) || iFrom.at(name) != version)
        names.push_back(name);
    return names;
  };
  EXPECT_EQ(changed(opened, dragged), std::vector<std::string>{"tracker:Tracker/1"});
  EXPECT_EQ(changed(dragged, created), std::vector<std::string>{"view:Side"});
  EXPECT_EQ(created.size(), 10u);
  EXPECT_TRUE(changed(undone, dragged).empty());
  EXPECT_EQ(undone.size(), 9u);

  // 100 mm along the model's x axis is 0.1 along glTF's.
  const Box from = PieceBox(before, "tracker:Tracker/1"), to = PieceBox(after, "tracker:Tracker/1");
  for (int axis = 0; axis < 6; ++axis)
    EXPECT_NEAR(to[axis] - from[axis], axis % 3 == 0 ? 0.1 : 0.0, 1e-4) << "coordinate " << axis;
  EXPECT_EQ(PieceNames(chosen), (std::vector<std::string>{"view:Front", "tracker:Tracker/1"}));
}

TEST(ExportFolderTest, OnlyPathsInsideAnOpenFolderAreAccepted) {
  TemporaryFolder scratch;
  ASSERT_FALSE(scratch.path.empty());
  const fs::path folder = scratch.path / "export";
  fs::create_directories(folder / "inner");
  fs::create_directories(scratch.path / "beside");
  fs::create_directory_symlink(scratch.path / "beside", folder / "out-link");
  fs::create_directory_symlink(folder / "inner", folder / "in-link");
  KORVrcExportFolder exportFolder;
  std::string error;
  ASSERT_EQ(exportFolder.Open(folder.string(), error), S_OK) << error;
  struct Case {
    std::string path;
    std::string resolved; // empty: refused
  };
  const std::string inside = folder.string();
  const std::vector<Case> cases = {
      {"inner", inside + "/inner"},
      {"new/deeper", inside + "/new/deeper"},
      {".", inside},
      {inside + "/inner/../inner", inside + "/inner"},
      {inside + "/", inside},
      {"in-link", inside + "/inner"},
      {"../beside", ""},
      {"/etc", ""},
      {scratch.path.string() + "/export-sibling", ""}, // shares the folder's name as a prefix
      {"out-link", ""},
      {"out-link/deeper", ""},
      {"$KORVRC_EXPORT_TEST_UNSET/x", ""},
  };
  for (const Case& test : cases) {
    std::string resolved;
    error.clear();
    const HRESULT result = exportFolder.Resolve(test.path, resolved, error);
    EXPECT_EQ(SUCCEEDED(result), !test.resolved.empty()) << test.path << ": " << error;
    EXPECT_EQ(resolved, test.resolved) << test.path;
    if (FAILED(result)) {
      EXPECT_FALSE(error.empty()) << test.path;
    }
  }
  // Without a folder, nothing is accepted.
  KORVrcExportFolder none;
  std::string resolved;
  error.clear();
  EXPECT_FALSE(SUCCEEDED(none.Resolve("/tmp", resolved, error)));
  EXPECT_NE(error.find("no export folder"), std::string::npos) << error;
}

TEST_F(ServeTest, TheExportDialogWritesOnlyIntoTheExportFolder) {
  TemporaryFolder scratch;
  ASSERT_FALSE(scratch.path.empty());
  const fs::path folder = scratch.path / "export";
  fs::create_directories(scratch.path / "beside");
  std::string error;
  ASSERT_EQ(exportFolder.Open(folder.string(), error), S_OK) << error;
  fs::create_directory_symlink(scratch.path / "beside", folder / "link");
  fs::create_directory(folder / "sub");
  const std::string outside = (scratch.path / "beside").string();
  Exchange("", [&](httplib::Client& ioClient) {
    Perform(ioClient, {"start btnGenerateXMLFile", "push BrowseBtn"});
    for (const std::string& line : {"file \"" + outside + "\"", std::string("file link")})
      EXPECT_EQ(Act(ioClient, line), 422) << line;
    Perform(ioClient, {"answer cancel"});
    EXPECT_EQ(Act(ioClient, "set DirectoryEdt ../beside"), 422);
    Perform(ioClient, {"push BrowseBtn", "file sub", "set AddConfigChk off", "press OK"});
  });
  EXPECT_TRUE(fs::is_empty(scratch.path / "beside"));
  EXPECT_TRUE(fs::exists(folder / "sub" / "FourWallRoom.xml")) << finalState;
}

TEST_F(ServeTest, AnExportDialogPointedOutsideIsRefusedAtOK) {
  // Without a folder, nothing may be exported from the page at all.
  Exchange("", [&](httplib::Client& ioClient) {
    Perform(ioClient, {"start btnGenerateXMLFile"});
    EXPECT_EQ(Act(ioClient, "press OK"), 422);
  });
  EXPECT_NE(finalState.find("KORVrcGenerateXMLFileDlg"), std::string::npos)
      << "the dialog stays open";
}

TEST_F(ServeTest, TheStateTellsWhetherChangesAreUnsaved) {
  TemporaryFolder scratch;
  ASSERT_FALSE(scratch.path.empty());
  const std::string path = (scratch.path / "saved.korvrc").string();
  std::vector<bool> unsaved;
  const auto note = [&](httplib::Client& ioClient) {
    unsaved.push_back(State(ioClient).value("unsaved", true));
  };
  Exchange(path, [&](httplib::Client& ioClient) {
    note(ioClient); // opened
    Perform(ioClient, {"start btnCreateView", "set NameEditor Side", "press OK"});
    note(ioClient); // changed
    Perform(ioClient, {"undo"});
    note(ioClient); // back where it was opened
    Perform(ioClient, {"redo"});
    EXPECT_EQ(Save(ioClient), 200);
    note(ioClient); // saved
    Perform(ioClient, {"undo", "start btnCreateView", "set NameEditor Top", "press OK"});
    note(ioClient); // the saved state is out of reach
    Perform(ioClient, {"undo"});
    note(ioClient); // same length of history, other state
  });
  EXPECT_EQ(unsaved, (std::vector<bool>{false, true, false, false, true, true}));
}

} // namespace
