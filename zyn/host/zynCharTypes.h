// Character classes over a text, asked by wide-character position, and the
// conversions between the library's multi-byte (UTF-8) texts and wide
// strings. The lexer, the key parser and string interpolation count
// positions in characters; these classes are where bytes become characters.
#pragma once

#include <string>

#include "zyn/host/utString.h"

// A classifier over one text. The text is decoded once at construction; the
// predicates then answer for the character at wide position "i" and return
// 0 for any position outside the text, so callers may look one past the end.
//
// Classes: ASCII follows the C locale; beyond ASCII, letters are the Latin-1
// letters and every other character that is neither a space nor punctuation
// or a symbol of the common Unicode blocks, so names in any script work
// whatever the process locale. Only ASCII digits are digits, since numbers
// are parsed from ASCII text. Bytes that are not valid UTF-8 are single
// characters of no class.
class ZYN_EXPORT zynCharTypes {
 public:
  explicit zynCharTypes(const utString& text);

  // Space, tab, line breaks, form feed, vertical tab and the Unicode spaces.
  int isspace(int i) const;
  // Space and tab, and the Unicode spaces that do not break lines.
  int isblank(int i) const;
  int isalpha(int i) const;
  int isdigit(int i) const;
  int isalnum(int i) const { return isalpha(i) || isdigit(i); }

  // Returns the number of characters in the text.
  int size() const { return static_cast<int>(m_text.size()); }

  // Returns the character at "i", or 0 outside the text.
  wchar_t at(int i) const { return in_range(i) ? m_text[static_cast<size_t>(i)] : L'\0'; }

 private:
  bool in_range(int i) const { return i >= 0 && static_cast<size_t>(i) < m_text.size(); }

  std::wstring m_text;
};

class ZYN_EXPORT zynMultiByteToWideChar {
 public:
  // Returns "text" as wide characters, one per UTF-8 character; a byte that
  // is not valid UTF-8 becomes one character that converts back to itself.
  static std::wstring convert(const utString& text);
};

class ZYN_EXPORT zynWideCharToMultiByte {
 public:
  // Returns the UTF-8 form of the null-terminated "text" (null gives "").
  // Characters that are not Unicode scalar values become U+FFFD, except those
  // made from stray bytes by zynMultiByteToWideChar, which give the byte back.
  static utString convert(const wchar_t* text);
  // As above for a wide string, which may hold null characters.
  static utString convert(const std::wstring& text);
};
