// Copies and comparisons of texts inline: most texts a tree holds are names
// and numbers of a few characters, for which a call to the C library costs
// more than the work. Up to 16 characters are moved as two overlapping words.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

// Copies the "n" characters at "from" to "to" (the two do not overlap).
inline void zyn_copy_text(char* to, const char* from, size_t n) {
  if (n > 16) {
    std::memcpy(to, from, n);
  } else if (n >= 8) {
    uint64_t head, tail;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + n - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + n - 8, &tail, 8);
  } else if (n >= 4) {
    uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + n - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + n - 4, &tail, 4);
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
  if (n >= 8) {
    uint64_t x0, x1, y0, y1;
    std::memcpy(&x0, x, 8);
    std::memcpy(&x1, x + n - 8, 8);
    std::memcpy(&y0, y, 8);
    std::memcpy(&y1, y + n - 8, 8);
    return ((x0 ^ y0) | (x1 ^ y1)) == 0;
  }
  if (n >= 4) {
    uint32_t x0, x1, y0, y1;
    std::memcpy(&x0, x, 4);
    std::memcpy(&x1, x + n - 4, 4);
    std::memcpy(&y0, y, 4);
    std::memcpy(&y1, y + n - 4, 4);
    return ((x0 ^ y0) | (x1 ^ y1)) == 0;
  }
  return n == 0 || (x[0] == y[0] && x[n / 2] == y[n / 2] && x[n - 1] == y[n - 1]);
}
