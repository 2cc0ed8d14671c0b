#pragma once
// Message boxes of the host. Until the dialog toolkit exists, a message box is
// a record: the log keeps every box shown (identifier, style, title, text),
// writes it to standard error unless told to stay quiet, and returns at once
// as if the user had closed it. Each application frame owns one log and
// offers it to the layers below as their way to show a message.
#include "system/KORFrameServices.h"

#include <vector>

using KORMessageBoxStyle = KORUserMessageStyle;

struct KORMessageBoxRecord {
  KORString identifier;
  KORMessageBoxStyle style;
  KORUnicodeString title;
  KORUnicodeString text;
};

class KORMessageBoxLog : public KORIUserMessages {
public:
  void ShowMessage(const KORString& iIdentifier, KORMessageBoxStyle iStyle,
                   const KORUnicodeString& iTitle, const KORUnicodeString& iText) override;

  // The boxes shown so far, oldest first.
  const std::vector<KORMessageBoxRecord>& Shown() const { return _shown; }
  void Clear() { _shown.clear(); }
  // Whether boxes are also written to standard error (on by default).
  void SetEcho(bool iEcho) { _echo = iEcho; }

private:
  std::vector<KORMessageBoxRecord> _shown;
  bool _echo = true;
};
