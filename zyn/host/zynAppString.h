// The application string type of the host framework and the conversion
// between it and the library's utString. Both hold UTF-8 text here, so the
// conversion copies; the status argument keeps the framework's signature.
#pragma once

#include <string>

#include "zyn/host/utString.h"

// A host-side string: copied and destroyed, otherwise opaque to the library.
struct ZYN_EXPORT apString {
  std::string m_text;
};

// The host's description of how it encodes file names. File names are UTF-8
// throughout, so the library only passes it on.
class apIStringEncoding {};

// Returns "text" as an application string and sets "status" to 0 (success).
ZYN_EXPORT apString zyn_transcode(const utString& text, int& status);

// Returns "text" as a utString and sets "status" to 0 (success).
ZYN_EXPORT utString zyn_transcode(const apString& text, int& status);
