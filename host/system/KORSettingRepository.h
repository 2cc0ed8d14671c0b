#pragma once
// Setting repositories: named sets of user settings (window sizes, last used
// folders, options) kept between sessions.
//
// There is one repository object per name in the process, owned by the host:
// GetRepository returns the same object for the same name until ResetAll.
// Each key holds one typed value: an unsigned integer, a float or a string.
// Writing a key replaces its value and type; reading it with another type
// fails. Keys are non-empty, contain no blank or control character and do not
// start with '#'.
//
// SaveRepository writes the file "<Name>.KORSettings" into the directory named
// by environment variable KORUserSettingPath, atomically (see
// system/KORAtomicFile.h). When a repository is first opened, that file is
// read back if it exists; lines that cannot be read are skipped. File format,
// UTF-8 text, one setting per line, sorted by key:
//
//   # KOR setting repository "Name"
//   Window.Width ulong 1280
//   Window.Scale float 0.75
//   LastFolder string "/home/user/My \"configs\""
//
// Floats are written with the fewest digits that read back to the same value;
// strings are quoted as in system/KORQuotedText.h.
//
// Repositories may be used from several threads.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

#include <map>
#include <memory>
#include <mutex>
#include <variant>

class KORSettingRepository {
public:
  // The repository named iName, created (and read from its saved file) on
  // first use; nullptr when iName cannot name a file (empty, "." or "..",
  // or containing '/'). The pointer stays valid until ResetAll.
  static KORSettingRepository* GetRepository(const KORString& iName);

  // Destroys every repository without saving: later GetRepository calls
  // start from the saved files again. Pointers obtained before are invalid.
  static void ResetAll();

  // E_INVALIDARG for a key that cannot be saved, S_OK otherwise. Integer
  // literals must say which type they mean: 5UL or 5.0f.
  HRESULT WriteSetting(const KORString& iKey, unsigned long iValue);
  HRESULT WriteSetting(const KORString& iKey, float iValue);
  HRESULT WriteSetting(const KORString& iKey, const KORUnicodeString& iValue);

  // S_OK with the value of iKey; E_FAIL (oValue untouched) when the key is
  // missing or holds a value of another type.
  HRESULT ReadSetting(const KORString& iKey, unsigned long& oValue) const;
  HRESULT ReadSetting(const KORString& iKey, float& oValue) const;
  HRESULT ReadSetting(const KORString& iKey, KORUnicodeString& oValue) const;

  // S_OK when iKey was removed, S_FALSE when it was not there.
  HRESULT RemoveSetting(const KORString& iKey);

  // Non-zero when the file was written; 0 when KORUserSettingPath is not set
  // or empty, or the file cannot be written there.
  int SaveRepository() const;

  const KORString& Name() const { return _name; }

  KORSettingRepository(const KORSettingRepository&) = delete;
  KORSettingRepository& operator=(const KORSettingRepository&) = delete;
  ~KORSettingRepository() = default;

private:
  using Value = std::variant<unsigned long, float, KORUnicodeString>;

  explicit KORSettingRepository(KORString iName) : _name(std::move(iName)) {}
  HRESULT Write(const KORString& iKey, Value iValue);
  template <class T> HRESULT Read(const KORString& iKey, T& oValue) const;
  void LoadSavedFile();

  const KORString _name;
  mutable std::mutex _mutex;
  std::map<KORString, Value, std::less<>> _values;
};
