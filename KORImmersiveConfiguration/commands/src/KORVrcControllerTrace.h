#pragma once
// The trace module of the commands, dialogs and direct manipulation.
#include "KORVrcTrace.h"

inline const KORTrace& KORVrcControllerTrace() {
  static const KORTrace trace(KORVrcControllerTraceName);
  return trace;
}
