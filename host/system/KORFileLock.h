#pragma once
// Advisory locks between processes (flock), for read-modify-write of files
// that several runs may change at once, such as a registry, or for a folder
// that several runs write into. A lock is held on an open descriptor of
// iPath (a file, created when missing, or a directory) and released when the
// KORFileLock is destroyed or the process ends, however it ends.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

class KORFileLock {
public:
  KORFileLock() = default;
  KORFileLock(const KORFileLock&) = delete;
  KORFileLock& operator=(const KORFileLock&) = delete;
  KORFileLock(KORFileLock&& ioOther) noexcept;
  KORFileLock& operator=(KORFileLock&& ioOther) noexcept;
  ~KORFileLock();

  // Waits until the exclusive lock of iPath is free and takes it. E_FAIL with
  // oError ("PATH: cannot be locked: REASON") when iPath cannot be opened.
  HRESULT Lock(const KORUnicodeString& iPath, KORUnicodeString& oError);
  bool IsHeld() const { return _descriptor >= 0; }
  void Unlock();

private:
  int _descriptor = -1;
};
