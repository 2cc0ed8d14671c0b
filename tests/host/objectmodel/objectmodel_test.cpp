#include "TestInterfaces.h"
#include "objectmodel/KORExtensionDictionary.h"
#include "objectmodel/KORModule.h"

#include <gtest/gtest.h>

namespace {
int gLiveObjects = 0;
int gLiveExtensions = 0;

class TestObject final : public KORImplementationOf<TestObject, ITestOwn> {
public:
  explicit TestObject(const char* iType) : KORImplementationOf(iType) { ++gLiveObjects; }
  ~TestObject() override { --gLiveObjects; }
  int Own() override { return 1; }
};

class ElementExtension : public KORExtensionOf<ITestElement> {
public:
  ElementExtension() { ++gLiveExtensions; }
  ~ElementExtension() override { --gLiveExtensions; }
  int Depth() override { return 1; }
};

class ScreenViewExtension : public KORExtensionOf<ITestView> {
public:
  ScreenViewExtension() { ++gLiveExtensions; }
  ~ScreenViewExtension() override { --gLiveExtensions; }
  int Depth() override { return 3; }
  int ViewKind() override { return 2; }
};

class CounterExtension : public KORExtensionOf<ITestCounter> {
public:
  CounterExtension() { ++gLiveExtensions; }
  ~CounterExtension() override { --gLiveExtensions; }
  int Increment() override { return ++_count; }

private:
  int _count = 0;
};

const KORLateTypeRow kLateTypes[] = {{"OMElement", ""},
                                     {"OMView", "OMElement"},
                                     {"OMScreenView", "OMView"},
                                     {"OMHead", "OMElement"}};
const KORExtensionRow kExtensions[] = {
    {"OMElement", "ElementExtension", ITestElement::IID, KORExtensionKind::Code,
     &KORMakeExtension<ElementExtension>},
    {"OMElement", "CounterExtension", ITestCounter::IID, KORExtensionKind::Data,
     &KORMakeExtension<CounterExtension>},
    {"OMScreenView", "ScreenViewExtension", ITestView::IID, KORExtensionKind::Code,
     &KORMakeExtension<ScreenViewExtension>},
    {"OMScreenView", "ScreenViewExtension", ITestElement::IID, KORExtensionKind::Code,
     &KORMakeExtension<ScreenViewExtension>},
};
const KORModuleTable kTable{"ObjectModelTest", kLateTypes, kExtensions, {}};

class ObjectModelTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    std::string error;
    if (!KORExtensionDictionary::Get().IsRegistered("ObjectModelTest")) {
      ASSERT_TRUE(KORExtensionDictionary::Get().Register(kTable, error)) << error;
    }
  }
  void TearDown() override {
    EXPECT_EQ(gLiveObjects, 0) << "an object was not destroyed";
    EXPECT_EQ(gLiveExtensions, 0) << "an extension was not destroyed";
  }
  static KORSmartPtr<ITestOwn> Make(const char* iType) {
    return KORSmartPtr<ITestOwn>(new TestObject(iType));
  }
};

TEST_F(ObjectModelTest, LateTypesDeriveThroughTheirParents) {
  const KORLateType* screen = KORLateType::Find("OMScreenView");
  ASSERT_NE(screen, nullptr);
  EXPECT_TRUE(screen->IsAKindOf("OMView"));
  EXPECT_TRUE(screen->IsAKindOf("OMElement"));
  EXPECT_FALSE(screen->IsAKindOf("OMHead"));
  EXPECT_FALSE(KORLateType::Declare("OMScreenView", "OMHead")) << "a second parent was accepted";
  EXPECT_FALSE(KORLateType::Declare("OMElement", "OMScreenView")) << "a loop was accepted";
}

TEST_F(ObjectModelTest, ExtensionsAreFoundOnAncestorsNearestFirst) {
  auto head = Make("OMHead");
  auto screen = Make("OMScreenView");
  auto view = Make("OMView");

  EXPECT_EQ(KORQuery<ITestElement>(head)->Depth(), 1);
  EXPECT_EQ(KORQuery<ITestElement>(view)->Depth(), 1) << "inherited from OMElement";
  EXPECT_EQ(KORQuery<ITestElement>(screen)->Depth(), 3) << "the nearer type wins";
  EXPECT_EQ(KORQuery<ITestView>(screen)->ViewKind(), 2);
  EXPECT_FALSE(KORQuery<ITestView>(head)) << "no view interface on a head";
  EXPECT_FALSE(KORQuery<ITestModuleService>(head));
  // The object's own interface is answered through any extension.
  EXPECT_EQ(KORQuery<ITestOwn>(KORQuery<ITestView>(screen))->Own(), 1);
}

TEST_F(ObjectModelTest, IdentityIsTheSameWhateverInterfaceIsAsked) {
  auto screen = Make("OMScreenView");
  auto other = Make("OMScreenView");
  auto view = KORQuery<ITestView>(screen);
  auto counter = KORQuery<ITestCounter>(screen);
  ASSERT_TRUE(view && counter);
  EXPECT_NE(static_cast<void*>(view.get()), static_cast<void*>(counter.get()));
  EXPECT_EQ(KORQuery<KORBaseUnknown>(view).get(), KORQuery<KORBaseUnknown>(counter).get());
  EXPECT_EQ(KORQuery<KORBaseUnknown>(view).get(), KORQuery<KORBaseUnknown>(screen).get());
  EXPECT_NE(KORQuery<KORBaseUnknown>(view).get(), KORQuery<KORBaseUnknown>(other).get());
}

