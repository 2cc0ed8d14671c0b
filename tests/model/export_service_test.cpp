// Which targets of an export exist already: the answer comes without
// generating a file while none of the files an export could write is there.
#include "../host/system/KORSystemTestSupport.h"
#include "ExportFixture.h"
#include "KORVrcTrace.h"
#include "interfaces/KORIVrcExportService.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class ExportServiceTest : public ExportTest {
protected:
  void SetUp() override {
    ExportTest::SetUp();
    service = KORQuery<KORIVrcExportService>(config);
    ASSERT_TRUE(service);
    build.Screen("Front", {3000, 1500, 2000}, {3000, 1500, -1000}, {3000, -1500, -1000});
    auto ig = build.IG("localhost:0.0");
    build.MainWindow(build.Window(ig, "Main", {0, 0, 1, 1}, "Front").get());
    // A name that is cleaned up for its daemon file.
    build.Station("Head Station", KORVrcStationIS900, "Isense", 2, 115200);
  }

  KORIVrcExportService_var service;
  KORTemporaryDirectory folder;
  const fs::path directory{folder.Path()};
};

TEST_F(ExportServiceTest, TheFilesAreGeneratedOnlyWhenATargetMayExist) {
  struct Case {
    const char* present; // a file made in the folder first, or nullptr
    bool loose;
    bool generated; // whether the export's files had to be generated
    bool found;     // whether the present file is reported
  };
  const Case cases[] = {
      {nullptr, true, false, false},
      {"Cfg.xml", false, true, true},
      {"Cfg.mpk", true, true, true},
      {"Cfg.Head_Station.tracking", true, true, true},
      // Loose files are no targets of an export that writes the document only.
      {"Cfg.Head_Station.tracking", false, false, false},
      {"Other.xml", true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.present ? c.present : "nothing") + (c.loose ? ", loose" : ""));
    fs::remove_all(directory);
    fs::create_directories(directory);
    if (c.present)
      std::ofstream(directory / c.present) << "before";
    KORVrcExportRequest request;
    request.directory = directory.string();
    request.name = "Cfg";
    request.loose = c.loose;
    KORListValKORUnicodeString existing;
    KORUnicodeString failure;
    KORTraceCapture capture({KORVrcModelTraceName});
    ASSERT_EQ(service->FindExistingTargets(request, existing, failure), S_OK) << failure;
    const auto lines = capture.Lines();
    const bool generated = std::any_of(lines.begin(), lines.end(), [](const KORString& iLine) {
      return iLine.find("Entering KOREVrcXML::CreateXMLConfigFile") != KORString::npos;
    });
    EXPECT_EQ(generated, c.generated);
    ASSERT_EQ(existing.Size(), c.found ? 1 : 0);
    if (c.found) {
      EXPECT_EQ(existing[1], (directory / c.present).string());
    }
  }
}
