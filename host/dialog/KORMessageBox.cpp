#include "dialog/KORMessageBox.h"

#include <iostream>

namespace {
struct MessageBoxes {
  std::vector<KORMessageBoxRecord> shown;
  bool echo = true;
};
MessageBoxes& Boxes() {
  static MessageBoxes boxes;
  return boxes;
}
const char* StyleName(KORMessageBoxStyle iStyle) {
  switch (iStyle) {
  case KORMessageBoxStyle::Error:
    return "error";
  case KORMessageBoxStyle::Information:
    return "information";
  case KORMessageBoxStyle::Warning:
    return "warning";
  case KORMessageBoxStyle::Question:
    return "question";
  }
  return "";
}
} // namespace

void KORShowMessageBox(const KORString& iIdentifier, KORMessageBoxStyle iStyle,
                       const KORUnicodeString& iTitle, const KORUnicodeString& iText) {
  Boxes().shown.push_back({iIdentifier, iStyle, iTitle, iText});
  if (Boxes().echo)
    std::cerr << "[" << StyleName(iStyle) << "] " << iTitle << ": " << iText << '\n';
}

const std::vector<KORMessageBoxRecord>& KORShownMessageBoxes() {
  return Boxes().shown;
}
void KORClearShownMessageBoxes() {
  Boxes().shown.clear();
}
void KORSetMessageBoxEcho(bool iEcho) {
  Boxes().echo = iEcho;
}
