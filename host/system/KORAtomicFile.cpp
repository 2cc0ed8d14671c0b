#include "system/KORAtomicFile.h"

#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The temporaries this process has open, readable from a signal handler:
// fixed slots, no allocation, a slot is published only once its path is set.
struct TemporarySlot {
  std::atomic<bool> claimed{false};
  std::atomic<bool> ready{false}; // set once path holds the whole name
  char path[PATH_MAX] = {};
};
std::array<TemporarySlot, 64> gTemporaries;

TemporarySlot* Remember(const char* iPath) {
  if (std::strlen(iPath) >= PATH_MAX)
    return nullptr;
  for (TemporarySlot& slot : gTemporaries) {
    bool expected = false;
    if (slot.claimed.compare_exchange_strong(expected, true)) {
      std::strcpy(slot.path, iPath);
      slot.ready.store(true);
      return &slot;
    }
  }
  return nullptr; // more temporaries than slots: these few are not cleaned on a signal
}

void Forget(TemporarySlot* ioSlot) {
  if (!ioSlot)
    return;
  ioSlot->ready.store(false);
  ioSlot->claimed.store(false);
}

extern "C" void RemoveTemporariesAndDie(int iSignal) {
  for (TemporarySlot& slot : gTemporaries)
    if (slot.ready.load())
      ::unlink(slot.path);
  std::signal(iSignal, SIG_DFL);
  std::raise(iSignal);
}

// One open temporary beside its target.
class Temporary {
public:
  explicit Temporary(const KORUnicodeString& iTarget) : _name(iTarget + ".tmp.XXXXXX") {}
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;
  ~Temporary() { Discard(); }

  bool Open() {
    // Blocked signals while the slot is taken: a signal between mkstemp and
    // Remember would otherwise leave the file behind.
    sigset_t all, previous;
    sigfillset(&all);
    ::sigprocmask(SIG_BLOCK, &all, &previous);
    _descriptor = ::mkstemp(_name.data());
    const int error = errno;
    _created = _descriptor >= 0;
    if (_created)
      _slot = Remember(_name.c_str());
    ::sigprocmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return _descriptor >= 0;
  }
  // Permissions, content, flush and close; errno says why on failure.
  bool Fill(mode_t iMode, const std::function<bool(int)>& iWriteContent) {
    bool written = ::fchmod(_descriptor, iMode) == 0 && iWriteContent(_descriptor) &&
                   ::fsync(_descriptor) == 0;
    const int error = errno;
    // close() can report a delayed write error: it must succeed too.
    written = ::close(_descriptor) == 0 && written;
    _descriptor = -1;
    if (!written && errno == 0)
      errno = error;
    return written;
  }
  bool RenameTo(const KORUnicodeString& iTarget) {
    if (std::rename(_name.c_str(), iTarget.c_str()) != 0)
      return false;
    Forget(_slot);
    _slot = nullptr;
    _renamed = true;
    return true;
  }
  void Discard() {
    if (_descriptor >= 0)
      ::close(_descriptor);
    _descriptor = -1;
    if (_created && !_renamed)
      ::unlink(_name.c_str());
    Forget(_slot);
    _slot = nullptr;
  }

private:
  KORUnicodeString _name;
  int _descriptor = -1;
  TemporarySlot* _slot = nullptr;
  bool _created = false;
  bool _renamed = false;
};

KORUnicodeString Reason(const KORUnicodeString& iPath, const char* iWhat) {
  return iPath + ": " + iWhat + ": " + KORSystemReason(errno);
}

} // namespace

KORUnicodeString KORSystemReason(int iError) {
  KORUnicodeString reason = std::strerror(iError);
  if (!reason.empty())
    reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
  return reason;
}

bool KORWriteAll(int iDescriptor, std::string_view iBytes) {
  while (!iBytes.empty()) {
    ssize_t written = ::write(iDescriptor, iBytes.data(), iBytes.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    iBytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

HRESULT KORWriteFileAtomically(const KORUnicodeString& iTarget, mode_t iMode,
                               const std::function<bool(int iDescriptor)>& iWriteContent,
                               KORUnicodeString* oError) {
  if (iTarget.empty())
    return E_INVALIDARG;
  KORUnicodeString error;
  Temporary temporary(iTarget);
  if (!temporary.Open())
    error = Reason(iTarget, "cannot be written");
  else if (!temporary.Fill(iMode, iWriteContent))
    error = Reason(iTarget, "cannot be written");
  else if (!temporary.RenameTo(iTarget))
    error = Reason(iTarget, "cannot be replaced");
  if (error.empty())
    return S_OK;
  if (oError)
    *oError = error;
  return E_FAIL;
}

HRESULT KORWriteFilesTogether(const std::vector<KORFileToWrite>& iFiles, mode_t iMode,
                              KORUnicodeString& oError) {
  // A rename over a directory fails: found before the first file is written.
  for (const KORFileToWrite& file : iFiles) {
    struct stat status = {};
    if (::stat(file.path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
      oError = file.path + ": cannot be written: " + KORSystemReason(EISDIR);
      return E_FAIL;
    }
  }
  std::vector<std::unique_ptr<Temporary>> temporaries;
  for (const KORFileToWrite& file : iFiles) {
    temporaries.push_back(std::make_unique<Temporary>(file.path));
    Temporary& temporary = *temporaries.back();
    if (!temporary.Open() || !temporary.Fill(iMode, [&](int iDescriptor) {
          return KORWriteAll(iDescriptor, file.text);
        })) {
      oError = Reason(file.path, "cannot be written");
      return E_FAIL; // the destructors remove every temporary
    }
  }
  for (std::size_t index = 0; index < iFiles.size(); ++index)
    if (!temporaries[index]->RenameTo(iFiles[index].path)) {
      oError = Reason(iFiles[index].path, "cannot be replaced");
      return E_FAIL;
    }
  return S_OK;
}

void KORRemoveTemporariesOnSignal() {
  struct sigaction action = {};
  action.sa_handler = RemoveTemporariesAndDie;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP})
    ::sigaction(signal, &action, nullptr);
}
