#pragma once
// A frame of its own per test, with the module loaded once per process, a
// fresh document in the frame's editor and the workbench "KORVrcWorkbench"
// loaded into the frame.
#include "featurestore/KORDocument.h"
#include "frame/KORFrame.h"
#include "system/KORModule.h"

#include <gtest/gtest.h>

// A plain object of a late type, to ask for what the module attaches to it.
class KORNamedObject final : public KORImplementationOf<KORNamedObject, KORBaseUnknown> {
public:
  explicit KORNamedObject(const char* iLateType) : KORImplementationOf(iLateType) {}
  template <class I> static KORSmartPtr<I> Query(const char* iLateType) {
    KORBaseUnknown_var object(new KORNamedObject(iLateType));
    return KORQuery<I>(object);
  }
};

class CommandTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    std::string error;
    ASSERT_EQ(KORLoadModule("KORVrConfig", error), S_OK) << error;
  }

  void SetUp() override {
    frame.MessageBoxes().SetEcho(false);
    document = KORDocument::Create();
    frame.Editor().SetDocument(document->Identity());
    KORString error;
    ASSERT_EQ(frame.LoadWorkbench("KORVrcWorkbench", error), S_OK) << error;
  }

  KORFrame frame;
  KORFrameScope scope{frame};
  KORSmartPtr<KORDocument> document;
};
