#include "zyn/library/zynParameterNameSanitizer.h"

#include <cstddef>

#include "zyn/host/zynText.h"
#include "zyn/host/zynUtf8.h"

namespace {

// The letters for the codes 192 to 255, in order.
constexpr char transliteration[] = "AAAAAAECEEEEIIIIDNOOOOOx0UUUUYPsaaaaaaeceeeeiiiiOnooooo_0uuuuypy";
static_assert(sizeof(transliteration) == 64 + 1, "one letter per code from 192 to 255");

constexpr char32_t first_accented = 192;
constexpr char32_t last_accented = 255;

bool is_name_char(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Returns the Latin-1 code a decoded character stands for: stray bytes of a
// Latin-1 text come back from the decoder as stand-in code points.
char32_t latin1_code(char32_t cp) {
  if (zyn_utf8::is_raw_byte(cp)) return cp - 0xDC00;
  return cp;
}

}  // namespace

utString zynParameterNameSanitizer::sanitize(const utString& text) const {
  utString out;
  out.reserve(text.size());
  const char* s = text.data();
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    char32_t cp = 0;
    i += zyn_utf8::decode(s, n, i, cp);
    const char32_t c = latin1_code(cp);
    if (is_name_char(c))
      out += static_cast<char>(c);
    else if (c == '\t' || c == ' ' || c == '.')
      out += '_';
    else if (c >= first_accented && c <= last_accented)
      out += transliteration[c - first_accented];
  }
  return out;
}

utString zynParameterNameSanitizer::map_key(const utString& text) const {
  utString t = text;
  zyngsub(t, '/', '_');
  zyngsub(t, '\\', '_');
  utString key = sanitize(t);
  if (!key.empty() && key[0] >= '0' && key[0] <= '9') key.insert(key.begin(), '_');
  return key;
}
