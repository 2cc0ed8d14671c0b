#include "system/KOREnvironment.h"

#include "system/KORAtomicFile.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsVariableName(const KORUnicodeString& iName) {
  if (iName.empty())
    return false;
  for (unsigned char c : iName)
    if (!std::isalnum(c) && c != '_')
      return false;
  return true;
}

// Expands the leading environment reference of iLogical into oExpanded.
bool ExpandLeadingReference(const KORUnicodeString& iLogical, KORUnicodeString& oExpanded) {
  if (iLogical.empty() || iLogical[0] != '$') {
    oExpanded = iLogical;
    return true;
  }
  KORUnicodeString name;
  std::size_t restStart = 0;
  if (iLogical.size() > 1 && iLogical[1] == '{') {
    std::size_t close = iLogical.find('}');
    if (close == KORUnicodeString::npos)
      return false;
    name = iLogical.substr(2, close - 2);
    restStart = close + 1;
  } else {
    restStart = iLogical.find('/');
    if (restStart == KORUnicodeString::npos)
      restStart = iLogical.size();
    name = iLogical.substr(1, restStart - 1);
  }
  const char* value = IsVariableName(name) ? KORGetEnv(name.c_str()) : nullptr;
  if (value == nullptr)
    return false;
  oExpanded = value + iLogical.substr(restStart);
  return true;
}

class KORFileDescriptor {
public:
  explicit KORFileDescriptor(int iDescriptor) : _descriptor(iDescriptor) {}
  KORFileDescriptor(const KORFileDescriptor&) = delete;
  KORFileDescriptor& operator=(const KORFileDescriptor&) = delete;
  ~KORFileDescriptor() {
    if (_descriptor >= 0)
      ::close(_descriptor);
  }
  int Get() const { return _descriptor; }

private:
  int _descriptor;
};

bool CopyAll(int iFrom, int iTo) {
  char buffer[65536];
  for (;;) {
    ssize_t count = ::read(iFrom, buffer, sizeof buffer);
    if (count == 0)
      return true;
    if (count < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    if (!KORWriteAll(iTo, std::string_view(buffer, static_cast<std::size_t>(count))))
      return false;
  }
}

} // namespace

const char* KORGetEnv(const char* iName) {
  return iName == nullptr ? nullptr : std::getenv(iName);
}

KORUnicodeString KORMakePath(const KORUnicodeString& iDir, const KORUnicodeString& iFile) {
  if (iDir.empty())
    return iFile;
  if (iFile.empty())
    return iDir;
  std::size_t dirEnd = iDir.find_last_not_of('/');
  std::size_t fileStart = iFile.find_first_not_of('/');
  KORUnicodeString dir = dirEnd == KORUnicodeString::npos ? "" : iDir.substr(0, dirEnd + 1);
  KORUnicodeString file = fileStart == KORUnicodeString::npos ? "" : iFile.substr(fileStart);
  return dir + '/' + file;
}

HRESULT KORFindPath(const KORUnicodeString& iFileName, const KORUnicodeString& iDirectory,
                    KORUnicodeString& oFullPath) {
  oFullPath.clear();
  if (iFileName.empty())
    return E_INVALIDARG;
  KORUnicodeString candidate = KORMakePath(iDirectory, iFileName);
  std::error_code error;
  if (!std::filesystem::is_regular_file(candidate, error))
    return E_FAIL;
  oFullPath = std::move(candidate);
  return S_OK;
}

HRESULT KORGetRealPath(const KORUnicodeString& iLogical, KORUnicodeString& oPhysical) {
  oPhysical.clear();
  if (iLogical.empty())
    return E_INVALIDARG;
  KORUnicodeString expanded;
  if (!ExpandLeadingReference(iLogical, expanded) || expanded.empty())
    return E_FAIL;
  std::error_code error;
  std::filesystem::path canonical = std::filesystem::canonical(expanded, error);
  if (!error) {
    oPhysical = canonical.string();
    return S_OK;
  }
  std::filesystem::path absolute = std::filesystem::absolute(expanded, error);
  if (error)
    return E_FAIL;
  oPhysical = absolute.lexically_normal().string();
  return S_FALSE;
}

KORUnicodeString KORGetPrintablePath(const KORUnicodeString& iLogical) {
  KORUnicodeString expanded;
  return ExpandLeadingReference(iLogical, expanded) ? expanded : iLogical;
}

HRESULT KORFCopy(const KORUnicodeString& iSource, const KORUnicodeString& iTarget) {
  if (iSource.empty() || iTarget.empty())
    return E_INVALIDARG;
  KORFileDescriptor source(::open(iSource.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (source.Get() < 0 || ::fstat(source.Get(), &status) != 0 || !S_ISREG(status.st_mode))
    return E_FAIL;
  return KORWriteFileAtomically(iTarget, status.st_mode & 07777,
                                [&](int iTo) { return CopyAll(source.Get(), iTo); });
}
