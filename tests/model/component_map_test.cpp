// The module's component map checked against the module itself: every row's
// extension implements the interface the row names and is what an object of
// the row's late type is given, and every interface the module declares is
// answered by some row. The checks run on the real table and on broken copies
// of it, which they must reject.
#include "KORVrcTrace.h"
#include "ModelFixture.h"
#include "objectmodel/KORLateType.h"
#include "system/KORResource.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <span>
#include <vector>

namespace {

// The interfaces declared by the headers of the module's interfaces folder.
std::set<std::string> DeclaredInterfaces() {
  const std::regex declaration(R"(KOR_INTERFACE\((KORI\w+),)");
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(KOR_MODULE_INTERFACES)) {
    std::ifstream header(entry.path());
    for (std::string line; std::getline(header, line);) {
      std::smatch match;
      if (std::regex_search(line, match, declaration))
        names.insert(match[1]);
    }
  }
  return names;
}

std::string RowName(const KORExtensionRow& iRow) {
  return std::string(iRow.lateType) + " / " + iRow.interfaceId.name + " / " + iRow.extensionName;
}

// What is wrong with iRows as the component map of a module declaring
// iInterfaces, one line per fault. The rows are looked up in the extension
// dictionary as the host registered it.
std::vector<std::string> ComponentMapFaults(std::span<const KORExtensionRow> iRows,
                                            const std::set<std::string>& iInterfaces) {
  std::vector<std::string> faults;
  std::set<std::string> answered;
  for (const KORExtensionRow& row : iRows) {
    KORExtensionArena arena;
    KORExtension* extension = row.create(arena);
    const bool implements = extension->CastTo(row.interfaceId) != nullptr;
    extension->~KORExtension(); // its room goes with the arena
    if (!implements)
      faults.push_back(RowName(row) + ": the extension does not implement the interface");
    const KORLateType* type = KORLateType::Find(row.lateType);
    const KORExtensionRow* given =
        type ? KORExtensionDictionary::Get().Resolve(*type, row.interfaceId) : nullptr;
    if (!type)
      faults.push_back(RowName(row) + ": the late type is not declared");
    else if (!given || given->create != row.create || given->kind != row.kind)
      faults.push_back(RowName(row) + ": an object of the late type is given another extension");
    answered.insert(row.interfaceId.name);
  }
  for (const std::string& name : iInterfaces)
    if (!answered.count(name))
      faults.push_back(name + ": no row answers it");
  return faults;
}

class ComponentMapTest : public ModelTest {
protected:
  void SetUp() override {
    ModelTest::SetUp();
    // The first configuration opens the module's feature catalog, which
    // declares the element types.
    ASSERT_TRUE(Config());
    std::string error;
    auto entry = reinterpret_cast<KORModuleEntryFunction>(
        KORFindModuleFunction("KORVrConfig", KOR_MODULE_ENTRY_SYMBOL, error));
    ASSERT_NE(entry, nullptr) << error;
    table = entry();
    ASSERT_NE(table, nullptr);
    rows = std::vector<KORExtensionRow>(table->extensions.begin(), table->extensions.end());
    interfaces = DeclaredInterfaces();
  }

  // A copy of the real rows with the row of (iLateType, iInterface) changed.
  template <class Change>
  std::vector<KORExtensionRow> BrokenCopy(const char* iLateType, const char* iInterface,
                                          Change iChange) {
    std::vector<KORExtensionRow> copy;
    for (const KORExtensionRow& row : rows) {
      if (std::string(row.lateType) == iLateType && std::string(row.interfaceId.name) == iInterface)
        iChange(copy, row);
      else
        copy.push_back(row);
    }
    return copy;
  }

  const KORModuleTable* table = nullptr;
  std::vector<KORExtensionRow> rows;
  std::set<std::string> interfaces;
};

TEST_F(ComponentMapTest, TheModulesMapIsRightAndComplete) {
  EXPECT_GE(interfaces.size(), 20u) << "the interface headers were not found";
  EXPECT_TRUE(interfaces.count("KORIVrcScreenView"));
  EXPECT_EQ(ComponentMapFaults(rows, interfaces), std::vector<std::string>{});
}

TEST_F(ComponentMapTest, BrokenCopiesOfTheMapAreRejected) {
  const KORExtensionRow* windowRow = nullptr;
  for (const KORExtensionRow& row : rows)
    if (std::string(row.interfaceId.name) == "KORIVrcWindow")
      windowRow = &row;
  ASSERT_NE(windowRow, nullptr);
  struct Case {
    const char* what;
    std::vector<KORExtensionRow> copy;
    std::vector<std::string> faults;
  };
  const Case cases[] = {
      {"the image generator's row makes a window",
       BrokenCopy("KORVrcIG", "KORIVrcIG",
                  [&](auto& ioCopy, const KORExtensionRow& iRow) {
                    ioCopy.push_back({iRow.lateType, iRow.extensionName, iRow.interfaceId,
                                      iRow.kind, windowRow->create});
                  }),
       {"KORVrcIG / KORIVrcIG / KOREVrcIG: the extension does not implement the interface",
        "KORVrcIG / KORIVrcIG / KOREVrcIG: an object of the late type is given another extension"}},
      {"the export interface is forgotten",
       BrokenCopy("KORVrcConfig", "KORIVrcXML", [](auto&, const KORExtensionRow&) {}),
       {"KORIVrcXML: no row answers it"}},
      {"the screen view's row names the camera view's type",
       BrokenCopy("KORVrcScreenView", "KORIVrcScreenView",
                  [](auto& ioCopy, const KORExtensionRow& iRow) {
                    ioCopy.push_back({"KORVrcCameraView", iRow.extensionName, iRow.interfaceId,
                                      iRow.kind, iRow.create});
                  }),
       {"KORVrcCameraView / KORIVrcScreenView / KOREVrcScreenView: an object of the late type is "
        "given another extension"}},
  };
  for (const Case& test : cases)
    EXPECT_EQ(ComponentMapFaults(test.copy, interfaces), test.faults) << test.what;
}

TEST_F(ComponentMapTest, TheModuleRegistersItsTracesAndResources) {
  for (const char* name : {KORVrcModelTraceName, KORVrcViewTraceName, KORVrcControllerTraceName}) {
    bool found = false;
    for (const KORTraceModuleInfo& module : KORTraceModules())
      if (module.name == name) {
        found = true;
        EXPECT_EQ(module.description, std::string("Traces for module ") + name);
        EXPECT_EQ(module.output, "STDERR");
      }
    EXPECT_TRUE(found) << name;
  }
  // The host itself knows no resource folder: the module's catalog is found
  // through the folder the module registered.
  KORUnicodeString path;
  ASSERT_EQ(KORGetImagePathName("VrConfig.dtd", path), S_OK);
  EXPECT_TRUE(std::filesystem::equivalent(path, std::filesystem::path(KOR_MODULE_INTERFACES) /
                                                    "../resources/dtd/VrConfig.dtd"))
      << path;
}

} // namespace
