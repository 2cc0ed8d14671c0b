#pragma once
// The module's trace modules, which the component map registers with the
// host, and the model's trace scope. A scope writes "Entering " and "Exiting "
// lines around an operation; lines cost one check while traces are off.
#include "system/KORTrace.h"

// The configuration model and the export writers.
inline constexpr char KORVrcModelTraceName[] = "KORVrcModel";
// Visualization, tree and 2D.
inline constexpr char KORVrcViewTraceName[] = "KORVrcView";
// Commands, dialogs and direct manipulation.
inline constexpr char KORVrcControllerTraceName[] = "KORVrcController";

inline const KORTrace& KORVrcModelTrace() {
  static const KORTrace trace(KORVrcModelTraceName);
  return trace;
}

class KORVrcTraceScope {
public:
  explicit KORVrcTraceScope(const char* iOperation)
      : KORVrcTraceScope(KORVrcModelTrace(), iOperation) {}
  // Writes to iTrace (which must outlive the scope) instead of the model's.
  KORVrcTraceScope(const KORTrace& iTrace, const char* iOperation)
      : _trace(iTrace), _operation(iOperation) {
    if (_trace.IsActive())
      _trace.Printf("Entering %s", _operation);
  }
  ~KORVrcTraceScope() {
    if (_trace.IsActive())
      _trace.Printf("Exiting %s", _operation);
  }
  KORVrcTraceScope(const KORVrcTraceScope&) = delete;
  KORVrcTraceScope& operator=(const KORVrcTraceScope&) = delete;

private:
  const KORTrace& _trace;
  const char* _operation;
};
