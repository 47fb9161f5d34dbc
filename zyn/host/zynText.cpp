#include "zyn/host/zynText.h"

#include <charconv>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>

#include "zyn/host/zynCharTypes.h"
#include "zyn/host/zynUtf8.h"

namespace {

constexpr const char* white_space = " \t\r\n\v\f";
constexpr int max_places = 40;

// Returns the byte offset of character "pos" in "text", or text.size() when
// the text has fewer characters; "pos" must not be negative.
size_t byte_offset(const utString& text, int pos) {
  const char* s = text.data();
  const size_t n = text.size();
  size_t i = 0;
  for (int k = 0; k < pos && i < n; ++k) i += zyn_utf8::char_length(s, n, i);
  return i;
}

// Finds one pattern in texts. std::string::find compares the whole pattern
// at every position, so a long pattern in a long text of near misses ("aa..ab"
// in a run of "a") costs their product; Boyer-Moore keeps the search linear.
// Short patterns keep the plain search, whose worst case is a few times the
// text.
class TextFinder {
 public:
  explicit TextFinder(const utString& pattern) : m_pattern(pattern) {
    if (pattern.size() > short_pattern) m_searcher.emplace(pattern.begin(), pattern.end());
  }
  // The byte offset of the first occurrence at or after "from", or npos.
  size_t find(const utString& text, size_t from) const {
    if (!m_searcher) return text.find(m_pattern, from);
    if (from > text.size()) return utString::npos;
    const auto found = (*m_searcher)(text.begin() + from, text.end()).first;
    return found == text.end() ? utString::npos : size_t(found - text.begin());
  }

 private:
  static constexpr size_t short_pattern = 8;
  const utString& m_pattern;
  std::optional<std::boyer_moore_searcher<utString::const_iterator>> m_searcher;
};

bool contains(const std::wstring& set, wchar_t c) { return set.find(c) != std::wstring::npos; }

// Returns the end of "w" without the trailing characters of "set".
size_t end_without(const std::wstring& w, size_t end, const std::wstring& set) {
  while (end > 0 && contains(set, w[end - 1])) --end;
  return end;
}

utString narrow(const std::wstring& w, size_t first, size_t last) {
  return zynWideCharToMultiByte::convert(w.substr(first, last - first));
}

// Drops the sign of a formatted number whose digits are all zero ("-0.00").
void drop_negative_zero(utString& text) {
  if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == utString::npos) text.erase(0, 1);
}

// Changes the case of the ASCII letters and of the Latin-1 letters, whose
// UTF-8 forms are 0xC3 followed by 0x80-0x9E (upper) or 0xA0-0xBE (lower).
void change_case(utString& text, bool upper) {
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      if (upper ? (b >= 'a' && b <= 'z') : (b >= 'A' && b <= 'Z')) text[i] = static_cast<char>(b ^ 0x20);
    } else if (b == 0xC3 && i + 1 < n) {
      const unsigned char c = static_cast<unsigned char>(text[i + 1]);
      const bool change = upper ? (c >= 0xA0 && c <= 0xBE && c != 0xB7) : (c >= 0x80 && c <= 0x9E && c != 0x97);
      if (change) text[i + 1] = static_cast<char>(c ^ 0x20);
      ++i;
    }
  }
}

}  // namespace

int zynstring_length(const utString& text) {
  const char* s = text.data();
  const size_t n = text.size();
  int count = 0;
  for (size_t i = 0; i < n; i += zyn_utf8::char_length(s, n, i)) ++count;
  return count;
}

utString zynsubstring(const utString& text, int start, int length) {
  if (length <= 0) return utString();
  const size_t first = byte_offset(text, start < 0 ? 0 : start);
  const char* s = text.data();
  const size_t n = text.size();
  size_t last = first;
  for (int k = 0; k < length && last < n; ++k) last += zyn_utf8::char_length(s, n, last);
  return text.substr(first, last - first);
}

