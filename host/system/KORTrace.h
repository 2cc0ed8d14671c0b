#pragma once
// Traces: one-line diagnostics a module writes while it runs, off unless
// asked for. Traces never change what the program does.
//
// A trace line is written to standard error as
//
//   <Module>: <text>\n
//
// e.g. "Loader: module started". Each call writes exactly one line
// with a single write, so lines from several threads never interleave; any
// newline or carriage return inside the text is written as a blank.
//
// Traces of a module are on when environment variable KOR_TRACE lists it:
// module names separated by ',' (blanks around a name are ignored), or "all"
// for every module. The variable is read at the first trace call, and again
// after KORTraceReset(). When every module is off and nothing is captured, a
// trace call costs one atomic flag check.
//
// Tests record lines with KORTraceCapture instead of reading standard error.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

#include <atomic>
#include <initializer_list>
#include <string_view>
#include <vector>

// A trace module as the host lists it: what it traces and where. Modules
// register theirs when they are loaded; the host names none of its own.
struct KORTraceModuleInfo {
  KORString name;
  KORUnicodeString description; // "Traces for module <name>"
  KORString output;             // "STDERR"
};
// Adds iModule to the registry. S_FALSE (and nothing changed) when a module
// of that name is registered already; E_INVALIDARG for an empty name.
[[nodiscard]] HRESULT KORRegisterTraceModule(const KORTraceModuleInfo& iModule);
// The registered trace modules, in registration order.
std::vector<KORTraceModuleInfo> KORTraceModules();

namespace kor_detail {
// False once KOR_TRACE was read and names no module and nothing is captured:
// read inline, as model operations check their trace on every call.
extern std::atomic<bool> gTraceMayBeActive;
} // namespace kor_detail

class KORTrace {
public:
  explicit KORTrace(const char* iModuleName) : _moduleName(iModuleName) {}

  // True when this module's lines go somewhere: on through KOR_TRACE, or
  // captured. Worth checking before building an expensive line.
  bool IsActive() const {
    return kor_detail::gTraceMayBeActive.load(std::memory_order_acquire) && IsModuleActive();
  }

  // Writes "<Module>: iLine" when active.
  void Write(std::string_view iLine) const;

  // Writes a printf-formatted line when active; formats nothing otherwise.
  void Printf(const char* iFormat, ...) const __attribute__((format(printf, 2, 3)));

  const KORString& ModuleName() const { return _moduleName; }

private:
  bool IsModuleActive() const;
  KORString _moduleName;
};

// Makes the next trace call read KOR_TRACE again.
void KORTraceReset();

// While alive, records the lines of the modules it names, whatever KOR_TRACE
// says, instead of writing them to standard error. Each recorded line has the
// written form without its final newline ("<Module>: <text>"). Captures may
// be nested: every live capture naming a module records its lines.
class KORTraceCapture {
public:
  explicit KORTraceCapture(std::initializer_list<std::string_view> iModuleNames);
  ~KORTraceCapture();
  KORTraceCapture(const KORTraceCapture&) = delete;
  KORTraceCapture& operator=(const KORTraceCapture&) = delete;

  // The lines recorded so far, in call order.
  std::vector<KORString> Lines() const;

private:
  friend class KORTraceDispatcher;

  std::vector<KORString> _moduleNames;
  std::vector<KORString> _lines;
};
