#include "zyn/host/utString.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cstdlib>

namespace {

// Length of the longest prefix of "s" that forms a real number: sign, digits,
// optional fraction, optional exponent. 0 when there is none.
size_t real_prefix_length(const char* s, size_t n) {
  size_t i = 0;
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
    size_t exp_digits = 0;
    while (j < n && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++exp_digits;
    if (exp_digits > 0) i = j;
  }
  return i;
}

}  // namespace

int ut_parse(const utString& text, int& value, int& end) {
  const char* first = text.data();
  const char* last = first + text.size();
  const char* start = first;
  // One sign only: "+-5" is no number.
  if (start < last && *start == '+' && !(start + 1 < last && start[1] == '-')) ++start;
  long long v = 0;
  auto [ptr, ec] = std::from_chars(start, last, v);
  if (ptr == start) return 0;
  if (ec == std::errc::result_out_of_range || v > INT_MAX || v < INT_MIN) {
    v = (start < last && *start == '-') ? INT_MIN : INT_MAX;
  }
  value = static_cast<int>(v);
  end = ptr == last ? -1 : static_cast<int>(ptr - first);
  return 1;
}

int ut_parse(const utString& text, double& value, int& end) {
  size_t len = real_prefix_length(text.data(), text.size());
  if (len == 0) return 0;
  const char* first = text.data();
  const char* start = first;
  if (*start == '+') ++start;
  // from_chars rejects a leading '+'; it accepts everything else the prefix holds.
  double v = 0.0;
  auto [ptr, ec] = std::from_chars(start, first + len, v);
  if (ec == std::errc::result_out_of_range) v = std::strtod(utString(start, first + len).c_str(), nullptr);
  else if (ptr == start) return 0;
  value = v;
  end = len == text.size() ? -1 : static_cast<int>(len);
  return 1;
}

int ut_case_compare(const utString& a, const utString& b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    int ca = std::tolower(static_cast<unsigned char>(a[i]));
    int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int ut_locate_substring(const utString& text, const utString& target) {
  size_t pos = text.find(target);
  return pos == utString::npos ? -1 : static_cast<int>(pos);
}

utString ut_remove_leading_chars(const utString& text, const utString& set) {
  size_t pos = text.find_first_not_of(set);
  return pos == utString::npos ? utString() : text.substr(pos);
}

utString ut_remove_trailing_chars(const utString& text, const utString& set) {
  size_t pos = text.find_last_not_of(set);
  return pos == utString::npos ? utString() : text.substr(0, pos + 1);
}

int ut_extract_string(utString& text, const utString& delimiters, utString& out) {
  size_t pos = text.find_first_of(delimiters);
  if (pos == 0) return 0;
  if (pos == utString::npos) {
    out = text;
    text.clear();
  } else {
    out = text.substr(0, pos);
    text.erase(0, pos);
  }
  return !out.empty();
}
