// ZYN_EXPORT marks the classes and functions the shared library exports.
// The library is built with hidden visibility, so everything else (its
// internals and the standard-library code it instantiates) stays private to
// it: hosts see a small, stable interface and load it faster.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define ZYN_EXPORT __attribute__((visibility("default")))
#else
#define ZYN_EXPORT
#endif
