#pragma once
// The words of one journal line: a verb and its arguments separated by
// blanks. A '#' outside quotes starts a comment; an argument holding a blank,
// a '#' or a quote is written in double quotes, in which a quote is escaped
// as backslash-quote and a backslash as two backslashes. A blank or comment
// line has no words.
#include "objectmodel/KORResult.h"
#include "system/KORString.h"

#include <string_view>
#include <vector>

// The first line of every journal, after blank and comment lines.
inline constexpr std::string_view KORJournalFormat = "journal/1";

// E_FAIL with oError saying what is wrong and at which column (from 1) for a
// byte that is not UTF-8 text, an unterminated quote, an unknown escape, or a
// quote that touches another word.
HRESULT KORSplitJournalLine(std::string_view iLine, std::vector<KORString>& oWords,
                            KORString& oError);
