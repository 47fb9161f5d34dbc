// The output buffer of saving and of the XML export: text is written in
// place into one growing string, with no intermediate string per piece.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "zyn/host/utString.h"
#include "zyn/host/zynShortText_internal.h"

class zynTextBuffer {
 public:
  // The text written since the last take() or clear().
  std::string_view view() const { return std::string_view(m_text.data(), m_used); }
  size_t size() const { return m_used; }
  void clear() { m_used = 0; }
  // Drops what was written after the first "size" characters.
  void truncate(size_t size) { m_used = std::min(size, m_used); }
  // Returns the text written and empties the buffer.
  utString take() {
    m_text.resize(m_used);
    if (m_text.capacity() > 2 * m_used + 4096) m_text.shrink_to_fit();  // room reserved and not used
    m_used = 0;
    return std::move(m_text);
  }

  // Makes room for "n" characters in all without growing again.
  void reserve(size_t n) {
    if (n > m_text.size()) m_text.resize(n);
  }

  void put(char c) { *room(1) = c; }
  void put(char c, size_t n) { std::memset(room(n), c, n); }
  // A line break and "tabs" tabs: the indentation of saved files.
  void new_line(size_t tabs) {
    static constexpr char line[] = "\n\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    if (tabs >= sizeof line - 1) {
      put('\n');
      put('\t', tabs);
      return;
    }
    // The usual depths as one fixed-size copy, counted at their length.
    std::memcpy(room(sizeof line), line, sizeof line);
    m_used -= sizeof line - (tabs + 1);
  }
  // A literal's characters, copied at a size known when compiling.
  template <size_t N>
  void append_literal(const char (&s)[N]) {
    std::memcpy(room(N - 1), s, N - 1);
  }
  void append(std::string_view s) { zyn_copy_text(room(s.size()), s.data(), s.size()); }
  // Appends again the "n" characters written from position "at".
  void repeat(size_t at, size_t n) {
    char* to = room(n);
    zyn_copy_text(to, m_text.data() + at, n);
  }
  // Appends "s" in double quotes, with a backslash before every backslash
  // and double quote in it.
  void append_quoted(std::string_view s) {
    char* out = room(2 * s.size() + 2);
    *out++ = '"';
    const char* in = s.data();
    const char* const end = in + s.size();
    // Eight characters at a time while none of them needs a backslash.
    for (; end - in >= 8; in += 8, out += 8) {
      uint64_t word;
      std::memcpy(&word, in, 8);
      if (has_byte(word, '"') || has_byte(word, '\\')) break;
      std::memcpy(out, in, 8);
    }
    for (; in != end; ++in) {
      if (*in == '\\' || *in == '"') *out++ = '\\';
      *out++ = *in;
    }
    *out++ = '"';
    m_used = static_cast<size_t>(out - m_text.data());
  }

 private:
  // Whether any of the eight bytes of "word" is "c".
  static bool has_byte(uint64_t word, char c) {
    constexpr uint64_t ones = ~uint64_t(0) / 255;
    const uint64_t x = word ^ (ones * static_cast<unsigned char>(c));
    return ((x - ones) & ~x & (ones << 7)) != 0;
  }

  // Returns where "n" more characters go, counted as written.
  char* room(size_t n) {
    if (m_used + n > m_text.size()) m_text.resize(std::max(2 * m_text.size(), m_used + n + 256));
    char* at = &m_text[m_used];
    m_used += n;
    return at;
  }

  utString m_text;
  size_t m_used = 0;
};
