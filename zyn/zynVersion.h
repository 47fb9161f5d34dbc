// The library's version. The macros give the version a host was compiled
// against; zyn_version() gives the version of the library it runs with, so a
// host can tell the two apart after the shared library was replaced.
// The build reads the version from this file: change it here only.
#pragma once

#include "zyn/zynExport.h"

#define ZYN_VERSION_MAJOR 0
#define ZYN_VERSION_MINOR 1
#define ZYN_VERSION_PATCH 0
#define ZYN_VERSION_STRING "0.1.0"

// One number that orders versions: major * 10000 + minor * 100 + patch.
#define ZYN_VERSION_NUMBER (ZYN_VERSION_MAJOR * 10000 + ZYN_VERSION_MINOR * 100 + ZYN_VERSION_PATCH)

// Returns the running library's version text, "MAJOR.MINOR.PATCH".
ZYN_EXPORT const char* zyn_version();
