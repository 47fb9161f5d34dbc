// Fetching ahead in walks over large trees, which lie mostly outside the
// cache: without it each member is read one trip to memory after another.
#pragma once

// Starts fetching the "lines" cache lines from "at".
inline void zyn_prefetch(const void* at, int lines = 1) {
#if defined(__GNUC__) || defined(__clang__)
  for (int i = 0; i < lines; ++i) __builtin_prefetch(static_cast<const char*>(at) + 64 * i);
#else
  (void)at;
  (void)lines;
#endif
}
