// The XML configuration document: its tree, attribute order and values, the
// embedded files and messages, and that exporting leaves the model alone.
// With KOR_XML_OUT set, every document is also written there so that a later
// test validates it against the document type.
#include "../host/featurestore/StoreChecks.h"
#include "ExportFixture.h"
#include "featurestore/KORIUuid.h"
#include "interfaces/KORIVrcXML.h"
#include "system/KORResource.h"

#include <pugixml.hpp>

#include <cstdio>
#include <memory>
#include <regex>

namespace {

struct Exported {
  HRESULT result = E_FAIL;
  std::string text;
  std::string messages;
};

// The names of a node's attributes, or of its child elements, in order.
std::string AttributeNames(pugi::xml_node iNode) {
  std::string names;
  for (pugi::xml_attribute attribute : iNode.attributes())
    names += (names.empty() ? "" : " ") + std::string(attribute.name());
  return names;
}
std::string ChildNames(pugi::xml_node iNode) {
  std::string names;
  for (pugi::xml_node child : iNode.children())
    if (child.type() == pugi::node_element)
      names += (names.empty() ? "" : " ") + std::string(child.name());
  return names;
}
std::string Attribute(pugi::xml_node iNode, const char* iName) {
  return iNode.attribute(iName).value();
}
// An element identifier: "ID" and four groups of 8 hexadecimal digits.
bool IsIdentifier(const std::string& iText) {
  static const std::regex identifier("ID[0-9a-fA-F]{8}(_[0-9a-fA-F]{8}){3}");
  return std::regex_match(iText, identifier);
}
// "Name=value ..." in attribute order, element identifiers shown as "id".
std::string Describe(pugi::xml_node iNode) {
  std::string text;
  for (pugi::xml_attribute attribute : iNode.attributes()) {
    const std::string value = attribute.value();
    text += (text.empty() ? "" : " ") + std::string(attribute.name()) + "=" +
            (IsIdentifier(value) ? "id" : value);
  }
  return text;
}

class ExportXmlTest : public ExportTest {
protected:
  Exported Export() {
    auto xml = KORQuery<KORIVrcXML>(Config());
    EXPECT_TRUE(xml);
    Exported exported;
    if (xml)
      exported.result = xml->CreateXMLConfigFile(exported.text, exported.messages);
    KeepForValidation(exported.text);
    return exported;
  }

  // Parses an exported text; a failure is reported with the text.
  static std::unique_ptr<pugi::xml_document> Parse(const std::string& iText) {
    auto document = std::make_unique<pugi::xml_document>();
    pugi::xml_parse_result parsed = document->load_string(iText.c_str());
    EXPECT_TRUE(parsed) << parsed.description() << "\n" << iText;
    return document;
  }

  // One image generator with a window on a screen view (main window) and a
  // window without viewport on a camera view; the head followed by tracker 1 of
  // a station that has a free tracker 2; a button device managing the hand.
  void BuildInstallation(const std::string& iIGName = "IG1") {
    KORIVrcIG_var ig = build.IG(iIGName);
    build.Screen("Wall", {3000, -1500, 2500}, {3000, -1500, 0}, {3000, 1500, 0});
    mainWindow = build.Window(ig, "Win1", {10, 20, 640, 480}, "Wall", KORVrcRenderingStereo,
                              KORVrcMirrorHorizontal);
    build.MainWindow(mainWindow);
    // A window needs a viewport; the factory still makes and hangs one without.
    EXPECT_EQ(factory->CreateVrcWindow("Win2", nullptr, ig, bareWindow.Out()), E_FAIL);
    ASSERT_TRUE(bareWindow);
    KORIVrcCameraView_var camera = build.Camera("Cam", 0.5, 0.1, 0.4, -0.05);
    build.Rendering("Win2", KORQuery<KORIVrcView>(camera).get(), bareWindow);

    KORIVrcHead_var head = Head();
    ASSERT_EQ(head->SetIPD(65), S_OK);
    ASSERT_EQ(head->SetType(KORVrcHeadVR6), S_OK);
    ASSERT_EQ(KORQuery<KORIVrcTrackedElement>(head)->SetLocation(
                  ConfigBuilder::Placement(100, -50, 1700, 30, 20, 10)),
              S_OK);
    KORIVrcTrackingStation_var station =
        build.Station("Station1", KORVrcStationIS900, "daemon1", 2, 115200,
                      ConfigBuilder::Placement(0, 0, 2000, 90, 0, 0));
    headTracker = build.Tracker(station, 1, "head");
    build.Tracker(station, 2, "", ConfigBuilder::Placement(5, 6, 7, -45, 15, 60));
    ASSERT_EQ(head->SetViewPointTracker(headTracker), S_OK);
    buttons = build.ButtonDevice("Buttons", KORVrcButtonMike, "buttond", 2, 9600);
    ASSERT_EQ(Hand()->SetButtonManager(buttons), S_OK);
  }

