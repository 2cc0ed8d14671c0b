#pragma once
// Command headers: what a toolbar button or an edit action starts. A header
// names a module library and a command class; starting it creates the command
// through the module's exported function "fctCreate" + class name, of type
// KORCommandCreationFunction, and hands it to the command manager. A header is
// available or unavailable; an unavailable header starts nothing.
//
// A header made while an environment is current joins that environment's
// header list, which owns it from then on, and remembers the editor that was
// current then.
#include "command/KORCommand.h"

#include <memory>
#include <vector>

class KORCommandEnvironment;

// Makes a command with the header's argument (the edited element, or null).
using KORCommandCreationFunction = KORCommand* (*)(void* iArgument);

inline constexpr int KORFrmUnavailable = 0;
inline constexpr int KORFrmAvailable = 1;

class KORCommandHeader {
public:
  KORCommandHeader(const KORString& iHeaderId, const KORString& iLoadName,
                   const KORString& iClassName, void* iArgument, int iState);
  virtual ~KORCommandHeader() = default;
  KORCommandHeader& operator=(const KORCommandHeader&) = delete;

  // A copy of this header, owned like a new one.
  virtual KORCommandHeader* Clone();
  virtual KORString GetResourceFile(int iIndex);
  virtual KORString GetFW();

  const KORString& GetID() const { return _id; }
  const KORString& GetLoadName() const { return _loadName; }
  const KORString& GetClassName() const { return _className; }
  void SetArgument(void* iArgument) { _argument = iArgument; }
  void* GetArgument() const { return _argument; }

  void BecomeAvailable() { _state = KORFrmAvailable; }
  void BecomeUnavailable() { _state = KORFrmUnavailable; }
  bool IsAvailable() const { return _state == KORFrmAvailable; }

  // The editor current when the header was made, or null.
  KORFrmEditor* GetEditor() const { return _editor; }
  KORCommandEnvironment* GetEnvironment() const { return _environment; }

  // Creates the command and starts it in the environment's command manager.
  // E_FAIL with oError saying why when the header is unavailable, has no
  // environment, or the module or its creation function cannot be found; a
  // command that cannot be made is also shown in a message box.
  [[nodiscard]] HRESULT StartCommand(KORString& oError);

  // The header iId of the current environment's list, or null.
  static KORCommandHeader* GetHeaderFromList(const KORString& iId);

protected:
  KORCommandHeader(const KORCommandHeader& iOther);

private:
  void JoinList();
  // The command made by the module's creation function, or null with oError.
  KORCommand* CreateCommand(KORString& oError) const;

  KORString _id;
  KORString _loadName;
  KORString _className;
  void* _argument;
  int _state;
  KORCommandEnvironment* _environment;
  KORFrmEditor* _editor;
};

class KORCommandHeaderList {
public:
  KORCommandHeaderList() = default;
  KORCommandHeaderList(const KORCommandHeaderList&) = delete;
  KORCommandHeaderList& operator=(const KORCommandHeaderList&) = delete;

  // Takes iHeader (made with new).
  void Add(KORCommandHeader* iHeader);
  // The first header of that ID, or null.
  KORCommandHeader* GetHeaderFromList(const KORString& iId) const;
  int Size() const { return static_cast<int>(_headers.size()); }
  KORCommandHeader* GetHeader(int iPosition) const { return _headers[iPosition].get(); }
  void RemoveAll() { _headers.clear(); }

private:
  std::vector<std::unique_ptr<KORCommandHeader>> _headers;
};
