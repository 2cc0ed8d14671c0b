// A module for the driver tests, over the nodes of the feature-store tests
// ("STNode" features with "Name" and "Count"): a small editing command with
// one of each widget, its headers, a one-button workbench offered on the
// application frame, the nodes' edit action and their journal names
// ("node:NAME").
#include "command/KORIEdit.h"
#include "command/KORIJournalNaming.h"
#include "command/KORStateCommand.h"
#include "command/KORWorkshop.h"
#include "dialog/KORDlgNotifications.h"
#include "dialog/KORDlgNotify.h"
#include "dialog/KORDlgWidgets.h"
#include "featurestore/KORDocument.h"
#include "featurestore/KORISpecAttrAccess.h"
#include "featurestore/KORISpecObject.h"
#include "objectmodel/KORImplementation.h"
#include "system/KORModule.h"

namespace {
constexpr const char* kModule = "KORTestDriverModule";

KORSmartPtr<KORISpecAttrAccess> Attributes(KORBaseUnknown* iNode) {
  return KORQuery<KORISpecAttrAccess>(iNode);
}

int CountOf(KORBaseUnknown* iNode) {
  int count = -1;
  auto attributes = Attributes(iNode);
  return attributes && SUCCEEDED(attributes->GetInteger("Count", count)) ? count : -1;
}

// Edits a node's "Count" live from its spinner: OK and Apply keep it, Cancel
// and Close put back the count the command found. Started without a node,
// it waits for a node to be picked (or pre-selected). "ResetPush" asks
// "ResetNfy" (yes/no) before setting the count to 0.
class CountCmd : public KORStateCommand {
public:
  explicit CountCmd(KORBaseUnknown* iNode) : KORStateCommand("CountCmd"), _node(iNode) {}

  void BuildGraph() override {
    _dialog = new KORDlgDialog(this, "CountDlg", KORDlgOK | KORDlgCancel | KORDlgApply);
    _spinner = new KORDlgSpinner(_dialog, "CountSpinner");
    _spinner->SetRange(0, 100, 100);
    _lock = new KORDlgCheckButton(_dialog, "LockCheck");
    auto* reset = new KORDlgPushButton(_dialog, "ResetPush");
    auto* size = new KORDlgCombo(_dialog, "SizeCombo");
    size->SetLine("small");
    size->SetLine("large");
    auto* tabs = new KORDlgTabContainer(_dialog, "Tabs");
    new KORDlgTabPage(tabs, "PageA");
    new KORDlgEditor(new KORDlgTabPage(tabs, "PageB"), "NameEditor");
    (new KORDlgEditor(_dialog, "HiddenEditor"))->SetVisibility(false);
    _question = new KORDlgNotify(this, "ResetNfy", KORDlgNotifyStyle::Question,
                                 KORDlgAnswerYes | KORDlgAnswerNo);

    auto* node = MakeAgent<KORPathElementAgent>("NodeAgent");
    node->AddElementType(KORISpecObject::IID);
    node->SetBehavior(KORAgentValuedFromSelection);
    auto* spin = Accept("SpinAgent", _spinner, KORDlgSpinnerValueChangedNotification::ClassName);
    auto* lock = Accept("LockAgent", _lock, KORDlgCheckModifyNotification::ClassName);
    auto* push = Accept("ResetAgent", reset, KORDlgPushBActivateNotification::ClassName);
    auto* yes = Accept("YesAgent", _question, KORDlgNfyYesNotification::ClassName);
    auto* no = Accept("NoAgent", _question, KORDlgNfyNoNotification::ClassName);
    auto* ok = Accept("OkAgent", _dialog, KORDlgDialog::GetDiaOKNotification());
    ok->SetBehavior(0);
    auto* apply = Accept("ApplyAgent", _dialog, KORDlgDialog::GetDiaAPPLYNotification());
    auto* cancel = Accept("CancelAgent", _dialog, KORDlgDialog::GetDiaCANCELNotification());
    cancel->AcceptOnNotify(_dialog, KORDlgDialog::GetWindCloseNotification());
    cancel->SetBehavior(0);

    KORCommandState* editing = _node ? GetInitialState("editState") : AddDialogState("editState");
    for (KORCommandAgent* agent : {spin, lock, push, yes, no, ok, apply, cancel})
      editing->AddDialogAgent(agent);
    if (!_node) {
      KORCommandState* picking = GetInitialState("pickState");
      picking->AddDialogAgent(node);
      AddTransition(picking, editing, IsOutputSetCondition(node), [this, node] {
        _node = node->GetElementValue();
        return ShowDialog();
      });
    }
    AddTransition(editing, editing, IsLastModifiedAgentCondition(spin), [this] {
      return Write(static_cast<int>(_spinner->GetValue()));
    });
    AddTransition(editing, editing, IsLastModifiedAgentCondition(lock), [this] {
      _spinner->SetSensitivity(!_lock->GetState());
      return true;
    });
    AddTransition(editing, editing, IsLastModifiedAgentCondition(push), [this] {
      _question->Display("Set the count back to 0?", "Reset");
      return true;
    });
    AddTransition(editing, editing, IsLastModifiedAgentCondition(yes), [this] { return Write(0); });
    AddTransition(editing, editing, IsLastModifiedAgentCondition(no));
    AddTransition(editing, nullptr, IsOutputSetCondition(ok));
    AddTransition(editing, editing, IsLastModifiedAgentCondition(apply));
    AddTransition(editing, nullptr, IsOutputSetCondition(cancel), [this] { return Write(_found); });
  }

