#include "command/KORCommandSet.h"
#include "command/KORWorkshop.h"
#include "frame/KORFrame.h"

#include <gtest/gtest.h>

namespace {
struct Counted : KORCmdAccess {
  static inline int alive = 0;
  explicit Counted(const char* iName) : KORCmdAccess(iName, 1) { ++alive; }
  ~Counted() override { --alive; }
};

// The chain order of a toolbar is tested with the module's workbench.
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
  EXPECT_EQ(KORChainStarters({}, 1), nullptr) << "no button, no starter";
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
