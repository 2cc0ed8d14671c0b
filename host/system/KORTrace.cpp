#include "system/KORTrace.h"

#include "system/KORAtomicFile.h"
#include "system/KOREnvironment.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <set>
#include <unistd.h>

// True until the environment is read: the first check reads it.
std::atomic<bool> kor_detail::gTraceMayBeActive{true};

// The process-wide trace switches and live captures.
class KORTraceDispatcher {
public:
  static KORTraceDispatcher& Get() {
    static KORTraceDispatcher dispatcher;
    return dispatcher;
  }

  bool IsActive(std::string_view iModule) {
    if (!kor_detail::gTraceMayBeActive.load(std::memory_order_acquire))
      return false;
    std::lock_guard lock(_mutex);
    return IsEnabled(iModule) || IsCaptured(iModule);
  }

  void Dispatch(std::string_view iModule, std::string_view iText) {
    if (!kor_detail::gTraceMayBeActive.load(std::memory_order_acquire))
      return;
    std::lock_guard lock(_mutex);
    bool captured = IsCaptured(iModule);
    if (!captured && !IsEnabled(iModule))
      return;
    KORString line(iModule);
    line += ": ";
    line += iText;
    std::replace(line.begin() + static_cast<std::ptrdiff_t>(iModule.size()), line.end(), '\n', ' ');
    std::replace(line.begin() + static_cast<std::ptrdiff_t>(iModule.size()), line.end(), '\r', ' ');
    if (captured) {
      for (KORTraceCapture* capture : _captures)
        if (Names(*capture, iModule))
          capture->_lines.push_back(line);
      return;
    }
    line += '\n';
    KORWriteAll(STDERR_FILENO, line);
  }

  void Reset() {
    std::lock_guard lock(_mutex);
    _environmentRead = false;
    _all = false;
    _enabled.clear();
    kor_detail::gTraceMayBeActive.store(true, std::memory_order_release);
  }

  void Attach(KORTraceCapture& iCapture) {
    std::lock_guard lock(_mutex);
    _captures.push_back(&iCapture);
    kor_detail::gTraceMayBeActive.store(true, std::memory_order_release);
  }

  void Detach(KORTraceCapture& iCapture) {
    std::lock_guard lock(_mutex);
    std::erase(_captures, &iCapture);
    UpdateMayBeActive();
  }

  std::vector<KORString> Lines(const KORTraceCapture& iCapture) {
    std::lock_guard lock(_mutex);
    return iCapture._lines;
  }

private:
  static bool Names(const KORTraceCapture& iCapture, std::string_view iModule) {
    return std::find(iCapture._moduleNames.begin(), iCapture._moduleNames.end(), iModule) !=
           iCapture._moduleNames.end();
  }

  bool IsCaptured(std::string_view iModule) const {
    return std::any_of(_captures.begin(), _captures.end(),
                       [&](const KORTraceCapture* iCapture) { return Names(*iCapture, iModule); });
  }

  bool IsEnabled(std::string_view iModule) {
    ReadEnvironmentOnce();
    return _all || _enabled.find(iModule) != _enabled.end();
  }

  void ReadEnvironmentOnce() {
    if (_environmentRead)
      return;
    _environmentRead = true;
    std::string_view list;
    if (const char* value = KORGetEnv("KOR_TRACE"))
      list = value;
    while (!list.empty()) {
      std::size_t comma = std::min(list.find(','), list.size());
      std::string_view name = list.substr(0, comma);
      list.remove_prefix(std::min(comma + 1, list.size()));
      std::size_t first = name.find_first_not_of(" \t");
      if (first == std::string_view::npos)
        continue;
      name = name.substr(first, name.find_last_not_of(" \t") - first + 1);
      if (name == "all")
        _all = true;
      else
        _enabled.emplace(name);
    }
    UpdateMayBeActive();
  }

  void UpdateMayBeActive() {
    bool mayBeActive = !_environmentRead || _all || !_enabled.empty() || !_captures.empty();
    kor_detail::gTraceMayBeActive.store(mayBeActive, std::memory_order_release);
  }

  std::mutex _mutex;
  bool _environmentRead = false;
  bool _all = false;
  std::set<KORString, std::less<>> _enabled;
  std::vector<KORTraceCapture*> _captures;
};

namespace {
std::mutex sTraceModulesMutex;
std::vector<KORTraceModuleInfo> sTraceModules;
} // namespace

HRESULT KORRegisterTraceModule(const KORTraceModuleInfo& iModule) {
  if (iModule.name.empty())
    return E_INVALIDARG;
  std::lock_guard lock(sTraceModulesMutex);
  for (const KORTraceModuleInfo& module : sTraceModules)
    if (module.name == iModule.name)
      return S_FALSE;
  sTraceModules.push_back(iModule);
  return S_OK;
}

std::vector<KORTraceModuleInfo> KORTraceModules() {
  std::lock_guard lock(sTraceModulesMutex);
  return sTraceModules;
}

bool KORTrace::IsModuleActive() const {
  return KORTraceDispatcher::Get().IsActive(_moduleName);
}

void KORTrace::Write(std::string_view iLine) const {
  KORTraceDispatcher::Get().Dispatch(_moduleName, iLine);
}

void KORTrace::Printf(const char* iFormat, ...) const {
  if (!IsActive())
    return;
  std::va_list arguments;
  va_start(arguments, iFormat);
  std::va_list measuring;
  va_copy(measuring, arguments);
  int length = std::vsnprintf(nullptr, 0, iFormat, measuring);
  va_end(measuring);
  if (length >= 0) {
    KORString text(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, iFormat, arguments);
    Write(text);
  }
  va_end(arguments);
}

void KORTraceReset() {
  KORTraceDispatcher::Get().Reset();
}

KORTraceCapture::KORTraceCapture(std::initializer_list<std::string_view> iModuleNames)
    : _moduleNames(iModuleNames.begin(), iModuleNames.end()) {
  KORTraceDispatcher::Get().Attach(*this);
}

KORTraceCapture::~KORTraceCapture() {
  KORTraceDispatcher::Get().Detach(*this);
}

std::vector<KORString> KORTraceCapture::Lines() const {
  return KORTraceDispatcher::Get().Lines(*this);
}
