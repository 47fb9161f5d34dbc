// Language support: the locale's decimal point, numbers in the user's
// locale, and translation of the library's messages.
#pragma once

#include "zyn/host/utString.h"

class ZYN_EXPORT nlsUtils {
 public:
  // The decimal point of the user's locale; '.' unless the host sets ','.
  static char m_decimal_point;

  // Returns non-zero when the whole of "text" is a number written with the
  // locale's decimal point (or '.').
  static int is_numeric(const utString& text);

  // Returns the value of the number at the start of "text", accepting either
  // '.' or ',' as decimal separator; 0.0 when there is none.
  static double fiddle_atof(const char* text);
};

// A host's translation function: returns the text for "key", or null to keep the key.
using zynTranslator = const char* (*)(const char* key);

// Installs "translator" (null restores the identity) and returns the previous one.
ZYN_EXPORT zynTranslator zynNLS_set_translator(zynTranslator translator);

// Returns the translation of "key", or the key itself without a translator.
ZYN_EXPORT utString zynNLS_get_translated_message(const char* key);
