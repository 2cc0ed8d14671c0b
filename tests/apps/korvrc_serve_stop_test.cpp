// `korvrc serve` stopped from the terminal: Ctrl-C with changes not saved
// warns and keeps serving, a second one stops without saving; without
// changes one is enough.
#include "KorvrcTestSupport.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <regex>
#include <thread>

namespace {

class KorvrcServeStopTest : public KorvrcTest {
protected:
  void SetUp() override {
    KorvrcTest::SetUp();
    ASSERT_EQ(Run(std::string("import ") + KORVRC_EXAMPLE_FILE + " -o room.kordoc").status, 0);
  }

  // Waits (up to a minute, the machine may be busy) until the log holds iText.
  bool WaitForOutput(const std::string& iText) const {
    return WaitFor([&] { return ReadFile(folder / "serve.out").find(iText) != std::string::npos; });
  }

  // Creates a view through the page's interface of the server started.
  void ChangeTheDocument() const {
    std::smatch address;
    const std::string printed = ReadFile(folder / "serve.out");
    ASSERT_TRUE(std::regex_search(printed, address,
                                  std::regex(R"(127\.0\.0\.1:(\d+)/\?token=([0-9a-f]+))")))
        << printed;
    httplib::Client client("127.0.0.1", std::stoi(address[1]));
    const httplib::Headers headers = {{"X-Korvrc-Token", address[2]}};
    for (const char* line : {"start btnCreateView", "set NameEditor Side", "press OK"}) {
      const httplib::Result result = client.Post(
          "/api/action", headers, nlohmann::json{{"line", line}}.dump(), "application/json");
      ASSERT_TRUE(result && result->status == 200) << line;
    }
  }
};

TEST_F(KorvrcServeStopTest, CtrlCWithUnsavedChangesWarnsAndASecondStopsWithoutSaving) {
  const std::string saved = ReadFile(folder / "room.kordoc");
  const pid_t serve = Start("serve room.kordoc", "serve");
  ASSERT_TRUE(WaitForOutput("stop with Ctrl-C")) << ReadFile(folder / "serve.err");
  ChangeTheDocument();
  ::kill(serve, SIGINT);
  ASSERT_TRUE(WaitForOutput("unsaved changes"));
  // Still serving: the warning is not a stop.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(ReadFile(folder / "serve.out").find("stopped"), std::string::npos);
  ::kill(serve, SIGINT);
  EXPECT_EQ(Wait(serve), 0) << ReadFile(folder / "serve.err");
  EXPECT_NE(ReadFile(folder / "serve.out").find("stopped; the changes not saved are lost"),
            std::string::npos);
  EXPECT_EQ(ReadFile(folder / "room.kordoc"), saved);
}

TEST_F(KorvrcServeStopTest, OneCtrlCStopsWhenNothingIsUnsaved) {
  const pid_t serve = Start("serve room.kordoc --export-dir exports", "serve");
  ASSERT_TRUE(WaitForOutput("stop with Ctrl-C")) << ReadFile(folder / "serve.err");
  EXPECT_NE(ReadFile(folder / "serve.out")
                .find("exports into " + fs::canonical(folder).string() + "/exports"),
            std::string::npos);
  ::kill(serve, SIGINT);
  EXPECT_EQ(Wait(serve), 0) << ReadFile(folder / "serve.err");
  EXPECT_NE(ReadFile(folder / "serve.out").find("korvrc: stopped\n"), std::string::npos);
}
} // namespace
