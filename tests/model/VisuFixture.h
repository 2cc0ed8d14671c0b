#pragma once
// Documents shown through a visualization manager, and readers of the reps
// the module builds.
#include "ConfigBuilder.h"
#include "visu/KORVisManager.h"

#include <gmock/gmock.h>

class VisuTest : public BuildTest {
protected:
  void SetUp() override {
    BuildTest::SetUp();
    ASSERT_EQ(manager.Attach(document), S_OK);
  }
  void TearDown() override {
    manager.Detach();
    BuildTest::TearDown();
  }

  KORRep_var Rep3D(KORBaseUnknown* iElement) {
    return manager.GetRep(iElement, KORVisDimension::ThreeD);
  }
  KORRep_var Rep2D(KORBaseUnknown* iElement) {
    return manager.GetRep(iElement, KORVisDimension::TwoD);
  }
  KORBaseUnknown_var Container() { return KORQuery<KORBaseUnknown>(VrcContainer()); }

  // The children of a bag rep of type R (fails the test when it is not one).
  template <class R> static const std::vector<KORRep_var>& ChildrenOf(KORRep* iRep) {
    static const std::vector<KORRep_var> kNone;
    auto bag = dynamic_cast<R*>(iRep);
    EXPECT_NE(bag, nullptr);
    return bag ? bag->GetChildren() : kNone;
  }
  // The first child of iBag that is an R.
  template <class R> static R* FirstChild(KORRep* iBag) {
    auto bag = dynamic_cast<KORBagRep*>(iBag);
    if (bag)
      for (const KORRep_var& child : bag->GetChildren())
        if (auto found = dynamic_cast<R*>(child.get()))
          return found;
    return nullptr;
  }

  KORVisManager manager;
};

// Point comparison to 1e-6 for gmock matchers.
MATCHER_P3(At, iX, iY, iZ, "") {
  return (arg - Eigen::Vector3d(iX, iY, iZ)).norm() < 1e-6;
}