  void Activate() override {
    if (_node)
      ShowDialog();
  }
  // Cancelled from outside (another command starts, the frame ends): the
  // count goes back as with the Cancel button.
  void Cancel() override {
    if (_node && _spinner)
      Write(_found);
    KORStateCommand::Cancel();
  }

private:
  KORDialogAgent* Accept(const char* iId, KORCommand* iSender, const char* iNotification) {
    auto* agent = MakeAgent<KORDialogAgent>(iId);
    agent->AcceptOnNotify(iSender, iNotification);
    agent->SetBehavior(KORAgentRepeat);
    return agent;
  }
  bool ShowDialog() {
    _found = CountOf(_node);
    _spinner->SetValue(_found);
    _dialog->SetVisibility(true);
    return true;
  }
  bool Write(int iCount) {
    auto attributes = Attributes(_node);
    _spinner->SetValue(iCount);
    return attributes && SUCCEEDED(attributes->SetInteger("Count", iCount));
  }

  KORBaseUnknown* _node;
  int _found = 0;
  KORDlgDialog* _dialog = nullptr;
  KORDlgSpinner* _spinner = nullptr;
  KORDlgCheckButton* _lock = nullptr;
  KORDlgNotify* _question = nullptr;
};

// "node:NAME" names the node whose "Name" is NAME among the document's
// features (of every container).
class TestNaming : public KORExtensionOf<KORIJournalNaming> {
public:
  HRESULT FindElement(const KORUnicodeString& iName, KORPathElement& oPath,
                      KORString& oError) override {
    if (!iName.starts_with("node:")) {
      oError = "unknown kind in \"" + iName + "\"";
      return E_FAIL;
    }
    std::vector<KORBaseUnknown*> found;
    auto document = KORGetImplementationAs<KORDocument>(QueryImpl<KORBaseUnknown>().get());
    for (const auto& container : document->GetCompoundContainer()->Containers())
      for (const auto& feature : container->Features())
        if (NameOf(feature->Identity()) == iName.substr(5))
          found.push_back(feature->Identity());
    if (found.size() != 1) {
      oError = found.empty() ? "no node named \"" + iName.substr(5) + "\"" : "ambiguous name";
      return E_FAIL;
    }
    oPath = KORPathElement{document->Identity(), found.front()};
    return S_OK;
  }
  HRESULT GetJournalName(KORBaseUnknown* iElement, KORUnicodeString& oName) override {
    oName = "node:" + NameOf(iElement);
    return S_OK;
  }

private:
  static KORUnicodeString NameOf(KORBaseUnknown* iNode) {
    KORUnicodeString name;
    auto attributes = Attributes(iNode);
    return attributes && SUCCEEDED(attributes->GetString("Name", name)) ? name : "";
  }
};

// Hands the caller the command to start.
class TestEdit : public KORExtIEdit<KORIEdit> {
public:
  KORCommand* Activate(KORPathElement* iPath) override {
    return iPath ? new CountCmd(iPath->GetLastElement()) : nullptr;
  }
};

class TestWorkbench final
    : public KORImplementationOf<TestWorkbench, KORIPRDWorkshopConfiguration> {
public:
  TestWorkbench() : KORImplementationOf("TestDriverWorkbench") {}
  void CreateCommands() override {
    new KORCommandHeader("CountCmdHdr", kModule, "CountCmd", nullptr, KORFrmAvailable);
    new KORCommandHeader("MissingCmdHdr", kModule, "MissingCmd", nullptr, KORFrmAvailable);
    new KORCommandHeader("OffCmdHdr", kModule, "CountCmd", nullptr, KORFrmUnavailable);
  }
  KORCmdWorkbench* CreateWorkbench() override {
    auto* workbench = new KORCmdWorkbench("TestDriverWorkbench", 1);
    auto* toolbar = new KORCmdContainer("TestDriverToolbar", 1);
    auto* count = new KORCmdStarter("btnCount", 1);
    count->SetCommand("CountCmdHdr", 0);
    toolbar->SetChild(count);
    workbench->SetChild(toolbar);
    return workbench;
  }
  const char* GetAddinInterface() override { return "TestDriverAddin"; }
  void GetCustomInterfaces(KORList1<KORString>&, int&) override {}
};

class TestWorkbenchFactory : public KORWorkshopConfigurationFactory<KORIGenericFactory> {
public:
  bool Support(const KORUnicodeString& iName) override { return iName == "TestDriverWorkbench"; }
  KORBaseUnknown* Create(const KORUnicodeString& iName) override {
    if (!Support(iName))
      return nullptr;
    KORBaseUnknown* made = nullptr;
    KORSmartPtr<TestWorkbench> workbench(new TestWorkbench());
    if (FAILED(workbench->QueryInterface(KORBaseUnknown::IID, reinterpret_cast<void**>(&made))))
      return nullptr;
    return made;
  }
};

const KORExtensionRow kExtensions[] = {
    {"KORProduct", "TestNaming", KORIJournalNaming::IID, KORExtensionKind::Code,
     &KORMakeExtension<TestNaming>},
    {"STNode", "TestEdit", KORIEdit::IID, KORExtensionKind::Code, &KORMakeExtension<TestEdit>},
    {"KORApplicationFrame", "TestWorkbenchFactory", KORIGenericFactory::IID,
     KORExtensionKind::Code, &KORMakeExtension<TestWorkbenchFactory>},
};
const KORModuleTable kTable{kModule, {}, kExtensions, {}};
} // namespace

extern "C" const KORModuleTable* KORModuleEntry() {
  return &kTable;
}
extern "C" KORCommand* fctCreateCountCmd(void* iArgument) {
  return new CountCmd(static_cast<KORBaseUnknown*>(iArgument));
}
