// The module's workbench as the host sees it: the factory, the thirteen
// headers and their availability, the toolbar, the command set and the
// transition.
#include "CommandFixture.h"
#include "command/KORCommandSet.h"
#include "command/KORPrdPersistency.h"
#include "command/KORWorkshop.h"
#include "interfaces/KORIVrcWorkbenchFactory.h"

namespace {

class WorkbenchTest : public CommandTest {
protected:
  KORCommandHeaderList& Headers() { return frame.CommandEnvironment().GetHeaderList(); }

  std::vector<KORString> AvailableHeaders() {
    std::vector<KORString> available;
    for (int i = 0; i < Headers().Size(); ++i)
      if (Headers().GetHeader(i)->IsAvailable())
        available.push_back(Headers().GetHeader(i)->GetID());
    return available;
  }

  // The thirteen headers, in the order the workbench makes them.
  static std::vector<KORString> AllHeaderIds() {
    return {"KORVrc2DViewCmdHdr",       "KORVrcWindowCmdHdr",
            "KORVrcIGCmdHdr",           "KORVrcViewCmdHdr",
            "KORVrcSnapCmdHdr",         "KORVrcGenerateXMLFileCmdHdr",
            "KORVrcConfigCmdHdr",       "KORVrcHeadEdtCmdHdr",
            "KORVrcHandDeviceCmdHdr",   "KORVrcTrackerCmdHdr",
            "KORVrcTrackingStationCmdHdr", "KORVrcTestTrackingCmdHdr",
            "KORVrcButtonDeviceCmdHdr"};
  }

