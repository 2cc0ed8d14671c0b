#pragma once
// The model's trace module "KORVrcModel". A scope writes "Entering " and
// "Exiting " lines around an operation; lines cost one check while traces are off.
#include "system/KORTrace.h"

inline const KORTrace& KORVrcModelTrace() {
  static const KORTrace trace(KORVrcModelTraceName);
  return trace;
}

class KORVrcTraceScope {
public:
  explicit KORVrcTraceScope(const char* iOperation) : _operation(iOperation) {
    if (KORVrcModelTrace().IsActive())
      KORVrcModelTrace().Printf("Entering %s", _operation);
  }
  ~KORVrcTraceScope() {
    if (KORVrcModelTrace().IsActive())
      KORVrcModelTrace().Printf("Exiting %s", _operation);
  }
  KORVrcTraceScope(const KORVrcTraceScope&) = delete;
  KORVrcTraceScope& operator=(const KORVrcTraceScope&) = delete;

private:
  const char* _operation;
};
