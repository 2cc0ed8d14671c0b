#include "system/KORAtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
                               const std::function<bool(int iDescriptor)>& iWriteContent) {
  if (iTarget.empty())
    return E_INVALIDARG;
  KORUnicodeString pattern = iTarget + ".tmp.XXXXXX";
  std::vector<char> temporaryName(pattern.begin(), pattern.end());
  temporaryName.push_back('\0');
  int descriptor = ::mkstemp(temporaryName.data());
  if (descriptor < 0)
    return E_FAIL;

  bool written =
      ::fchmod(descriptor, iMode) == 0 && iWriteContent(descriptor) && ::fsync(descriptor) == 0;
  // close() can report a delayed write error: it must succeed too.
  written = ::close(descriptor) == 0 && written;
  if (written && std::rename(temporaryName.data(), iTarget.c_str()) == 0)
    return S_OK;
  ::unlink(temporaryName.data());
  return E_FAIL;
}
