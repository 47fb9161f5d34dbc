#include "zyn/host/zynNls.h"

namespace {
zynTranslator g_translator = nullptr;

utString with_point(const char* text) {
  utString s(text ? text : "");
  for (char& c : s)
    if (c == ',') c = '.';
  return s;
}
}  // namespace

char nlsUtils::m_decimal_point = '.';

int nlsUtils::is_numeric(const utString& text) {
  utString s = text;
  if (m_decimal_point != '.')
    for (char& c : s)
      if (c == m_decimal_point) c = '.';
  double value = 0.0;
  int end = 0;
  return ut_parse(s, value, end) && end < 0;
}

double nlsUtils::fiddle_atof(const char* text) {
  double value = 0.0;
  int end = 0;
  return ut_parse(with_point(text), value, end) ? value : 0.0;
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
