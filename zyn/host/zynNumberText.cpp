#include "zyn/host/zynNumberText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

namespace {

bool is_digit(char c, bool hex) {
  return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : c >= '0' && c <= '9';
}

const char* skip_digits(const char* p, const char* last, bool hex) {
  while (p < last && is_digit(*p, hex)) ++p;
  return p;
}

// Where the parts of an unsigned real lie in the text.
struct RealShape {
  bool hex = false;
  const char* digits = nullptr;     // the first digit or separator
  const char* int_end = nullptr;    // one past the digits before the separator
  const char* separator = nullptr;  // or null
  const char* exponent = nullptr;   // the 'e' ('p' in hexadecimal), or null
  const char* end = nullptr;        // one past the number
};

// real -> digits [point {digit}] | point digits, then [exponent sign digits]
// Returns false when "p" starts no real. Exponent digits are decimal in both bases.
bool scan_real(const char* p, const char* last, const zynNumberFormat& format, bool hex, RealShape& s) {
  s.hex = hex;
  s.digits = p;
  p = s.int_end = skip_digits(p, last, hex);
  bool any_digit = p != s.digits;
  if (p < last && (*p == format.point || *p == format.other_point)) {
    s.separator = p;
    const char* fraction_end = skip_digits(p + 1, last, hex);
    any_digit = any_digit || fraction_end != p + 1;
    p = fraction_end;
  }
  if (!any_digit) return false;
  const char mark = hex ? 'p' : 'e';
  if (p < last && (*p | 0x20) == mark) {
    const char* q = p + 1;
    if (q < last && (*q == '+' || *q == '-')) ++q;
    const char* exponent_end = skip_digits(q, last, false);
    if (exponent_end != q) s.exponent = p, p = exponent_end;  // "2.5e" ends before the 'e'
  }
  s.end = p;
  return true;
}

// Tells whether a nonzero real that no double holds is too large rather
// than too small: the place of its first significant digit, scaled to the
// exponent's base, plus its exponent, is positive for large ones.
bool too_large(const RealShape& s) {
  const char* p = s.digits;
  while (p < s.int_end && *p == '0') ++p;
  long long place = s.int_end - p;
  if (place == 0 && s.separator) {
    const char* q = s.separator + 1;
    while (q < s.end && *q == '0') ++q;
    place = -(q - (s.separator + 1));
  }
  if (s.hex) place *= 4;  // the exponent counts powers of two
  long long exponent = 0;
  if (s.exponent) {
    const char* q = s.exponent + 1;
    const bool negative = *q == '-';
    if (*q == '+' || *q == '-') ++q;
    // Clamped far past any text's length, so that the sum cannot wrap.
    for (; q < s.end && exponent < (1LL << 50); ++q) exponent = exponent * 10 + (*q - '0');
    if (negative) exponent = -exponent;
  }
  return place + exponent > 0;
}

// Converts the scanned "s" (its sign aside) into "value"; false, with the
// reason in "error", when no double holds it. std::from_chars reads only '.' as separator, so a text with
// another is converted from a copy (on the stack unless very long).
bool convert(const RealShape& s, double& value, std::errc& error) {
  const std::chars_format format = s.hex ? std::chars_format::hex : std::chars_format::general;
  const char* first = s.digits;
  const char* last = s.end;
  char buffer[64];
  std::string long_copy;
  if (s.separator && *s.separator != '.') {
    const size_t n = static_cast<size_t>(last - first);
    char* copy = buffer;
    if (n > sizeof buffer) {
      long_copy.assign(first, n);
      copy = &long_copy[0];
    } else {
      std::memcpy(buffer, first, n);
    }
    copy[s.separator - first] = '.';
    first = copy;
    last = copy + n;
  }
  const std::from_chars_result r = std::from_chars(first, last, value, format);
  error = r.ec;
  return r.ec == std::errc() && r.ptr == last;
}

const char* skip_space(const char* p, const char* last, const zynNumberFormat& format) {
  if (format.options & ZYN_NUMBER_SKIP_SPACE)
    while (p < last && std::isspace(static_cast<unsigned char>(*p))) ++p;
  return p;
}

}  // namespace

size_t zyn_read_number(std::string_view text, const zynNumberFormat& format, double& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  const char* p = skip_space(first, last, format);
  const bool negative = p < last && *p == '-';
  if (p < last && (*p == '+' || *p == '-')) ++p;
  RealShape s;
  // "0x" without hexadecimal digits after it reads as the "0" before the 'x'.
  const bool hex = (format.options & ZYN_NUMBER_HEX) && last - p > 2 && p[0] == '0' && (p[1] | 0x20) == 'x' &&
                   scan_real(p + 2, last, format, true, s);
  if (!hex && !scan_real(p, last, format, false, s)) return 0;
  if (format.extent == ZYN_NUMBER_WHOLE && s.end != last) return 0;
  double v = 0.0;
  std::errc error = std::errc();
  if (!convert(s, v, error)) {
    if (error != std::errc::result_out_of_range || format.overflow == ZYN_OVERFLOW_ERROR) return 0;
    v = too_large(s) ? HUGE_VAL : 0.0;
  }
  value = negative ? -v : v;
  return static_cast<size_t>(s.end - first);
}

namespace {

// Reads a decimal integer of type T, as the public overloads describe.
template <class T>
size_t read_integer(std::string_view text, const zynNumberFormat& format, T& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  const char* p = skip_space(first, last, format);
  const bool negative = p < last && *p == '-';
  if (p < last && (*p == '+' || *p == '-')) ++p;
  const char* end = skip_digits(p, last, false);
  if (end == p || (format.extent == ZYN_NUMBER_WHOLE && end != last)) return 0;
  // The magnitude is read unsigned, so that the most negative value fits.
  using Magnitude = std::make_unsigned_t<T>;
  Magnitude magnitude = 0;
  const std::from_chars_result r = std::from_chars(p, end, magnitude);
  const Magnitude limit = negative ? Magnitude(std::numeric_limits<T>::max()) + 1 : std::numeric_limits<T>::max();
  if (r.ec != std::errc() || magnitude > limit) {
    if (format.overflow == ZYN_OVERFLOW_ERROR) return 0;
    magnitude = limit;
  }
  value = negative ? static_cast<T>(Magnitude(0) - magnitude) : static_cast<T>(magnitude);
  return static_cast<size_t>(end - first);
}

}  // namespace

size_t zyn_read_number(std::string_view text, const zynNumberFormat& format, int& value) {
  return read_integer(text, format, value);
}

size_t zyn_read_number(std::string_view text, const zynNumberFormat& format, long long& value) {
  return read_integer(text, format, value);
}
