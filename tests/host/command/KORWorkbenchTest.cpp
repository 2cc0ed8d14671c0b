#include "command/KORCommandSet.h"
#include "command/KORWorkshop.h"
#include "frame/KORFrame.h"

#include <gtest/gtest.h>

namespace {
// A workbench of three buttons, built the way a module builds its own:
// chained starters, the first one the toolbar's child, and the first one set
// as child again after the toolbar's view.
class TestWorkbench final
    : public KORImplementationOf<TestWorkbench, KORIPRDWorkshopConfiguration> {
public:
  TestWorkbench() : KORImplementationOf("TestWorkbench") {}
  void CreateCommands() override {}
  KORCmdWorkbench* CreateWorkbench() override {
    auto* workbench = new KORCmdWorkbench("TestWorkbench", 1);
    auto* toolbar = new KORCmdContainer("TestToolbar", 1);
    workbench->SetChild(toolbar);
    KORCmdStarter* first = KORChainStarters(
        {{"btnCreateView", "ViewHdr"}, {"btnCreateIG", "IGHdr"}, {"btnSnap", "SnapHdr"}}, 1);
    toolbar->SetChild(first);
    toolbar->SetToolbarView(1, 3);
    toolbar->SetChild(first);
    return workbench;
  }
  const char* GetAddinInterface() override { return "TestWorkbenchAddin"; }
  void GetCustomInterfaces(KORList1<KORString>&, int&) override {}
};

TEST(WorkbenchAccess, TheToolbarHoldsItsStartersInChainOrder) {
  KORSmartPtr<TestWorkbench> configuration(new TestWorkbench());
  std::unique_ptr<KORCmdWorkbench> workbench(configuration->CreateWorkbench());
  auto* toolbar = dynamic_cast<KORCmdContainer*>(workbench->Find("TestToolbar"));
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(toolbar->GetToolbarVisibility(), 1);
  EXPECT_EQ(toolbar->GetToolbarPosition(), 3);
  std::vector<std::string> buttons, headers;
  for (KORCmdAccess* access : toolbar->GetChildren()) {
    buttons.push_back(access->GetName());
    headers.push_back(dynamic_cast<KORCmdStarter&>(*access).GetCommand());
  }
  EXPECT_EQ(buttons, (std::vector<std::string>{"btnCreateView", "btnCreateIG", "btnSnap"}));
  EXPECT_EQ(headers, (std::vector<std::string>{"ViewHdr", "IGHdr", "SnapHdr"}));
  EXPECT_EQ(workbench->GetChildren().size(), 1u) << "the toolbar is the workbench's one child";
  EXPECT_EQ(workbench->Find("btnMissing"), nullptr);
  EXPECT_EQ(KORChainStarters({}, 1), nullptr) << "no button, no starter";
}

struct Counted : KORCmdAccess {
  static inline int alive = 0;
  explicit Counted(const char* iName) : KORCmdAccess(iName, 1) { ++alive; }
  ~Counted() override { --alive; }
};

TEST(WorkbenchAccess, ReplacingAChildDestroysTheOldOne) {
  {
    KORCmdContainer toolbar("Toolbar", 1);
    auto* a = new Counted("a");
    a->SetNext(new Counted("b"));
    toolbar.SetChild(a);
    toolbar.SetChild(a);
    EXPECT_EQ(Counted::alive, 2);
    toolbar.SetChild(new Counted("c"));
    EXPECT_EQ(Counted::alive, 1) << "a and the b it chained went";
  }
  EXPECT_EQ(Counted::alive, 0);
}

TEST(CommandSets, AStackedSetOffersItsParentsCommandsFirst) {
  auto parent = KORSmartPtr<KORStackableCommandSet>::Adopt(KORStackableCommandSet::Create());
  parent->AddCommand("ViewHdr");
  auto child = KORSmartPtr<KORStackableCommandSet>::Adopt(KORStackableCommandSet::Create(parent));
  child->AddCommand("IGHdr");
  child->AddCommand("SnapHdr");
  parent->AddCommand("WindowHdr");
  EXPECT_EQ(child->GetCommands().Values(),
            (std::vector<std::string>{"ViewHdr", "WindowHdr", "IGHdr", "SnapHdr"}));
  EXPECT_EQ(child->GetParent(), parent.get());
}

class TestTransition : public KORExtIWorkbenchTransition<KORIWorkbenchTransition> {
public:
  explicit TestTransition(const char* iWorkshop) { _workshopName = iWorkshop; }
};

TEST(WorkbenchTransition, MakesTheWorkshopAndWorkbenchCurrent) {
  KORFrame frame;
  KORCommandEnvironment& environment = frame.CommandEnvironment();
  TestTransition product("Product");
  EXPECT_EQ(product.DoTransition("TestWorkbench"), E_FAIL) << "no frame running";
  KORFrameScope scope(frame);
  EXPECT_EQ(product.DoTransition("TestWorkbench"), S_OK);
  EXPECT_EQ(environment.GetCurrentWorkshop(), "Product");
  EXPECT_EQ(environment.GetCurrentWorkbench(), "TestWorkbench");
  TestTransition unnamed("");
  EXPECT_EQ(unnamed.DoTransition("Other"), E_FAIL);
  EXPECT_EQ(environment.GetCurrentWorkbench(), "TestWorkbench");
}
} // namespace
