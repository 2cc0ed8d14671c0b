#include "TestInterfaces.h"
#include "objectmodel/KORExtensionDictionary.h"
#include "system/KORModule.h"
#include "system/KORResource.h"
#include "system/KORTrace.h"

#include <gtest/gtest.h>
#include <string>
#include <type_traits>

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

class CarrierExtension : public KORExtensionOf<ITestPayloadCarrier> {
public:
  CarrierExtension() { ++gLiveExtensions; }
  ~CarrierExtension() override { --gLiveExtensions; }
  int Carried() override { return 11; }
};

// An object whose own second interface does not start with KORBaseUnknown.
class TwoBasesObject final
    : public KORImplementationOf<TwoBasesObject, ITestOwn, ITestPayloadCarrier> {
public:
  TwoBasesObject() : KORImplementationOf("OMTwoBases") { ++gLiveObjects; }
  ~TwoBasesObject() override { --gLiveObjects; }
  int Own() override { return 1; }
  int Carried() override { return 10; }
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
    // Rows whose extension class lacks the interface they name.
    {"OMElement", "ElementExtension", ITestNobody::IID, KORExtensionKind::Code,
     &KORMakeExtension<ElementExtension>},
    {"OMHead", "CounterExtension", ITestNobody::IID, KORExtensionKind::Data,
     &KORMakeExtension<CounterExtension>},
    {"OMCarrierByCode", "CarrierExtension", ITestPayloadCarrier::IID, KORExtensionKind::Code,
     &KORMakeExtension<CarrierExtension>},
    {"OMCarrierByData", "CarrierExtension", ITestPayloadCarrier::IID, KORExtensionKind::Data,
     &KORMakeExtension<CarrierExtension>},
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

TEST_F(ObjectModelTest, AnotherLibrarysCopyOfAnInterfaceNameResolvesAlike) {
  // Each library holds its own copy of an interface's name.
  const std::string viewName(ITestView::IID.name);
  const KORIID viewCopy(viewName.c_str());
  auto screen = Make("OMScreenView");
  auto head = Make("OMHead");
  ASSERT_TRUE(KORQuery<ITestView>(screen)) << "resolved once by the usual name";
  EXPECT_FALSE(KORQuery<ITestView>(head));
  // Both copies share one kept answer (and its refusal): a copy that found
  // none asked the long way again on every object.
  const std::size_t keptByScreen = KORGetImplementation(screen)->KeptAnswerCount();
  const std::size_t keptByHead = KORGetImplementation(head)->KeptAnswerCount();
  for (int round = 0; round < 2; ++round) {
    void* found = nullptr;
    ASSERT_EQ(screen->QueryInterface(viewCopy, &found), S_OK) << "round " << round;
    auto view = KORSmartPtr<ITestView>::Adopt(static_cast<ITestView*>(found));
    EXPECT_EQ(view->ViewKind(), 2);
    EXPECT_EQ(head->QueryInterface(viewCopy, &found), E_NOINTERFACE) << "round " << round;
  }
  EXPECT_EQ(KORGetImplementation(screen)->KeptAnswerCount(), keptByScreen);
  EXPECT_EQ(KORGetImplementation(head)->KeptAnswerCount(), keptByHead);
}

TEST_F(ObjectModelTest, IdentityIsSharedByTheInterfacesAndDataExtensionsKeepStatePerObject) {
  auto screen = Make("OMScreenView");
  auto other = Make("OMScreenView");
  auto view = KORQuery<ITestView>(screen);
  auto counter = KORQuery<ITestCounter>(screen);
  ASSERT_TRUE(view && counter);
  EXPECT_NE(static_cast<void*>(view.get()), static_cast<void*>(counter.get()));
  EXPECT_EQ(KORQuery<KORBaseUnknown>(view).get(), KORQuery<KORBaseUnknown>(counter).get());
  EXPECT_EQ(KORQuery<KORBaseUnknown>(view).get(), KORQuery<KORBaseUnknown>(screen).get());
  EXPECT_NE(KORQuery<KORBaseUnknown>(view).get(), KORQuery<KORBaseUnknown>(other).get());

  EXPECT_EQ(counter->Increment(), 1);
  EXPECT_EQ(KORQuery<ITestCounter>(screen)->Increment(), 2) << "state lost between queries";
  EXPECT_EQ(KORQuery<ITestCounter>(other)->Increment(), 1) << "state shared between objects";
  EXPECT_EQ(KORGetImplementation(screen)->DataExtensionCount(), 1u);
}

TEST_F(ObjectModelTest, CodeExtensionsAreMadeOncePerObjectAndDieWithIt) {
  auto head = Make("OMHead");
  KORImplementation* implementation = KORGetImplementation(head);
  {
    auto element = KORQuery<ITestElement>(head);
    EXPECT_EQ(KORQuery<ITestElement>(head).get(), element.get()) << "a second one was made";
    EXPECT_EQ(gLiveExtensions, 1);
    EXPECT_EQ(implementation->ReferenceCount(), 2u) << "a code extension counts on its object";
    // The extension holds its object: releasing every other pointer keeps it alive.
    head.reset();
    EXPECT_EQ(gLiveObjects, 1);
    EXPECT_EQ(element->Depth(), 1);
  }
  EXPECT_EQ(gLiveExtensions, 0) << "the extension outlived its object";
  EXPECT_EQ(gLiveObjects, 0);

  auto screen = Make("OMScreenView");
  auto view = KORQuery<ITestView>(screen);
  EXPECT_EQ(KORQuery<ITestElement>(screen).get(), static_cast<ITestElement*>(view.get()));
  EXPECT_EQ(gLiveExtensions, 1) << "two rows of one class made two extensions";
  EXPECT_EQ(KORGetImplementation(screen)->DataExtensionCount(), 0u);
}

// Objects keep what queries answered: a registration made later must still
// be seen, and an object leaving its document keeps nothing.
TEST_F(ObjectModelTest, KeptAnswersFollowRegistrationsAndDisposal) {
  auto late = Make("OMLateCounted");
  KORImplementation* implementation = KORGetImplementation(late);
  EXPECT_FALSE(KORQuery<ITestCounter>(late)) << "nothing registered yet";
  EXPECT_FALSE(KORQuery<ITestCounter>(late)) << "asked again, from what was kept";
  static const KORLateTypeRow types[] = {{"OMLateCounted", ""}};
  static const KORExtensionRow rows[] = {{"OMLateCounted", "CounterExtension", ITestCounter::IID,
                                          KORExtensionKind::Data,
                                          &KORMakeExtension<CounterExtension>}};
  std::string error;
  if (!KORExtensionDictionary::Get().IsRegistered("LateCounter")) {
    ASSERT_TRUE(KORExtensionDictionary::Get().Register({"LateCounter", types, rows, {}}, error))
        << error;
  }
  auto counter = KORQuery<ITestCounter>(late);
  ASSERT_TRUE(counter) << "a kept refusal outlived a new registration";
  EXPECT_EQ(counter->Increment(), 1);
  EXPECT_EQ(KORQuery<ITestCounter>(late)->Increment(), 2)
      << "the kept answer is the same extension";
  EXPECT_EQ(implementation->ReferenceCount(), 2u) << "a kept answer still counts its reference";
  EXPECT_GT(implementation->KeptAnswerCount(), 0u);
  implementation->DisposeExtensions();
  EXPECT_EQ(implementation->KeptAnswerCount(), 0u);
  EXPECT_EQ(KORQuery<ITestCounter>(late)->Increment(), 3) << "answered again by the same extension";
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

  // The drag condition declared for a type holds for the types deriving from it.
  const KORDragCondition condition = KORFindDragCondition(KORLateType::Find("TestModuleType"));
  ASSERT_NE(condition, nullptr);
  EXPECT_TRUE(condition(object));
  EXPECT_EQ(KORFindDragCondition(KORLateType::Find("TestModuleDerivedType")), condition);
  EXPECT_EQ(KORFindDragCondition(nullptr), nullptr);
}

// A temporary smart pointer must not convert to a raw pointer: the raw
// pointer would dangle once the temporary released its reference.
static_assert(!std::is_convertible_v<KORSmartPtr<ITestOwn>&&, ITestOwn*>);
static_assert(std::is_convertible_v<KORSmartPtr<ITestOwn>&, ITestOwn*>);
static_assert(std::is_convertible_v<const KORSmartPtr<ITestOwn>&, ITestOwn*>);
static_assert(std::is_constructible_v<bool, KORSmartPtr<ITestOwn>&&>,
              "testing a temporary stays allowed");

TEST_F(ObjectModelTest, ARowWhoseClassLacksTheInterfaceAnswersNothingAndKeepsNothing) {
  // A failed code-extension cast used to keep the reference its binding took.
  for (const char* type : {"OMView" /* code row */, "OMHead" /* data row */}) {
    auto object = Make(type);
    KORImplementation* implementation = KORGetImplementation(object);
    for (int attempt = 0; attempt < 2; ++attempt) {
      EXPECT_FALSE(KORQuery<ITestNobody>(object)) << type;
      EXPECT_EQ(implementation->ReferenceCount(), 1u) << type << ", attempt " << attempt;
    }
    EXPECT_EQ(KORQuery<ITestElement>(object)->Depth(), 1) << "the right rows still answer";
  } // TearDown finds a leaked object or extension
}

TEST_F(ObjectModelTest, AnInterfaceNotStartingWithItsBaseIsCountedRight) {
  // AddRef went through the untyped result as if every interface started
  // with KORBaseUnknown, which called TestPayload::Spare instead.
  struct Case {
    const char* what;
    KORSmartPtr<ITestOwn> object;
    int carried;
  };
  Case cases[] = {
      {"own interface of the second base", KORSmartPtr<ITestOwn>(new TwoBasesObject()), 10},
      {"code extension", Make("OMCarrierByCode"), 11},
      {"data extension", Make("OMCarrierByData"), 11}};
  for (Case& test : cases) {
    KORImplementation* implementation = KORGetImplementation(test.object);
    {
      auto carrier = KORQuery<ITestPayloadCarrier>(test.object);
      ASSERT_TRUE(carrier) << test.what;
      EXPECT_EQ(implementation->ReferenceCount(), 2u) << test.what;
      EXPECT_EQ(carrier->Carried(), test.carried) << test.what;
      EXPECT_EQ(carrier->Payload(), 5) << test.what;
      EXPECT_EQ(KORQuery<KORBaseUnknown>(carrier).get(),
                KORQuery<KORBaseUnknown>(test.object).get())
          << test.what;
    }
    EXPECT_EQ(implementation->ReferenceCount(), 1u) << test.what;
    test.object.reset();
  }
}

TEST_F(ObjectModelTest, AFailedTableLeavesNoLateTypeBehind) {
  ASSERT_TRUE(KORLateType::Declare("RBRoot", ""));
  struct Case {
    const char* what;
    std::vector<KORLateTypeRow> types;
    std::vector<const char*> absentAfter;
  };
  const Case cases[] = {
      {"a loop of new types",
       {{"RBLoopA", "RBLoopB"}, {"RBLoopB", "RBLoopA"}},
       {"RBLoopA", "RBLoopB"}},
      {"one type with two parents",
       {{"RBChild", "RBParent"}, {"RBChild", "RBOther"}},
       {"RBChild", "RBParent", "RBOther"}},
      {"an existing root given a parent, then a type deriving from itself",
       {{"RBRoot", "RBNewParent"}, {"RBSelf", "RBSelf"}},
       {"RBNewParent", "RBSelf"}},
  };
  for (const Case& test : cases) {
    std::string error;
    const KORModuleTable table{"RollBack", test.types, {}, {}};
    EXPECT_FALSE(KORExtensionDictionary::Get().Register(table, error)) << test.what;
    EXPECT_NE(error.find("cannot derive"), std::string::npos) << error;
    for (const char* name : test.absentAfter)
      EXPECT_EQ(KORLateType::Find(name), nullptr) << test.what << ": " << name << " left declared";
    EXPECT_FALSE(KORExtensionDictionary::Get().IsRegistered("RollBack"));
  }
  EXPECT_EQ(KORLateType::Find("RBRoot")->Parent(), nullptr)
      << "the parent given was not taken back";
  // What failed may be declared afresh.
  EXPECT_TRUE(KORLateType::Declare("RBChild", "RBOther"));
}

TEST_F(ObjectModelTest, AModuleThatIsMissingOrFailsToRegisterLeavesNothingBehind) {
  struct Case {
    const char* module;
    const char* saying;
    const char* lateType;
  };
  const Case cases[] = {{"KORNoSuchModule", "libKORNoSuchModule.so", "NoSuchModuleType"},
                        {"KORTestBrokenLoop", "cannot derive", "BrokenFirst"},
                        {"KORTestBrokenFolder", "no-such-resource-folder", "BrokenFolderType"},
                        {"KORTestBrokenCondition", "exports no drag condition NoSuchDragCondition",
                         "BrokenConditionType"}};
  for (const Case& test : cases) {
    std::string error;
    EXPECT_EQ(KORLoadModule(test.module, error), E_FAIL) << test.module;
    EXPECT_NE(error.find(test.saying), std::string::npos) << error;
    EXPECT_NE(error.find(test.module), std::string::npos) << error;
    EXPECT_FALSE(KORExtensionDictionary::Get().IsRegistered(test.module));
    EXPECT_EQ(KORLateType::Find(test.lateType), nullptr) << test.module;
    for (const KORTraceModuleInfo& module : KORTraceModules())
      EXPECT_NE(module.name, std::string(test.module) + "Trace");
  }
  std::string error;
  EXPECT_EQ(KORFindModuleFunction("KORNoSuchModule", "f", error), nullptr);
  EXPECT_NE(error.find("not loaded"), std::string::npos) << error;
}

// An object keeps a few answers in places found from the ids' hashes: ids
// sharing a place (dozens of ids over a handful of places must) take it in
// turn, and each query still gets its own interface, or its refusal.
TEST_F(ObjectModelTest, IdsSharingAKeptAnswersPlaceEachGetTheirOwnAnswer) {
  auto screen = Make("OMScreenView");
  KORImplementation* implementation = KORGetImplementation(screen);
  std::vector<std::string> probeNames;
  for (int i = 0; i < 64; ++i)
    probeNames.push_back("OMProbe" + std::to_string(i));
  const std::string viewName(ITestView::IID.name);
  const KORIID viewCopy(viewName.c_str());
  int counted = 0;
  for (int round = 0; round < 2; ++round)
    for (const std::string& probeName : probeNames) {
      void* found = nullptr;
      EXPECT_EQ(screen->QueryInterface(KORIID(probeName.c_str()), &found), E_NOINTERFACE)
          << probeName;
      EXPECT_EQ(found, nullptr);
      auto view = KORQuery<ITestView>(screen);
      ASSERT_TRUE(view) << "after " << probeName;
      EXPECT_EQ(view->ViewKind(), 2);
      ASSERT_EQ(screen->QueryInterface(viewCopy, &found), S_OK) << "after " << probeName;
      auto copied = KORSmartPtr<ITestView>::Adopt(static_cast<ITestView*>(found));
      EXPECT_EQ(copied.get(), view.get());
      EXPECT_EQ(KORQuery<ITestCounter>(screen)->Increment(), ++counted)
          << "another counter answered after " << probeName;
      EXPECT_EQ(KORQuery<ITestOwn>(view)->Own(), 1);
    }
  EXPECT_LE(implementation->KeptAnswerCount(), 9u) << "answers kept beyond their places";
  EXPECT_EQ(gLiveExtensions, 2) << "an extension was made twice";
}
} // namespace
