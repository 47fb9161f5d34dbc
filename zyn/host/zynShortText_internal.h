// Copies and comparisons of texts inline: most texts a tree holds are names
// and numbers of a few characters, for which a call to the C library costs
// more than the work. Up to 16 characters are moved as two overlapping words.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace zyn_short_text {

// The first and the last sizeof(Word) of "n" characters (n at least that).
template <class Word>
void ends(const char* s, size_t n, Word& head, Word& tail) {
  std::memcpy(&head, s, sizeof(Word));
  std::memcpy(&tail, s + n - sizeof(Word), sizeof(Word));
}

template <class Word>
void copy_ends(char* to, const char* from, size_t n) {
  Word head, tail;
  ends(from, n, head, tail);
  std::memcpy(to, &head, sizeof(Word));
  std::memcpy(to + n - sizeof(Word), &tail, sizeof(Word));
}

template <class Word>
bool same_ends(const char* x, const char* y, size_t n) {
  Word x0, x1, y0, y1;
  ends(x, n, x0, x1);
  ends(y, n, y0, y1);
  return ((x0 ^ y0) | (x1 ^ y1)) == 0;
}

}  // namespace zyn_short_text

// Copies the "n" characters at "from" to "to" (the two do not overlap).
inline void zyn_copy_text(char* to, const char* from, size_t n) {
  if (n > 16) {
    std::memcpy(to, from, n);
  } else if (n >= 8) {
    zyn_short_text::copy_ends<uint64_t>(to, from, n);
  } else if (n >= 4) {
    zyn_short_text::copy_ends<uint32_t>(to, from, n);
  } else if (n > 0) {
    // The first, middle and last characters cover one to three.
    const char first = from[0], middle = from[n / 2], last = from[n - 1];
    to[0] = first;
    to[n / 2] = middle;
    to[n - 1] = last;
  }
}

// Whether "a" and "b" hold the same characters.
inline bool zyn_same_text(std::string_view a, std::string_view b) {
  const size_t n = a.size();
  if (n != b.size()) return false;
  const char* x = a.data();
  const char* y = b.data();
  if (n > 16) return std::memcmp(x, y, n) == 0;
  if (n >= 8) return zyn_short_text::same_ends<uint64_t>(x, y, n);
  if (n >= 4) return zyn_short_text::same_ends<uint32_t>(x, y, n);
  return n == 0 || (x[0] == y[0] && x[n / 2] == y[n / 2] && x[n - 1] == y[n - 1]);
}
