#include "KORVrcWorkbench.h"

#include "KORVrcCmdHeader.h"
#include "KORVrcCommandTable.h"
#include "command/KORCommandEnvironment.h"
#include "command/KORFrmEditor.h"
#include "command/KORPrdPersistency.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kPersistent = 1;
constexpr int kInitialState = 1;
constexpr int kToolbarVisible = 1;
constexpr int kToolbarPosition = 3;

// The toolbar's buttons, in their toolbar order.
std::vector<KORCmdButton> ToolbarButtons() {
  std::vector<const KORVrcCommandRow*> rows;
  for (const KORVrcCommandRow& row : KORVrcCommands)
    if (row.starter)
      rows.push_back(&row);
  std::sort(rows.begin(), rows.end(), [](const KORVrcCommandRow* iA, const KORVrcCommandRow* iB) {
    return iA->toolbarPosition < iB->toolbarPosition;
  });
  std::vector<KORCmdButton> buttons;
  for (const KORVrcCommandRow* row : rows)
    buttons.push_back({row->starter, row->headerId});
  return buttons;
}
} // namespace

void KORVrcWorkbench::CreateCommands() {
  // Each header joins the current header list, which owns it.
  for (const KORVrcCommandRow& row : KORVrcCommands)
    new KORVrcCmdHeader(row.headerId, KORVrcModuleLoadName, row.className,
                        /*iArgument=*/nullptr, KORVrcHeaderResourceFile, kInitialState);
}

KORCmdWorkbench* KORVrcWorkbench::CreateWorkbench() {
  auto* workbench = new KORCmdWorkbench(KORVrcWorkbenchName, kPersistent);
  auto* toolbar = new KORCmdContainer("KORVrcToolbar", kPersistent);
  workbench->SetChild(toolbar);
  KORCmdStarter* first = KORChainStarters(ToolbarButtons(), kPersistent);
  toolbar->SetChild(first);
  toolbar->SetToolbarView(kToolbarVisible, kToolbarPosition);
  toolbar->SetChild(first);
  return workbench;
}

const char* KORVrcWorkbench::GetAddinInterface() {
  return "KORVrcWorkbenchAddin";
}

void KORVrcWorkbench::GetCustomInterfaces(KORList1<KORString>&, int&) {}

void* KORVrcWorkbench::CastToOwnInterface(const KORIID& iIID) {
  if (iIID == KORIID(KORVrcWorkbenchName))
    return static_cast<KORIPRDWorkshopConfiguration*>(this);
  return KORImplementationOf::CastToOwnInterface(iIID);
}

bool KORVrcWorkbenchFactory::Support(const KORUnicodeString& iName) {
  return iName == KORVrcWorkbenchName;
}

KORBaseUnknown* KORVrcWorkbenchFactory::Create(const KORUnicodeString& iName) {
  KORSmartPtr<KORVrcWorkbench> workbench(new KORVrcWorkbench());
  void* answer = nullptr;
  // The query by name: what answers iName, or nothing.
  if (FAILED(workbench->QueryInterface(KORIID(iName.c_str()), &answer)))
    return nullptr;
  return static_cast<KORBaseUnknown*>(answer);
}

HRESULT KORVrcWorkbenchCommandSet::EnumTopics(KORList1<KORString>& ioTopics) {
  ioTopics.Append(KORVrcUIActiveChangedTopic);
  return S_OK;
}

HRESULT KORVrcWorkbenchCommandSet::GetCommandSet(const KORString& iTopic,
                                                 KORStackableCommandSet** oSet) {
  if (!oSet)
    return E_INVALIDARG;
  *oSet = nullptr;
  if (iTopic != KORVrcUIActiveChangedTopic)
    return E_FAIL;
  if (!_set)
    _set = KORSmartPtr<KORStackableCommandSet>::Adopt(KORStackableCommandSet::Create());
  if (!_set)
    return E_FAIL;
  const KORCommandEnvironment* environment = KORCommandEnvironment::Current();
  KORFrmEditor* editor = environment ? environment->GetCurrentEditor() : nullptr;
  if (!editor)
    return E_FAIL;
  KORRegisterPersistencyServices();
  if (auto persistency = KORQuery<KORIPrdPLMPersistency>(editor->GetDocument())) {
    int mode = -1;
    int host = -1;
    const bool modeRead = SUCCEEDED(persistency->GetPersistencyMode(mode));
    const bool hostRead = SUCCEEDED(persistency->GetPersistencyHost(host));
    if ((modeRead && mode == 0) || (hostRead && host == 0))
      for (const KORVrcCommandRow& row : KORVrcCommands)
        _set->AddCommand(row.headerId);
  }
  _set->AddRef();
  *oSet = _set.get();
  return S_OK;
}
