#include "zyn/zynVersion.h"

const char* zyn_version() { return ZYN_VERSION_STRING; }