  KORIVrcWindow_var mainWindow, bareWindow;
  KORIVrcTracker_var headTracker;
  KORIVrcButtonDevice_var buttons;

private:
  void KeepForValidation(const std::string& iText) {
    const char* folder = std::getenv("KOR_XML_OUT");
    if (!folder || iText.empty())
      return;
    std::filesystem::create_directories(folder);
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ofstream(std::filesystem::path(folder) / (name + "-" + std::to_string(++_kept) + ".xml"))
        << iText;
  }
  int _kept = 0;
};

TEST_F(ExportXmlTest, ElementTreeFollowsTheConfigurationTree) {
  BuildInstallation();
  Exported exported = Export();
  EXPECT_EQ(exported.result, S_OK) << exported.messages;
  auto xml = Parse(exported.text);
  pugi::xml_node config = xml->child("Config");
  ASSERT_TRUE(config);
  EXPECT_EQ(ChildNames(*xml), "Config");
  EXPECT_EQ(ChildNames(config), "GraphicResources GraphicSpecs Devices MPK FSConfig")
      << exported.messages;

  pugi::xml_node resources = config.child("GraphicResources");
  EXPECT_EQ(ChildNames(resources), "IG");
  EXPECT_EQ(ChildNames(resources.child("IG")), "Window Window");
  EXPECT_EQ(ChildNames(resources.child("IG").child("Window")), "RenderingSpec");
  EXPECT_EQ(ChildNames(resources.child("IG").last_child()), "RenderingSpec");
  // Projection areas are walked through but make no element of their own.
  pugi::xml_node specs = config.child("GraphicSpecs");
  EXPECT_EQ(ChildNames(specs), "View View Head");
  EXPECT_EQ(ChildNames(specs.first_child()), "Screen");
  EXPECT_EQ(ChildNames(specs.first_child().next_sibling()), "Camera");
  pugi::xml_node devices = config.child("Devices");
  EXPECT_EQ(ChildNames(devices), "TrackingStation HandDevice ButtonDevice");
  EXPECT_EQ(ChildNames(devices.child("TrackingStation")), "ConfigFile Tracker Tracker");

  // Viewports, projection areas and renderings are seen only through others.
  for (const char* hidden : {"Viewport", "ProjectionArea", "Rendering", "Region"})
    EXPECT_FALSE(xml->find_node([&](pugi::xml_node iNode) {
      return std::string(iNode.name()) == hidden;
    })) << hidden;

  // The embedded files are character data.
  for (pugi::xml_node file : {config.child("MPK"), config.child("FSConfig")})
    EXPECT_EQ(file.first_child().type(), pugi::node_cdata) << file.name();

  KORUnicodeString dtd;
  ASSERT_EQ(KORGetImagePathName("VrConfig.dtd", dtd), S_OK);
  EXPECT_NE(exported.text.find("<!DOCTYPE Config SYSTEM \"" + dtd + "\">"), std::string::npos);
  EXPECT_NE(exported.text.find("encoding=\"UTF-8\""), std::string::npos);
}

TEST_F(ExportXmlTest, AttributesComeInOrderWithTheirValues) {
  BuildInstallation();
  auto xml = Parse(Export().text);
  pugi::xml_node config = xml->child("Config");
  pugi::xml_node resources = config.child("GraphicResources");
  pugi::xml_node win1 = resources.child("IG").first_child(), win2 = win1.next_sibling();
  pugi::xml_node wall = config.child("GraphicSpecs").first_child(), cam = wall.next_sibling();
  pugi::xml_node head = config.child("GraphicSpecs").child("Head");
  pugi::xml_node station = config.child("Devices").child("TrackingStation");
  pugi::xml_node tracker1 = station.child("Tracker"), tracker2 = station.last_child();
  pugi::xml_node hand = config.child("Devices").child("HandDevice");
  pugi::xml_node button = config.child("Devices").child("ButtonDevice");

  EXPECT_EQ(Describe(config), "ConfigID=" + Attribute(config, "ConfigID"));
  EXPECT_EQ(Describe(resources), "MainWindow=id");
  EXPECT_EQ(Describe(resources.child("IG")), "Name=IG1");
  // The viewport (left 10, top 20, width 640, height 480) in its own order.
  EXPECT_EQ(Describe(win1), "Name=Win1 WindowID=id View=id Left=10 Right=20 Top=640 Bottom=480");
  EXPECT_EQ(Describe(win1.child("RenderingSpec")), "Rendering=3 Mirror=0");
  EXPECT_EQ(Describe(win2), "Name=Win2 WindowID=id View=id Left=0 Right=0 Top=0 Bottom=0");
  EXPECT_EQ(Describe(win2.child("RenderingSpec")), "Rendering=0 Mirror=3");
  EXPECT_EQ(Describe(wall), "Name=Wall ViewID=id");
  EXPECT_EQ(Describe(wall.child("Screen")),
            "ULX=3000 ULY=-1500 ULZ=2500 LLX=3000 LLY=-1500 LLZ=0 LRX=3000 LRY=1500 LRZ=0");
  // The frustum: tan(0.1) -+ tan(0.25) and tan(-0.05) +- tan(0.2), six digits.
  EXPECT_EQ(Describe(cam.child("Camera")), "HFOV=0.5 HSHIFT=0.1 VFOV=0.4 VSHIFT=-0.05 "
                                           "LEFT=-0.155007 RIGHT=0.355677 TOP=0.152668 "
                                           "BOTTOM=-0.252752");
  EXPECT_EQ(Describe(head), "HeadID=id Tracker=id IPD=65 X=100 Y=-50 Z=1700 H=30 P=20 R=10 Type=3");
  EXPECT_EQ(Describe(station),
            "Name=Station1 DaemonName=daemon1 X=0 Y=0 Z=2000 H=90 P=0 R=0 Type=1 Port=2");
  EXPECT_EQ(AttributeNames(tracker1), "TrackerID TrackedElement Name X Y Z H P R");
  EXPECT_EQ(Attribute(tracker1, "Name"), "1");
  EXPECT_EQ(Describe(tracker2), "TrackerID=id Name=2 X=5 Y=6 Z=7 H=-45 P=15 R=60");
  EXPECT_EQ(AttributeNames(hand), "HandID ButtonManager X Y Z H P R Type");
  EXPECT_EQ(Describe(button),
            "ButtonDeviceID=id Name=Buttons DaemonName=buttond Type=1 Port=COM2 Speed=9600");

  // References carry the identifier of the element they name.
  EXPECT_EQ(Attribute(resources, "MainWindow"), Attribute(win1, "WindowID"));
  EXPECT_EQ(Attribute(win1, "View"), Attribute(wall, "ViewID"));
  EXPECT_EQ(Attribute(win2, "View"), Attribute(cam, "ViewID"));
  EXPECT_EQ(Attribute(head, "Tracker"), Attribute(tracker1, "TrackerID"));
  EXPECT_EQ(Attribute(tracker1, "TrackedElement"), Attribute(head, "HeadID"));
  EXPECT_EQ(Attribute(hand, "ButtonManager"), Attribute(button, "ButtonDeviceID"));
}

TEST_F(ExportXmlTest, IdentifiersArePaddedAndTheConfigIdIsRaw) {
  BuildInstallation();
  auto xml = Parse(Export().text);
  int identifiers = 0;
  for (pugi::xpath_node found : xml->select_nodes("//@*[contains(name(), 'ID') and "
                                                  "name() != 'ConfigID']")) {
    const std::string value = found.attribute().value();
    EXPECT_EQ(value.size(), 37u) << found.attribute().name();
    EXPECT_TRUE(IsIdentifier(value)) << value;
    ++identifiers;
  }
  // Two windows, two views, head, two trackers, hand, button device.
  EXPECT_EQ(identifiers, 9);

  KORUuid uuid;
  ASSERT_EQ(KORQuery<KORIUuid>(mainWindow)->GetUuid(uuid), S_OK);
  char expected[40];
  std::snprintf(expected, sizeof expected, "ID%08x_%08x_%08x_%08x", uuid.words[0], uuid.words[1],
                uuid.words[2], uuid.words[3]);
  pugi::xml_node config = xml->child("Config");
  EXPECT_EQ(Attribute(config.child("GraphicResources"), "MainWindow"), expected);

  KORUuid configId;
  ASSERT_EQ(Config()->GetID(configId), S_OK);
  EXPECT_EQ(Attribute(config, "ConfigID"), configId.ToText());
}

TEST_F(ExportXmlTest, DistantImageGeneratorLeavesOutTheMultipipeFile) {
  BuildInstallation("visu2:0.1");
  Exported exported = Export();
  EXPECT_EQ(exported.result, S_OK) << exported.messages;
  EXPECT_NE(exported.messages.find(Message("Warning", "DistantIGs")), std::string::npos)
      << exported.messages;
  EXPECT_EQ(exported.messages.find(Message("Error")), std::string::npos) << exported.messages;
  auto xml = Parse(exported.text);
  EXPECT_FALSE(xml->child("Config").child("MPK"));
  EXPECT_TRUE(xml->child("Config").child("GraphicResources"));
}

TEST_F(ExportXmlTest, NoMainWindowFailsButStillGivesTheDocument) {
  KORIVrcIG_var ig = build.IG("IG1");
  build.Screen("Wall", {3000, -1500, 2500}, {3000, -1500, 0}, {3000, 1500, 0});
  build.Window(ig, "Win1", {0, 0, 1280, 1024}, "Wall");
  build.Station("Station1", KORVrcStationIS900, "daemon1");
  Exported exported = Export();
  EXPECT_EQ(exported.result, E_FAIL);
  EXPECT_NE(exported.messages.find(Message("Error", "NoMainWindow")), std::string::npos)
      << exported.messages;
  auto xml = Parse(exported.text);
  pugi::xml_node config = xml->child("Config");
  EXPECT_EQ(ChildNames(config), "GraphicResources GraphicSpecs Devices");
  // The station's file is there whatever its generator made of it.
  EXPECT_TRUE(config.child("Devices").child("TrackingStation").child("ConfigFile"));
}

TEST_F(ExportXmlTest, ExportReadsTheModelOnly) {
  BuildInstallation();
  // The configuration identifier is made on first demand: make it before.
  KORUuid id;
  ASSERT_EQ(Config()->GetID(id), S_OK);
  const auto featuresBefore = StoreMirror::Of(*Store());
  const std::string savedBefore = SavedBytes(*document);
  ASSERT_FALSE(savedBefore.empty());
  TakeHeard();

  Exported first = Export();
  EXPECT_EQ(StoreMirror::Of(*Store()), featuresBefore);
  EXPECT_EQ(SavedBytes(*document), savedBefore);
  EXPECT_TRUE(TakeHeard().empty());

  Exported second = Export();
  EXPECT_EQ(second.result, first.result);
  EXPECT_EQ(second.text, first.text);
  EXPECT_EQ(second.messages, first.messages);
}

} // namespace