TEST_F(ObjectModelTest, DataExtensionsKeepStatePerObject) {
  auto first = Make("OMHead");
  auto second = Make("OMHead");
  EXPECT_EQ(KORQuery<ITestCounter>(first)->Increment(), 1);
  EXPECT_EQ(KORQuery<ITestCounter>(first)->Increment(), 2) << "state lost between queries";
  EXPECT_EQ(KORQuery<ITestCounter>(second)->Increment(), 1) << "state shared between objects";
  EXPECT_EQ(KORGetImplementation(first)->DataExtensionCount(), 1u);
}

TEST_F(ObjectModelTest, CodeExtensionsKeepNothingOnTheObject) {
  auto head = Make("OMHead");
  {
    auto element = KORQuery<ITestElement>(head);
    EXPECT_EQ(gLiveExtensions, 1);
    // A binding holds its object: releasing every other pointer keeps it alive.
    head.reset();
    EXPECT_EQ(gLiveObjects, 1);
    EXPECT_EQ(element->Depth(), 1);
  }
  EXPECT_EQ(gLiveExtensions, 0) << "the binding outlived its last pointer";
  EXPECT_EQ(gLiveObjects, 0);

  auto screen = Make("OMScreenView");
  (void)KORQuery<ITestView>(screen);
  EXPECT_EQ(KORGetImplementation(screen)->DataExtensionCount(), 0u);
}

TEST_F(ObjectModelTest, ReferencesAreCountedAcrossInterfaces) {
  auto head = Make("OMHead");
  KORImplementation* implementation = KORGetImplementation(head);
  EXPECT_EQ(implementation->ReferenceCount(), 1u);
  {
    auto counter = KORQuery<ITestCounter>(head);
    EXPECT_EQ(implementation->ReferenceCount(), 2u) << "a data extension counts on its object";
    auto copy = counter;
    EXPECT_EQ(implementation->ReferenceCount(), 3u);
  }
  EXPECT_EQ(implementation->ReferenceCount(), 1u);
}

TEST_F(ObjectModelTest, ATableGivingAPairTwiceIsRefusedWhole) {
  static const KORLateTypeRow types[] = {{"OMConflict", ""}};
  static const KORExtensionRow rows[] = {
      {"OMConflict", "A", ITestCounter::IID, KORExtensionKind::Data,
       &KORMakeExtension<CounterExtension>},
      {"OMConflict", "B", ITestCounter::IID, KORExtensionKind::Data,
       &KORMakeExtension<CounterExtension>},
  };
  std::string error;
  EXPECT_FALSE(KORExtensionDictionary::Get().Register({"Conflict", types, rows, {}}, error));
  EXPECT_NE(error.find("ITestCounter"), std::string::npos) << error;
  EXPECT_FALSE(KORExtensionDictionary::Get().IsRegistered("Conflict"));
}

TEST_F(ObjectModelTest, ModulesAreLoadedByNameAndTheirTablesRegistered) {
  std::string error;
  ASSERT_EQ(KORLoadModule("KORTestModule", error), S_OK) << error;
  EXPECT_EQ(KORLoadModule("KORTestModule", error), S_OK) << "loading twice must be harmless";
  EXPECT_TRUE(KORExtensionDictionary::Get().IsRegistered("KORTestModule"));

  auto object = Make("TestModuleType");
  auto service = KORQuery<ITestModuleService>(object);
  ASSERT_TRUE(service);
  EXPECT_EQ(service->Answer(), 42);

  auto component = KORCreateInstance<ITestModuleService>("TestModuleComponent");
  ASSERT_TRUE(component);
  EXPECT_EQ(component->Answer(), 7);
  EXPECT_FALSE(KORCreateInstance<ITestModuleService>("NoSuchComponent"));

  auto create = reinterpret_cast<int (*)()>(
      KORFindModuleFunction("KORTestModule", "fctCreateTestCommand", error));
  ASSERT_NE(create, nullptr) << error;
  EXPECT_EQ(create(), 1234);
  EXPECT_EQ(KORFindModuleFunction("KORTestModule", "fctCreateNothing", error), nullptr);
  EXPECT_NE(error.find("fctCreateNothing"), std::string::npos) << error;
}

TEST_F(ObjectModelTest, AMissingModuleIsAClearError) {
  std::string error;
  EXPECT_EQ(KORLoadModule("KORNoSuchModule", error), E_FAIL);
  EXPECT_NE(error.find("libKORNoSuchModule.so"), std::string::npos) << error;
  EXPECT_EQ(KORFindModuleFunction("KORNoSuchModule", "f", error), nullptr);
  EXPECT_NE(error.find("not loaded"), std::string::npos) << error;
}
} // namespace
