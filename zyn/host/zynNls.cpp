#include "zyn/host/zynNls.h"

#include "zyn/host/zynNumberText.h"

namespace {
zynTranslator g_translator = nullptr;
}  // namespace

char nlsUtils::m_decimal_point = '.';

int nlsUtils::is_numeric(const utString& text) {
  double value = 0.0;
  return zyn_read_number(text, {m_decimal_point, '.'}, value) != 0;
}

double nlsUtils::fiddle_atof(const char* text) {
  double value = 0.0;
  if (text) zyn_read_number(text, {'.', ',', ZYN_NUMBER_PREFIX}, value);
  return value;
}

zynTranslator zynNLS_set_translator(zynTranslator translator) {
  zynTranslator old = g_translator;
  g_translator = translator;
  return old;
}

utString zynNLS_get_translated_message(const char* key) {
  if (g_translator) {
    if (const char* text = g_translator(key)) return text;
  }
  return key ? key : "";
}
