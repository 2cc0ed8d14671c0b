#pragma once
// Quoted text as written in the host's own text files (message catalogs,
// setting repositories): the text between double quotes, where a newline is
// written \n, a double quote \" and a backslash \\. Every other byte is
// written as is, so UTF-8 text stays readable in the file.
#include "system/KORString.h"

#include <cstddef>
#include <string_view>

// Appends iText to ioLine between double quotes, escaping it.
void KORAppendQuoted(KORUnicodeString& ioLine, std::string_view iText);

// Reads the quoted text starting at ioPosition (which must be on the opening
// quote) and moves ioPosition past the closing quote. On failure returns false
// and oError tells why; ioPosition is then unspecified.
bool KORReadQuoted(std::string_view iLine, std::size_t& ioPosition, KORUnicodeString& oText,
                   KORUnicodeString& oError);
