// The string type of the library and the few operations on it that the
// parameter classes need beyond std::string: number parsing that tells
// whether the whole text was the number, case-insensitive comparison,
// trimming by character sets and delimiter-based extraction.
#pragma once

#include <string>

#include "zyn/zynExport.h"

// An 8-bit, value-semantics string. Multi-byte texts are UTF-8.
using utString = std::string;

// Parses a decimal integer at the start of "text". Returns 1 and stores it in
// "value" when the text begins with one; "end" is the index where the number
// stopped, or -1 when the whole text was the number. Returns 0 otherwise.
ZYN_EXPORT int ut_parse(const utString& text, int& value, int& end);

// As above for a real number ("1", "-2.5", ".5", "1e-3"); "." is the decimal point.
ZYN_EXPORT int ut_parse(const utString& text, double& value, int& end);

// Returns 0 when "a" and "b" are equal ignoring ASCII letter case, else the
// sign of their case-folded ordering.
ZYN_EXPORT int ut_case_compare(const utString& a, const utString& b);

// Returns the index of the first "target" in "text", or -1.
ZYN_EXPORT int ut_locate_substring(const utString& text, const utString& target);

// Returns a copy of "text" without leading (trailing) characters from "set".
ZYN_EXPORT utString ut_remove_leading_chars(const utString& text, const utString& set);
ZYN_EXPORT utString ut_remove_trailing_chars(const utString& text, const utString& set);

// Moves the text before the first character of "delimiters" into "out" and
// leaves "text" starting at that delimiter (or empty). Returns non-zero when
// something was extracted.
ZYN_EXPORT int ut_extract_string(utString& text, const utString& delimiters, utString& out);
