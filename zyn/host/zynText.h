// Text helpers of the toolbox: lengths, positions, search and replace, case,
// trimming, tokens, path components, comparison and number formatting.
//
// Texts are UTF-8. Positions and lengths count characters (code points), not
// bytes; a byte that is not part of a well-formed UTF-8 sequence counts as
// one character. Functions that change a text work in place and return it.
#pragma once

#include <string>

#include "zyn/host/utString.h"
#include "zyn/host/zynContainers.h"

// Returns the number of characters in "text".
ZYN_EXPORT int zynstring_length(const utString& text);

// Returns the characters of "text" from position "start", at most "length"
// of them. A negative start counts as 0; a start past the end or a negative
// length gives "".
ZYN_EXPORT utString zynsubstring(const utString& text, int start, int length);
ZYN_EXPORT std::wstring zynsubstring(const std::wstring& text, int start, int length);

// Returns the position of the first "c" at or after position "from" (a
// negative from counts as 0), or -1 when there is none.
ZYN_EXPORT int zynindex(const utString& text, char c, int from);

// Returns the position of the first "target" in "text" at or after position
// "start" (a negative start counts as 0), or -1 when there is none. An empty
// target is found at "start" itself while start is within the text or at its end.
ZYN_EXPORT int zynpos(const utString& text, const utString& target, int start);

// Returns the number of "target"s in "text", counted left to right without
// overlaps (0 for an empty target).
ZYN_EXPORT size_t zyncount_strings(const utString& text, const utString& target);

// Replaces every byte "from" by "to".
ZYN_EXPORT void zyngsub(utString& text, char from, char to);

// Removes every byte "c".
ZYN_EXPORT void zyndelete_all(utString& text, char c);

// Replaces every occurrence of "old_text", scanning left to right without
// overlaps, by "new_text". An empty old_text changes nothing.
ZYN_EXPORT void zynreplace_all_strings(utString& text, const utString& old_text, const utString& new_text);

// Changes the case of the ASCII and Latin-1 letters; other characters are
// kept, so the byte length never changes.
ZYN_EXPORT utString& zynupcase(utString& text);
ZYN_EXPORT utString& zyndowncase(utString& text);

// Remove white space (space, tab, line breaks, vertical tab, form feed) at
// both ends, at the start or at the end.
ZYN_EXPORT utString& zyntrim(utString& text);
ZYN_EXPORT utString& zynltrim(utString& text);
ZYN_EXPORT utString& zynrtrim(utString& text);

// Appends to "out" the tokens of "text" separated by any character of
// "delimiters", in order. Runs of delimiters separate one token: no empty
// tokens are produced. An empty delimiter set gives the whole text as one token
// (none when the text is empty).
ZYN_EXPORT void zyntokens(const utString& text, const utString& delimiters, utStringcoDList& out);

// Returns the last component of "path", whose components are separated by
// any character of "separators". Trailing separators are ignored: "a\b\"
// gives "b". A path made only of separators gives its first character.
ZYN_EXPORT utString zynbasename(const utString& path, const utString& separators);

// Returns "path" without its last component and the separators before it:
// "a\b\c" gives "a\b", "c" gives "", "\c" gives "\".
ZYN_EXPORT utString zynpathname(const utString& path, const utString& separators);

// Returns -1, 0 or 1 as "a" sorts before, with or after "b", byte by byte
// (UTF-8 byte order is code point order).
ZYN_EXPORT int zyncompare(const utString& a, const utString& b);

// Returns "x" with exactly "places" decimals (0 to 40; other values are
// clamped), rounded to nearest, "." as decimal point, no exponent. A result
// that rounds to zero has no minus sign. Infinities and NaN give "inf",
// "-inf" and "nan".
ZYN_EXPORT utString zynformat_double(double x, int places);

// Returns the shortest text that reads back as exactly "x", "." as decimal
// point. Magnitudes from 1e-7 up to 1e21 are written without exponent
// ("0.1", "1234.5"); others in exponent form ("1e+21", "1.5e-08"). Integral
// values have no fraction ("3"); -0.0 gives "0". Infinities and NaN give
// "inf", "-inf" and "nan".
ZYN_EXPORT utString zynformat_double_exact(double x);

// Returns non-zero when the file "name" ends in the extension "ext", given
// with or without its leading ".", compared without regard to ASCII case
// ("a.TXT" has the extension "txt" and ".txt"; "a.tar.gz" has "gz" and
// "tar.gz"). An empty extension matches names whose last component has no
// ".". Null arguments give 0.
ZYN_EXPORT int zynCheckFilenameExt(const char* name, const char* ext);
