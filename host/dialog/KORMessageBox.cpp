#include "dialog/KORMessageBox.h"

#include <iostream>

void KORMessageBoxLog::ShowMessage(const KORString& iIdentifier, KORMessageBoxStyle iStyle,
                                   const KORUnicodeString& iTitle, const KORUnicodeString& iText) {
  _shown.push_back({iIdentifier, iStyle, iTitle, iText});
  if (_echo)
    std::cerr << "[" << KORUserMessageStyleName(iStyle) << "] " << iTitle << ": " << iText
              << '\n';
}
