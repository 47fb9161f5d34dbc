// String interpolation: texts with embedded expressions.
//
//   text  -> { plain | "%[" expression "]" | "${" expression "}"
//            | "$" name-text | "$$" }
// An embedded expression ends at the first token that cannot continue it,
// normally its closing bracket; a missing closer lets it run to the end of
// the text. "$" name-text reaches up to the next white space or ",", and is
// read as "${" name-text "}".
#include "zyn/expr/zynEvaluator.h"

#include "zyn/core/zynParameterError.h"
#include "zyn/expr/zynEvaluator_internal.h"
#include "zyn/host/zynNls.h"

namespace {

// Returns the text that an embedded value contributes, and whether it is an
// error that ends the interpolation.
utString embedded_text(zynParameterPtr value, bool& failed) {
  const zynParameterType type = zynParameter::get_type(*value);
  if (type == PT_MAP || type == PT_ARRAY) value = zynParameterError::create(PS_ERR_TYPE);
  failed = zynParameter::get_type(*value) == PT_ERROR;
  if (failed) return "[" + value->get_expr() + "]";
  return value->get_string();
}

}  // namespace

utString zynEvaluator::interpolate_string(const utString& text) {
  set_text(text);
  m_function_seen = false;
  m_decimal_point = nlsUtils::m_decimal_point;
  utString out;
  size_t copy_mark = 0;
  char prev = '\0';
  size_t p = 0;
  while (p < m_text.size()) {
    const char c = m_text[p];
    size_t len = 1;
    const unsigned cls = char_class_at(p, len);
    bool opener = (c == '[' && prev == '%') || (c == '{' && prev == '$');
    if (!opener && prev == '$' && ((cls & ZYN_CC_ALPHA) || c == '_')) {
      // "$" name becomes "${" name "}": the name text runs to the next white
      // space or ",", and a line break ends it as a blank does.
      size_t e = p;
      size_t step = 1;
      while (e < m_text.size() && m_text[e] != ',' && !(char_class_at(e, step) & ZYN_CC_SPACE)) e += step;
      if (plain_name_end(p) == e) {
        // A bare name reads as "${" name "}" would, without rewriting the
        // text: inserting shifts the rest of it, once per name.
        out.append(m_text, copy_mark, p - 1 - copy_mark);
        zynParameterPtr value = lookup_name(m_text.substr(p, e - p));
        note_reference(value, false);
        bool failed = false;
        out += embedded_text(value, failed);
        if (failed || out.size() > zyn_max_text_size) return out;
        copy_mark = p = e;
        prev = '\0';
        continue;
      }
      m_text.insert(e, 1, '}');
      m_text.insert(p, 1, '{');
      opener = true;
    }
    if (opener) {
      out.append(m_text, copy_mark, p - 1 - copy_mark);
      m_pos = p + 1;
      m_prev_number = false;
      const size_t base = m_stack.size();
      zynParameterPtr value = expression(0, 1, 0);
      m_stack.resize(base);
      copy_mark = m_pos;
      bool failed = false;
      out += embedded_text(value, failed);
      // The rest of the text is dropped after an error, and after the text
      // outgrew every value: it will read as "Invalid arguments".
      if (failed || out.size() > zyn_max_text_size) return out;
      // The walk resumes after the closer, so forms may follow back to back.
      p = m_pos;
      prev = '\0';
      continue;
    }
    if (c == '$' && prev == '$') {
      out.append(m_text, copy_mark, p - 1 - copy_mark);
      out += '$';
      copy_mark = p + 1;
      prev = '\0';  // a third "$" starts afresh
      ++p;
      continue;
    }
    prev = len == 1 ? c : '\0';
    p += len;
  }
  out.append(m_text, copy_mark, utString::npos);
  return out;
}
