#pragma once
// A guard for JSON read from outside: the nesting depth of arrays and objects
// is checked on the raw text before any parser (which builds, copies and
// destroys values recursively) sees it, so that a hostile file of deeply
// nested brackets is refused with its position instead of overflowing the
// stack.
#include <cstddef>
#include <string>
#include <string_view>

// Deeper than any file our formats describe, far below what the stack holds.
inline constexpr std::size_t KORJsonMaxDepth = 64;

// True when no array or object of iText opens deeper than iMaxDepth levels.
// Brackets inside strings do not count. On refusal oError says where:
// "line L, column C: nesting deeper than N levels".
bool KORCheckJsonDepth(std::string_view iText, std::string& oError,
                       std::size_t iMaxDepth = KORJsonMaxDepth);