std::wstring zynsubstring(const std::wstring& text, int start, int length) {
  if (start < 0) start = 0;
  if (length <= 0 || static_cast<size_t>(start) >= text.size()) return std::wstring();
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

int zynindex(const utString& text, char c, int from) {
  const char* s = text.data();
  const size_t n = text.size();
  int pos = 0;
  for (size_t i = 0; i < n; ++pos) {
    const size_t len = zyn_utf8::char_length(s, n, i);
    if (pos >= from && len == 1 && s[i] == c) return pos;
    i += len;
  }
  return -1;
}

int zynpos(const utString& text, const utString& target, int start) {
  if (start < 0) start = 0;
  const char* s = text.data();
  const size_t n = text.size();
  size_t i = 0;
  int pos = 0;
  for (; pos < start && i < n; ++pos) i += zyn_utf8::char_length(s, n, i);
  if (pos < start) return -1;
  // Matches count only where a character starts: a match inside one is
  // passed over and the search goes on from the next character.
  const TextFinder finder(target);
  for (size_t found = finder.find(text, i); found != utString::npos; found = finder.find(text, i)) {
    for (; i < found; ++pos) i += zyn_utf8::char_length(s, n, i);
    if (i == found) return pos;
  }
  return -1;
}

size_t zyncount_strings(const utString& text, const utString& target) {
  if (target.empty()) return 0;
  const TextFinder finder(target);
  size_t count = 0;
  for (size_t at = finder.find(text, 0); at != utString::npos; at = finder.find(text, at + target.size())) ++count;
  return count;
}

void zyngsub(utString& text, char from, char to) {
  for (char& c : text)
    if (c == from) c = to;
}

void zyndelete_all(utString& text, char c) {
  size_t out = 0;
  for (char ch : text)
    if (ch != c) text[out++] = ch;
  text.resize(out);
}

void zynreplace_all_strings(utString& text, const utString& old_text, const utString& new_text) {
  if (old_text.empty()) return;
  const TextFinder finder(old_text);
  size_t from = finder.find(text, 0);
  if (from == utString::npos) return;
  utString result;
  result.reserve(text.size());
  size_t done = 0;
  for (; from != utString::npos; from = finder.find(text, done)) {
    result.append(text, done, from - done).append(new_text);
    done = from + old_text.size();
  }
  result.append(text, done, utString::npos);
  text.swap(result);
}

utString& zynupcase(utString& text) {
  change_case(text, true);
  return text;
}

utString& zyndowncase(utString& text) {
  change_case(text, false);
  return text;
}

utString& zyntrim(utString& text) { return zynltrim(zynrtrim(text)); }

utString& zynltrim(utString& text) {
  text.erase(0, text.find_first_not_of(white_space));
  return text;
}

utString& zynrtrim(utString& text) {
  const size_t last = text.find_last_not_of(white_space);
  text.erase(last == utString::npos ? 0 : last + 1);
  return text;
}

void zyntokens(const utString& text, const utString& delimiters, utStringcoDList& out) {
  const std::wstring w = zynMultiByteToWideChar::convert(text);
  const std::wstring set = zynMultiByteToWideChar::convert(delimiters);
  size_t i = 0;
  while (i < w.size()) {
    while (i < w.size() && contains(set, w[i])) ++i;
    const size_t first = i;
    while (i < w.size() && !contains(set, w[i])) ++i;
    if (i > first) out.push_back(narrow(w, first, i));
  }
}

utString zynbasename(const utString& path, const utString& separators) {
  const std::wstring w = zynMultiByteToWideChar::convert(path);
  const std::wstring set = zynMultiByteToWideChar::convert(separators);
  const size_t end = end_without(w, w.size(), set);
  if (end == 0) return narrow(w, 0, w.empty() ? 0 : 1);
  size_t first = end;
  while (first > 0 && !contains(set, w[first - 1])) --first;
  return narrow(w, first, end);
}

utString zynpathname(const utString& path, const utString& separators) {
  const std::wstring w = zynMultiByteToWideChar::convert(path);
  const std::wstring set = zynMultiByteToWideChar::convert(separators);
  size_t end = end_without(w, w.size(), set);
  if (end == 0) return narrow(w, 0, w.empty() ? 0 : 1);
  while (end > 0 && !contains(set, w[end - 1])) --end;  // drop the last component
  if (end == 0) return utString();
  const size_t dir_end = end_without(w, end, set);
  return narrow(w, 0, dir_end == 0 ? 1 : dir_end);  // keep a root separator
}

int zyncompare(const utString& a, const utString& b) {
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

utString zynformat_double(double x, int places) {
  places = places < 0 ? 0 : (places > max_places ? max_places : places);
  char buf[400];  // the largest double has 309 integral digits
  const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, places);
  utString text(buf, res.ec == std::errc() ? res.ptr : buf);
  drop_negative_zero(text);
  return text;
}

namespace {

// Writes "x" as the fewest decimals, k, that read back as "x" when that
// takes at most 15 significant digits: then m = x * 10^k is an integer
// below 10^15, the only multiple of 10^-k within half a step of "x", and
// m / 10^k, divided exactly as a reader does, gives "x" back. That is the
// shortest text, found for a fraction of the cost of the general search.
// Returns null when "x" needs more digits.
char* write_short_decimal(double x, char* out) {
  static const double powers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  for (int k = 0; k < 16; ++k) {
    const double m = std::nearbyint(x * powers[k]);
    if (std::fabs(m) >= 1e15) return nullptr;
    if (m / powers[k] != x) continue;
    char digits[24];
    char* end = std::to_chars(digits, digits + sizeof digits, static_cast<int64_t>(std::fabs(m))).ptr;
    const int count = static_cast<int>(end - digits);
    if (x < 0) *out++ = '-';
    if (count <= k) *out++ = '0';
    else out = std::copy(digits, end - k, out);
    if (k > 0) {
      *out++ = '.';
      for (int zeros = k - count; zeros > 0; --zeros) *out++ = '0';  // 0.05
      out = std::copy(end - std::min(count, k), end, out);
    }
    return out;
  }
  return nullptr;
}

}  // namespace

utString zynformat_double_exact(double x) {
  if (x == 0.0) return "0";
  char buf[64];
  const double a = std::fabs(x);
  const bool plain = std::isfinite(x) && a >= 1e-7 && a < 1e21;
  if (plain && a < 1e15) {
    if (char* end = write_short_decimal(x, buf)) return utString(buf, end);
  }
  const auto res = plain ? std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed)
                         : std::to_chars(buf, buf + sizeof buf, x);
  return utString(buf, res.ec == std::errc() ? res.ptr : buf);
}

int zynCheckFilenameExt(const char* name, const char* ext) {
  if (!name || !ext) return 0;
  if (*ext == '.') ++ext;
  const char* base = name;
  for (const char* p = name; *p; ++p)
    if (*p == '/' || *p == '\\') base = p + 1;
  const size_t n = std::strlen(base);
  const size_t e = std::strlen(ext);
  if (e == 0) return std::strchr(base, '.') == nullptr;
  if (n < e + 2 || base[n - e - 1] != '.') return 0;  // a name must precede the dot
  for (size_t k = 0; k < e; ++k) {
    const unsigned char a = static_cast<unsigned char>(base[n - e + k]);
    const unsigned char b = static_cast<unsigned char>(ext[k]);
    if (a != b && !(((a | 0x20) == (b | 0x20)) && (a | 0x20) >= 'a' && (a | 0x20) <= 'z')) return 0;
  }
  return 1;
}
