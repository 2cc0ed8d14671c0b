#pragma once
// Strings of the host: KORUnicodeString holds user-visible text (names,
// messages) as UTF-8; KORString holds narrow identifiers and resource keys.
#include <string>

using KORUnicodeString = std::string;
using KORString = std::string;
