#include "system/KORFileLock.h"

#include "system/KORAtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

KORFileLock::KORFileLock(KORFileLock&& ioOther) noexcept
    : _descriptor(std::exchange(ioOther._descriptor, -1)) {}

KORFileLock& KORFileLock::operator=(KORFileLock&& ioOther) noexcept {
  if (this != &ioOther) {
    Unlock();
    _descriptor = std::exchange(ioOther._descriptor, -1);
  }
  return *this;
}

KORFileLock::~KORFileLock() {
  Unlock();
}

HRESULT KORFileLock::Lock(const KORUnicodeString& iPath, KORUnicodeString& oError) {
  Unlock();
  struct stat status = {};
  // A directory is locked through a descriptor of its own; a file is made when missing.
  const bool isDirectory = ::stat(iPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
  const int descriptor = isDirectory ? ::open(iPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                                     : ::open(iPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  int result = descriptor < 0 ? -1 : 0;
  while (result == 0 && ::flock(descriptor, LOCK_EX) != 0)
    if (errno != EINTR)
      result = -1;
  if (result != 0) {
    oError = iPath + ": cannot be locked: " + KORSystemReason(errno);
    if (descriptor >= 0)
      ::close(descriptor);
    return E_FAIL;
  }
  _descriptor = descriptor;
  return S_OK;
}

void KORFileLock::Unlock() {
  if (_descriptor >= 0)
    ::close(_descriptor); // closing the last descriptor releases the flock
  _descriptor = -1;
}
