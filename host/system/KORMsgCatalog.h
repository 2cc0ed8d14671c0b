#pragma once
// Message catalogs: the user-visible texts of a module, looked up by key, so
// that texts live in resource files rather than in code.
//
// A catalog named N is the resource file "N.KORmsg", found by resource lookup
// (see system/KORResource.h). Its format, UTF-8 text, one entry per line:
//
//   # Comment lines start with '#' (after optional blanks).
//   Model.Opened = "Configuration \"/a\" opened.\nCheck the screens."
//
// - a key is made of letters, digits, '_', '.' and '-';
// - blanks are allowed around the key, the '=' and after the closing quote;
// - inside the quotes \n is a newline, \" a double quote, \\ a backslash; no
//   other escape exists;
// - blank lines and comment lines are ignored; a Windows line end is accepted;
// - any other line, an unknown escape, a missing closing quote or a key
//   given twice makes the whole load fail; the error names the file and the
//   line: "<path>:<line>: <reason>".
//
// Failures are reported as E_FAIL with a readable text, never by crashing.
#include "objectmodel/KORResult.h"
#include "system/KORFrameServices.h"
#include "system/KORString.h"

#include <map>
#include <memory>

class KORMsgCatalog {
public:
  // Finds and loads catalog iCatalogName. On failure the catalog keeps its
  // previous content and LastError() tells why (catalog not found, with the
  // folders searched, or the malformed line).
  HRESULT LoadCatalog(const KORString& iCatalogName);

  // Loads the catalog file at iPath, without resource lookup.
  HRESULT LoadFile(const KORUnicodeString& iPath);

  // S_OK with the message of iKey in oText. When the key is missing, E_FAIL
  // and oText holds a readable explanation naming the key and the catalog,
  // which callers may show in place of the message.
  HRESULT BuildMessage(const KORString& iKey, KORUnicodeString& oText) const;

  // Why the last load failed; empty after a successful load.
  const KORUnicodeString& LastError() const { return _lastError; }
  // The loaded catalog's name (the file's stem for LoadFile); empty before.
  const KORString& Name() const { return _name; }
  int Size() const { return static_cast<int>(_messages.size()); }

private:
  HRESULT Parse(const KORUnicodeString& iPath, const KORString& iName);

  KORString _name;
  std::map<KORString, KORUnicodeString, std::less<>> _messages;
  KORUnicodeString _lastError;
};

// Loads catalog iName into a catalog of its own; E_FAIL with the catalog's
// LastError() in oError.
HRESULT KORLoadSharedMsgCatalog(const KORString& iName,
                                std::shared_ptr<const KORMsgCatalog>& oCatalog,
                                KORUnicodeString& oError);

// The catalogs of one frame, each read from disk on its first request only.
// Catalogs handed out stay valid after the cache is gone.
class KORMsgCatalogCache : public KORIMsgCatalogs {
public:
  HRESULT FindCatalog(const KORString& iName, std::shared_ptr<const KORMsgCatalog>& oCatalog,
                      KORUnicodeString& oError) override;

private:
  std::map<KORString, std::shared_ptr<const KORMsgCatalog>, std::less<>> _catalogs;
};
