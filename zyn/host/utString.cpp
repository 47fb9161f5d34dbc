#include "zyn/host/utString.h"

#include <cctype>

#include "zyn/host/zynNumberText.h"

namespace {

constexpr zynNumberFormat leading_number = {'.', '.', ZYN_NUMBER_PREFIX};

template <class T>
int parse_leading(const utString& text, T& value, int& end) {
  const size_t n = zyn_read_number(text, leading_number, value);
  if (n == 0) return 0;
  end = n == text.size() ? -1 : static_cast<int>(n);
  return 1;
}

}  // namespace

int ut_parse(const utString& text, int& value, int& end) { return parse_leading(text, value, end); }

int ut_parse(const utString& text, double& value, int& end) { return parse_leading(text, value, end); }

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