  KORSmartPtr<KORIPrdPLMPersistency> Persistency() {
    KORRegisterPersistencyServices();
    return KORQuery<KORIPrdPLMPersistency>(document->Identity());
  }
};

TEST_F(WorkbenchTest, TheFactoryMakesOnlyTheWorkbenchOfItsExactName) {
  auto factory = KORLooseElement::Make<KORIVrcWorkbenchFactory>("KORApplicationFrame");
  ASSERT_TRUE(factory);
  const struct {
    const char* name;
    bool supported;
  } cases[] = {{"KORVrcWorkbench", true},
               {"korvrcworkbench", false},
               {"KORVrcWorkbenchX", false},
               {"", false}};
  for (const auto& c : cases)
    EXPECT_EQ(factory->Support(c.name), c.supported) << '"' << c.name << '"';

  KORBaseUnknown_var made = KORBaseUnknown_var::Adopt(factory->Create("KORVrcWorkbench"));
  EXPECT_TRUE(KORQuery<KORIPRDWorkshopConfiguration>(made));
  EXPECT_EQ(factory->Create("KORIVrcConfig"), nullptr) << "nothing answers another name";
}

TEST_F(WorkbenchTest, TheThirteenHeadersAreMadeInOrderAndAClonesHasNoResourceFile) {
  std::vector<KORString> ids;
  for (int i = 0; i < Headers().Size(); ++i)
    ids.push_back(Headers().GetHeader(i)->GetID());
  EXPECT_EQ(ids, AllHeaderIds());
  KORCommandHeader* config = Headers().GetHeaderFromList("KORVrcConfigCmdHdr");
  ASSERT_NE(config->GetResourceFile(0), "");

  KORCommandHeader* clone = config->Clone();
  EXPECT_EQ(Headers().Size(), 14) << "the clone joins the list";
  EXPECT_EQ(clone->GetID(), "KORVrcConfigCmdHdr");
  EXPECT_EQ(clone->GetResourceFile(0), "");
  EXPECT_TRUE(clone->IsAvailable());
}

TEST_F(WorkbenchTest, AvailabilityFollowsTheDocumentsPersistency) {
  ASSERT_EQ(AvailableHeaders(), AllHeaderIds()) << "a plain new document";
  const std::vector<KORString> none;
  const struct {
    int mode;
    int host; // -1: the host cannot be read
    bool available;
  } cases[] = {{0, 7, true}, {2, 0, true}, {2, -1, false}, {0, 0, true}, {2, 7, false}};
  for (const auto& c : cases) {
    Persistency()->SetPersistencyMode(c.mode);
    if (c.host < 0)
      Persistency()->ForgetPersistencyHost();
    else
      Persistency()->SetPersistencyHost(c.host);
    frame.Editor().SetUIActiveObject(document->Identity());
    EXPECT_EQ(AvailableHeaders(), c.available ? AllHeaderIds() : none)
        << "mode " << c.mode << ", host " << c.host;
  }
  frame.Editor().SetDocument(nullptr);
  frame.Editor().SetUIActiveObject(nullptr);
  EXPECT_EQ(AvailableHeaders(), AllHeaderIds()) << "without document every command is available";
}

TEST_F(WorkbenchTest, AChangeInAnEditorThatIsNotCurrentChangesNothing) {
  KORFrmEditor other(document->Identity());
  frame.CommandEnvironment().SetCurrentEditor(&other);
  Persistency()->SetPersistencyMode(2);
  Persistency()->SetPersistencyHost(7);
  frame.Editor().SetUIActiveObject(document->Identity());
  EXPECT_EQ(AvailableHeaders(), AllHeaderIds()) << "the headers' editor is not the current one";
  other.SetUIActiveObject(document->Identity());
  EXPECT_EQ(AvailableHeaders(), AllHeaderIds()) << "the headers do not listen to that editor";

  frame.CommandEnvironment().SetCurrentEditor(&frame.Editor());
  frame.Editor().SetUIActiveObject(document->Identity());
  EXPECT_TRUE(AvailableHeaders().empty());
}

TEST_F(WorkbenchTest, TheToolbarHoldsTheNineButtonsInOrder) {
  KORCmdWorkbench* workbench = frame.GetWorkbench();
  ASSERT_NE(workbench, nullptr);
  EXPECT_EQ(workbench->GetName(), "KORVrcWorkbench");
  auto* toolbar = dynamic_cast<KORCmdContainer*>(workbench->GetChild());
  ASSERT_NE(toolbar, nullptr);
  std::vector<std::pair<KORString, KORString>> buttons;
  for (KORCmdAccess* access : toolbar->GetChildren()) {
    auto* starter = dynamic_cast<KORCmdStarter*>(access);
    ASSERT_NE(starter, nullptr);
    buttons.emplace_back(starter->GetName(), starter->GetCommand());
  }
  const std::vector<std::pair<KORString, KORString>> expected{
      {"btnCreateView", "KORVrcViewCmdHdr"},
      {"btnCreateIG", "KORVrcIGCmdHdr"},
      {"btnCreateWindow", "KORVrcWindowCmdHdr"},
      {"btnCreateTrackingStation", "KORVrcTrackingStationCmdHdr"},
      {"btnCreateButtonDevice", "KORVrcButtonDeviceCmdHdr"},
      {"btn2DView", "KORVrc2DViewCmdHdr"},
      {"btnTestTracking", "KORVrcTestTrackingCmdHdr"},
      {"btnSnap", "KORVrcSnapCmdHdr"},
      {"btnGenerateXMLFile", "KORVrcGenerateXMLFileCmdHdr"}};
  EXPECT_EQ(buttons, expected);
  for (const char* editOnly : {"KORVrcConfigCmdHdr", "KORVrcHeadEdtCmdHdr",
                               "KORVrcHandDeviceCmdHdr", "KORVrcTrackerCmdHdr"})
    for (const auto& [button, header] : buttons)
      EXPECT_NE(header, editOnly) << button;
}

TEST_F(WorkbenchTest, TheCommandSetAnswersItsTopicWithItsResultCodes) {
  auto commandSet = KORLooseElement::Make<KORICommandSet>("KORVrcWorkbench_init");
  ASSERT_TRUE(commandSet);
  KORList1<KORString> topics;
  EXPECT_EQ(commandSet->EnumTopics(topics), S_OK);
  EXPECT_EQ(topics.Size(), 1);
  EXPECT_EQ(topics[1], "KORAfrUIActiveChanged");

  EXPECT_EQ(commandSet->GetCommandSet("KORAfrUIActiveChanged", nullptr), E_INVALIDARG)
      << "the null output is refused before the topic is looked at";
  EXPECT_EQ(commandSet->GetCommandSet("OtherTopic", nullptr), E_INVALIDARG);
  KORStackableCommandSet* set = nullptr;
  EXPECT_EQ(commandSet->GetCommandSet("OtherTopic", &set), E_FAIL);
  EXPECT_EQ(set, nullptr);

  auto Commands = [&] {
    KORStackableCommandSet* given = nullptr;
    EXPECT_EQ(commandSet->GetCommandSet("KORAfrUIActiveChanged", &given), S_OK);
    auto kept = KORSmartPtr<KORStackableCommandSet>::Adopt(given);
    std::vector<KORString> ids;
    for (const KORString& id : kept->GetCommands())
      ids.push_back(id);
    return ids;
  };
  EXPECT_EQ(Commands(), AllHeaderIds());
  std::vector<KORString> twice = AllHeaderIds();
  const std::vector<KORString> once = AllHeaderIds();
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(Commands(), twice) << "every call appends the thirteen again to the kept set";

  Persistency()->SetPersistencyMode(2);
  Persistency()->SetPersistencyHost(7);
  EXPECT_EQ(Commands(), twice) << "a document kept elsewhere adds nothing, the set is still given";

  frame.CommandEnvironment().SetCurrentEditor(nullptr);
  EXPECT_EQ(commandSet->GetCommandSet("KORAfrUIActiveChanged", &set), E_FAIL);
  EXPECT_EQ(set, nullptr);
  frame.CommandEnvironment().SetCurrentEditor(&frame.Editor());
}

TEST_F(WorkbenchTest, TheTransitionEntersTheProductWorkshop) {
  auto transition = KORLooseElement::Make<KORIWorkbenchTransition>("KORVrcWorkbenchTransition");
  ASSERT_TRUE(transition);
  EXPECT_EQ(transition->DoTransition("KORVrcWorkbench"), S_OK);
  EXPECT_EQ(frame.CommandEnvironment().GetCurrentWorkshop(), "Product");
  EXPECT_EQ(frame.CommandEnvironment().GetCurrentWorkbench(), "KORVrcWorkbench");
}

} // namespace
