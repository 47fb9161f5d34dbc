#include "zyn/host/zynCharTypes.h"

#include "zyn/host/zynUtf8.h"

static_assert(sizeof(wchar_t) >= 4, "wide characters must hold a whole code point");

namespace {

bool is_unicode_space(char32_t c) {
  return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
         c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

bool is_unicode_blank(char32_t c) {
  return c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// Letters beyond ASCII. The blocks excluded hold punctuation, symbols,
// spaces, controls, combining marks of no script and the stray-byte range.
bool is_unicode_letter(char32_t c) {
  if (c < 0xC0) return c == 0xAA || c == 0xB5 || c == 0xBA;
  if (c <= 0xFF) return c != 0xD7 && c != 0xF7;
  if (c >= 0x2000 && c <= 0x2BFF) return false;  // punctuation, arrows, maths, shapes
  if (c >= 0x3000 && c <= 0x303F) return false;  // CJK punctuation
  if (c >= 0xD800 && c <= 0xDFFF) return false;  // surrogates and stray bytes
  if (c >= 0xE000 && c <= 0xF8FF) return false;  // private use
  if (c >= 0xFE00 && c <= 0xFE0F) return false;  // variation selectors
  if (c >= 0xFF00 && c <= 0xFF0F) return false;  // full-width punctuation
  if (c >= 0xFFF0) return c > 0xFFFF && !(c >= 0x1F000 && c <= 0x1FAFF);  // specials, emoji
  return !is_unicode_space(c);
}

}  // namespace

zynCharTypes::zynCharTypes(const utString& text) : m_text(zynMultiByteToWideChar::convert(text)) {}

int zynCharTypes::isspace(int i) const {
  if (!in_range(i)) return 0;
  const char32_t c = static_cast<char32_t>(m_text[static_cast<size_t>(i)]);
  if (c < 0x80) return c == ' ' || (c >= '\t' && c <= '\r');
  return is_unicode_space(c);
}

int zynCharTypes::isblank(int i) const {
  if (!in_range(i)) return 0;
  const char32_t c = static_cast<char32_t>(m_text[static_cast<size_t>(i)]);
  if (c < 0x80) return c == ' ' || c == '\t';
  return is_unicode_blank(c);
}

int zynCharTypes::isalpha(int i) const {
  if (!in_range(i)) return 0;
  const char32_t c = static_cast<char32_t>(m_text[static_cast<size_t>(i)]);
  if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
  return is_unicode_letter(c);
}

int zynCharTypes::isdigit(int i) const {
  if (!in_range(i)) return 0;
  const wchar_t c = m_text[static_cast<size_t>(i)];
  return c >= L'0' && c <= L'9';
}

std::wstring zynMultiByteToWideChar::convert(const utString& text) {
  std::wstring out;
  out.reserve(text.size());
  const char* s = text.data();
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    char32_t cp = 0;
    i += zyn_utf8::decode(s, n, i, cp);
    out.push_back(static_cast<wchar_t>(cp));
  }
  return out;
}

utString zynWideCharToMultiByte::convert(const wchar_t* text) {
  if (!text) return utString();
  return convert(std::wstring(text));
}

utString zynWideCharToMultiByte::convert(const std::wstring& text) {
  utString out;
  out.reserve(text.size());
  char buf[4];
  for (wchar_t w : text) {
    const size_t len = zyn_utf8::encode(static_cast<char32_t>(w), buf);
    out.append(buf, len);
  }
  return out;
}
