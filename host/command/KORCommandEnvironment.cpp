#include "command/KORCommandEnvironment.h"

namespace {
// The one pointer through which headers find their frame's environment; set
// only by Scope, which the frame holds while it runs.
thread_local KORCommandEnvironment* tCurrent = nullptr;
} // namespace

KORCommandEnvironment* KORCommandEnvironment::Current() {
  return tCurrent;
}

KORCommandEnvironment::Scope::Scope(KORCommandEnvironment& iEnvironment) : _previous(tCurrent) {
  tCurrent = &iEnvironment;
}

KORCommandEnvironment::Scope::~Scope() {
  tCurrent = _previous;
}
