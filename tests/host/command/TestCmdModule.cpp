// A module library for the header tests: it exports the creation function of
// one small command, whose dialog shows the header's argument as its title.
#include "command/KORStateCommand.h"
#include "dialog/KORDlgObject.h"
#include "system/KORModule.h"

namespace {
class TestCmd : public KORStateCommand {
public:
  explicit TestCmd(void* iArgument) : KORStateCommand("TestCmd"), _argument(iArgument) {}

  void BuildGraph() override {
    auto* dialog = new KORDlgDialog(this, "TestCmdDlg");
    dialog->SetTitle(_argument ? static_cast<const char*>(_argument) : "(none)");
    dialog->SetVisibility(true);
    auto* ok = MakeAgent<KORDialogAgent>("TestCmdOK");
    ok->AcceptOnNotify(dialog, KORDlgDialog::GetDiaOKNotification());
    KORCommandState* state = GetInitialState("initialState");
    state->AddDialogAgent(ok);
    AddTransition(state, nullptr, IsOutputSetCondition(ok));
  }

private:
  void* _argument;
};

const KORModuleTable kTable{"KORTestCmdModule", {}, {}, {}};
} // namespace

extern "C" const KORModuleTable* KORModuleEntry() {
  return &kTable;
}
extern "C" KORCommand* fctCreateTestCmd(void* iArgument) {
  return new TestCmd(iArgument);
}
// Exported, but makes nothing: a header naming it must fail cleanly.
extern "C" KORCommand* fctCreateNullCmd(void*) {
  return nullptr;
}
