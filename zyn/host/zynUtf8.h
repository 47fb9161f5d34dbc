// UTF-8 decoding and encoding: the one place that cuts texts into
// characters, so that the text helpers, the character classifier, the key
// parser, the expression lexer and the name sanitizer all count the same
// characters in the same text.
//
// Texts are UTF-8 but may hold stray bytes (Latin-1 files, cut sequences).
// A byte that does not start a well-formed sequence is one character of its
// own, decoded as the code point 0xDC00 + byte (an unpaired low surrogate,
// which no valid text contains) so that converting back restores the byte.
#pragma once

#include <cstddef>

namespace zyn_utf8 {

// First and last code point that stand for a stray byte.
constexpr char32_t raw_byte_first = 0xDC80;
constexpr char32_t raw_byte_last = 0xDCFF;

// Tells whether "cp" stands for a stray byte; the byte is cp - 0xDC00.
constexpr bool is_raw_byte(char32_t cp) { return cp >= raw_byte_first && cp <= raw_byte_last; }

// Decodes the character starting at s[i] (i < n), stores its code point in
// "cp" and returns its length in bytes (1 to 4). Overlong forms, surrogates,
// values past U+10FFFF and cut sequences give a stray byte of length 1.
// Never reads past s[n - 1].
inline size_t decode(const char* s, size_t n, size_t i, char32_t& cp) {
  const unsigned char b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t len = 0;
  char32_t min = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) len = 2, min = 0x80, cp = b0 & 0x1F;
  else if (b0 >= 0xE0 && b0 <= 0xEF) len = 3, min = 0x800, cp = b0 & 0x0F;
  else if (b0 >= 0xF0 && b0 <= 0xF4) len = 4, min = 0x10000, cp = b0 & 0x07;
  if (len == 0 || n - i < len) {
    cp = 0xDC00 + b0;
    return 1;
  }
  for (size_t k = 1; k < len; ++k) {
    const unsigned char b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      cp = 0xDC00 + b0;
      return 1;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    cp = 0xDC00 + b0;
    return 1;
  }
  return len;
}

// Returns the byte length of the character starting at s[i] (i < n): the
// length decode() gives, without the code point.
inline size_t char_length(const char* s, size_t n, size_t i) {
  if (static_cast<unsigned char>(s[i]) < 0x80) return 1;
  char32_t cp = 0;
  return decode(s, n, i, cp);
}

// Returns the byte length that encode() writes for "cp": the length of the
// character decode() read it from.
constexpr size_t encoded_length(char32_t cp) {
  if (cp < 0x80 || is_raw_byte(cp)) return 1;
  if (cp < 0x800) return 2;
  return cp < 0x10000 || cp > 0x10FFFF ? 3 : 4;
}

// Writes the encoding of "cp" into "out" (room for 4 bytes) and returns its
// length. Stray-byte code points give their byte back; other surrogates and
// values past U+10FFFF become U+FFFD.
inline size_t encode(char32_t cp, char* out) {
  if (is_raw_byte(cp)) {
    out[0] = static_cast<char>(cp - 0xDC00);
    return 1;
  }
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | (cp >> 6));
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (cp >> 12));
    out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (cp >> 18));
  out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (cp & 0x3F));
  return 4;
}

}  // namespace zyn_utf8
