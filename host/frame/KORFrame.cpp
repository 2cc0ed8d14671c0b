#include "frame/KORFrame.h"

#include "command/KORWorkshop.h"
#include "objectmodel/KORImplementation.h"

namespace {
// The frame as a component: modules attach their workbench factories to its
// late type.
class KORApplicationFrame final : public KORImplementationOf<KORApplicationFrame, KORBaseUnknown> {
public:
  KORApplicationFrame() : KORImplementationOf(KORFrame::LateTypeName) {}
};
} // namespace

KORFrame::KORFrame()
    : _dragTransactions(_editor, _commands.GetCommandManager()),
      _application(KORSmartPtr<KORBaseUnknown>(new KORApplicationFrame())) {
  _commands.SetCurrentEditor(&_editor);
  _commands.GetCommandManager().SetObserver(&_transactions);
  _manipulator.SetObserver(&_dragTransactions);
}

KORFrame::~KORFrame() {
  // Commands still running are cancelled while the frame is current, so that
  // what they do as they end reaches this frame and no other.
  KORFrameScope scope(*this);
  _commands.GetCommandManager().CancelActiveCommand();
}

KORFrame* KORFrame::Current() {
  return dynamic_cast<KORFrame*>(KORGetFrameServices());
}

HRESULT KORFrame::LoadWorkbench(const KORString& iName, KORString& oError) {
  KORFrameScope scope(*this);
  auto factory = KORQuery<KORIGenericFactory>(_application.get());
  if (!factory || !factory->Support(iName)) {
    oError = "no loaded module offers the workbench " + iName;
    return S_FALSE;
  }
  auto made = KORSmartPtr<KORBaseUnknown>::Adopt(factory->Create(iName));
  auto configuration = KORQuery<KORIPRDWorkshopConfiguration>(made.get());
  if (!configuration) {
    oError = "the workbench " + iName + " could not be made";
    return E_FAIL;
  }
  configuration->CreateCommands();
  _workbench.reset(configuration->CreateWorkbench());
  if (!_workbench) {
    oError = "the workbench " + iName + " made no access tree";
    return E_FAIL;
  }
  return S_OK;
}

std::size_t KORFrame::OnIdle() {
  KORFrameScope scope(*this);
  return _deviceService.GetDispatcher().Pump();
}

HRESULT KORFrame::Replay(HRESULT (KORITransactions::*iReplay)()) {
  KORFrameScope scope(*this);
  _commands.GetCommandManager().CancelActiveCommand();
  auto document = KORQuery<KORITransactions>(_editor.GetDocument());
  return document ? (document.get()->*iReplay)() : E_FAIL;
}

HRESULT KORFrame::Undo() {
  return Replay(&KORITransactions::Undo);
}

HRESULT KORFrame::Redo() {
  return Replay(&KORITransactions::Redo);
}

KORFrameScope::KORFrameScope(KORFrame& iFrame)
    : _previous(KORSetFrameServices(&iFrame)), _visManagerScope(iFrame.VisManager()),
      _layoutScope(iFrame.Layout()), _deviceServiceScope(iFrame.DeviceService()) {}

KORFrameScope::~KORFrameScope() {
  KORSetFrameServices(_previous);
}
