#pragma once
// A document with one feature container in which the "StoreTest" catalog is
// open: a small tree of typed nodes for the feature-store tests.
#include "featurestore/KORDocument.h"
#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORLifeCycleObject.h"

#include <gtest/gtest.h>

inline const char* kStoreTestCatalog = R"({
  // nodes aggregate other nodes; "Partner" and "Friends" only refer to them
  "catalog": "StoreTest",
  "types": [
    {"type": "STNode", "startup": "Node", "attributes": [
      {"key": "Name", "value": "string", "default": ""},
      {"key": "Children", "value": "links", "aggregating": true},
      {"key": "Partner", "value": "link"},
      {"key": "Friends", "value": "links"},
      {"key": "Count", "value": "integer", "default": 0},
      {"key": "Size", "value": "double"},
      {"key": "Options", "value": "integers"},
      {"key": "Placement", "value": "doubles", "default": [1,0,0, 0,1,0, 0,0,1, 0,0,0]}]},
    {"type": "STBranch", "parent": "STNode", "startup": "Branch", "attributes": [
      {"key": "Main", "value": "link", "aggregating": true}]},
    {"type": "STLeaf", "parent": "STNode", "startup": "Leaf"}
  ]})";

class StoreTest : public testing::Test {
protected:
  void SetUp() override {
    std::string error;
    ASSERT_EQ(KORFeatureCatalog::LoadText("StoreTest", kStoreTestCatalog, error), S_OK) << error;
    document = KORDocument::Create();
    container = document->GetCompoundContainer()->AddContainer("STContainer", "KORFeatCont");
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->OpenCatalog("StoreTest"), S_OK);
  }

  KORSmartPtr<KORISpecObject> Make(const char* iStartup, const char* iType) {
    KORIStartUp_var startup;
    EXPECT_EQ(KORFindStartUp(container, "KORISpecObject", iStartup, iType, startup.Out()), S_OK);
    KORISpecObject_var feature;
    if (startup) {
      EXPECT_EQ(startup->Instantiate(container, "", feature.Out()), S_OK);
    }
    return feature;
  }
  KORSmartPtr<KORISpecObject> Node() { return Make("Node", "STNode"); }
  static KORSmartPtr<KORISpecAttrAccess> Attr(KORISpecObject* iFeature) {
    return KORQuery<KORISpecAttrAccess>(iFeature);
  }

  KORSmartPtr<KORDocument> document;
  KORFeatureContainer* container = nullptr;
};
