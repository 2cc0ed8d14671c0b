#include "KORVrcText.h"

#include <charconv>
#include <ostream>

KORVrcText& KORVrcText::operator<<(long iNumber) {
  char buffer[24];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, iNumber);
  _text.append(buffer, written.ptr);
  return *this;
}

KORVrcText& KORVrcText::operator<<(KORVrcFixed8 iReal) {
  KORVrcFixed8::Buffer buffer;
  return *this << iReal.Format(buffer);
}

void KORVrcText::WriteTo(std::ostream& ioStream) const {
  ioStream.write(_text.data(), static_cast<std::streamsize>(_text.size()));
}
