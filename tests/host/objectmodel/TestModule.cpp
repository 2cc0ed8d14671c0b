// A module library for the loading tests: one extension, one component, one
// exported creation function, one trace module, a resource folder and a drag
// condition.
#include "TestInterfaces.h"
#include "system/KORModule.h"

namespace {
class TestModuleService : public KORExtensionOf<ITestModuleService> {
public:
  int Answer() override { return 42; }
};

class TestModuleComponent final
    : public KORImplementationOf<TestModuleComponent, ITestModuleService> {
public:
  TestModuleComponent() : KORImplementationOf("TestModuleComponent") {}
  int Answer() override { return 7; }
};

KORBaseUnknown* MakeComponent() {
  auto* component = new TestModuleComponent();
  component->AddRef();
  return component->Identity();
}

const KORLateTypeRow kLateTypes[] = {{"TestModuleType", ""},
                                     {"TestModuleDerivedType", "TestModuleType"}};
const KORExtensionRow kExtensions[] = {
    {"TestModuleType", "TestModuleService", ITestModuleService::IID, KORExtensionKind::Code,
     &KORMakeExtension<TestModuleService>},
};
const KORComponentRow kComponents[] = {{"TestModuleComponent", &MakeComponent}};
const KORTraceModuleRow kTraceModules[] = {
    {"KORTestModuleTrace", "Traces for module KORTestModuleTrace", "STDERR"}};
// KOR_TEST_MODULE_RESOURCES: this folder's "resources", from the library's folder.
const KORDragConditionRow kDragConditions[] = {{"TestModuleType", "TestModuleDragCondition"}};
const KORModuleTable kTable{"KORTestModule", kLateTypes,    kExtensions,
                            kComponents,     kTraceModules, KOR_TEST_MODULE_RESOURCES,
                            kDragConditions};
} // namespace

extern "C" const KORModuleTable* KORModuleEntry() {
  return &kTable;
}
extern "C" int fctCreateTestCommand() {
  return 1234;
}
extern "C" bool TestModuleDragCondition(KORBaseUnknown* iObject) {
  return iObject != nullptr;
}
