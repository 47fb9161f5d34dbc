// Reading numbers from text. Every place that turns text into a number reads
// it here; what differs between them (which decimal separators count,
// whether the text must be all number, what a number too large gives) is
// passed in as a zynNumberFormat. Reads follow no locale and allocate only
// for texts of hundreds of characters written with a separator other than '.'.
//
// Example:
//   double v = 0.0;
//   zyn_read_number("2,5 mm", {'.', ',', ZYN_NUMBER_PREFIX}, v);  // returns 3, v == 2.5
#pragma once

#include <cstddef>
#include <string_view>

#include "zyn/zynExport.h"

// How much of the text a read takes.
enum zynNumberExtent {
  ZYN_NUMBER_WHOLE,   // the whole text is the number: "2.5" reads, "2.5mm" does not
  ZYN_NUMBER_PREFIX,  // the number the text starts with: "2.5mm" reads as 2.5
};

// What a number out of range gives.
enum zynNumberOverflow {
  ZYN_OVERFLOW_SATURATE,  // reals: too large ±inf, too small ±0; integers: the type's limits
  ZYN_OVERFLOW_ERROR,     // no number
};

// Options beyond the common grammar, or-ed together.
enum zynNumberOption : unsigned {
  ZYN_NUMBER_SKIP_SPACE = 1,  // leading white space is skipped: " 5"
  ZYN_NUMBER_HEX = 2,         // reals may be hexadecimal: "0x1A", "-0x1p4"
};

// The rules of one read. Numbers are: an optional '+' or '-', digits with at
// most one decimal separator and at least one digit, and for reals an
// optional exponent ("1e-3", "2.5E+2"). An exponent without digits ends the
// number before its 'e'. "inf" and "nan" are no numbers.
struct zynNumberFormat {
  char point = '.';        // a decimal separator
  char other_point = '.';  // a second one: "point" again when only one counts
  zynNumberExtent extent = ZYN_NUMBER_WHOLE;
  zynNumberOverflow overflow = ZYN_OVERFLOW_SATURATE;
  unsigned options = 0;  // zynNumberOption flags
};

// Reads the real number that "text" is (or starts with) under "format" and
// stores it in "value". Returns the count of characters read (skipped space
// included), or 0 when there is no number; "value" is then unchanged.
ZYN_EXPORT size_t zyn_read_number(std::string_view text, const zynNumberFormat& format, double& value);

// As above for a decimal integer; separators, exponents and hexadecimal do
// not apply ("5.5" read as a prefix gives 5). Saturating gives the type's
// largest or smallest value.
ZYN_EXPORT size_t zyn_read_number(std::string_view text, const zynNumberFormat& format, int& value);
ZYN_EXPORT size_t zyn_read_number(std::string_view text, const zynNumberFormat& format, long long& value);
