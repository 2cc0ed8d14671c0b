#include "KORVrcHeadEdtCmd.h"

#include "KORVrcHeadEditDlg.h"
#include "interfaces/KORIVrcTrackedElement.h"

namespace {
// The agents' identifiers are free; these name the dialog's buttons.
constexpr KORVrcEditAgentIds kAgentIds{"KORVrcHeadEditDlgOK", "KORVrcHeadEditDlgCANCEL",
                                       "KORVrcHeadEditDlgAPPLY", "KORVrcHeadEditDlgCLOSE"};
// The largest eye distance a description holds, in millimetres.
constexpr double kMaxIPD = 1000;
} // namespace

KORVrcHeadEdtCmd::KORVrcHeadEdtCmd(KORIVrcHead* iHead)
    : KORVrcEditCmd("KORVrcHeadEdtCmd", iHead, kAgentIds), _head(iHead) {}

void KORVrcHeadEdtCmd::Cancel() {
  TraceMethod("KORCommand::Cancel()");
  KORVrcEditCmd::Cancel();
}

KORBaseUnknown_var KORVrcHeadEdtCmd::RetrieveElement() {
  return RetrieveFromFactory(&KORIVrcFactory::RetrieveHead, _head);
}

KORDlgDialog* KORVrcHeadEdtCmd::BuildDialog() {
  _headDialog = new KORVrcHeadEditDlg(this);
  _headDialog->Build();
  return _headDialog;
}

void KORVrcHeadEdtCmd::SaveValues() {
  // Values that cannot be read keep the defaults of a new head.
  if (FAILED(_head->GetIPD(&_savedIPD)))
    _savedIPD = 57;
  if (FAILED(_head->GetType(&_savedType)))
    _savedType = KORVrcHeadCustom;
  const KORIVrcTrackedElement_var tracked = KORQuery<KORIVrcTrackedElement>(_head);
  if (!tracked || FAILED(tracked->GetLocation(_savedLocation)))
    _savedLocation = KORMathTransformation();
}

void KORVrcHeadEdtCmd::InitDialog() {
  _headDialog->SetValues(_savedIPD, _savedType, _savedLocation);
}

bool KORVrcHeadEdtCmd::CheckValues() {
  double ipd = 0;
  KORVrcHeadType type{};
  KORMathTransformation location;
  _headDialog->GetValues(ipd, type, location);
  if (ipd > 0 && ipd <= kMaxIPD)
    return true;
  ShowRefusal("IPDOutOfRange", "The eye distance must be more than 0 mm and at most 1000 mm.");
  return false;
}

bool KORVrcHeadEdtCmd::Write(double iIPD, KORVrcHeadType iType,
                             const KORMathTransformation& iLocation) {
  if (!_head)
    return false;
  const KORIVrcTrackedElement_var tracked = KORQuery<KORIVrcTrackedElement>(_head);
  const bool written = SUCCEEDED(_head->SetIPD(iIPD)) && SUCCEEDED(_head->SetType(iType));
  return tracked && SUCCEEDED(tracked->SetLocation(iLocation)) && written;
}

bool KORVrcHeadEdtCmd::WriteValues() {
  double ipd = 0;
  KORVrcHeadType type = KORVrcHeadCustom;
  KORMathTransformation location;
  _headDialog->GetValues(ipd, type, location);
  return Write(ipd, type, location);
}

bool KORVrcHeadEdtCmd::RestoreValues() {
  return Write(_savedIPD, _savedType, _savedLocation);
}

extern "C" KORCommand* fctCreateKORVrcHeadEdtCmd(void* iHead) {
  return new KORVrcHeadEdtCmd(static_cast<KORIVrcHead*>(iHead));
}
