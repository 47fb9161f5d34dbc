#include "zyn/values/zynParameterNumeric.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <string_view>

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvalCompiled_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/host/zynNls.h"
#include "zyn/host/zynNumberText.h"
#include "zyn/host/zynShortText_internal.h"
#include "zyn/host/zynText.h"
#include "zyn/host/zynTolerance.h"
#include "zyn/values/zynNumeric_internal.h"

ZYN_DEFINE_TYPE(zynParameterNumeric, zynParameterScalar)

// --- Texts of numbers -------------------------------------------------------

bool zyn_parse_number_text(const utString& text, char point, double& value) {
  size_t first = text.find_first_not_of(' ');
  if (first == utString::npos) return false;
  size_t last = text.find_last_not_of(' ');
  // Either separator reads as the decimal point.
  const zynNumberFormat format = {'.', point == '.' ? ',' : point};
  return zyn_read_number(std::string_view(text).substr(first, last - first + 1), format, value) != 0;
}

utString zyn_normalize_real_text(const utString& text, char point) {
  // The usual text (what set_double writes) already has its point in place.
  const size_t lead = !text.empty() && text[0] == '-' ? 1 : 0;
  if (point == '.' && text.find_first_of(" ,") == utString::npos && text.find('.') != utString::npos &&
      lead < text.size() && text[lead] != '.')
    return text;
  utString copy = ut_remove_trailing_chars(ut_remove_leading_chars(text, " "), " ");
  if (copy.empty()) return text;
  bool negative = copy[0] == '-';
  if (negative) copy.erase(0, 1);
  if (!copy.empty() && (copy[0] == '.' || copy[0] == ',')) {
    copy.insert(0, negative ? "-0" : "0");
  } else {
    if (negative) copy.insert(0, 1, '-');
    int whole = 0;
    int end = 0;
    if (ut_parse(copy, whole, end) && end < 0) {
      copy += point;
      copy += '0';
    }
  }
  size_t separator = copy.find_first_of(".,");
  if (separator != utString::npos) copy[separator] = point;
  return copy;
}

int zyn_saturate_to_int(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT_MAX;
  if (v <= -2147483648.0) return INT_MIN;
  return static_cast<int>(v);
}

// --- Kept values ---------------------------------------------------------------

struct zynNumericKept {
  uint64_t generation = 0;
  char point = 0;
  int height[ZYN_NEST_COUNT] = {};
  double value = 0.0;
  bool valid = true;  // whether the text evaluated; "value" is 0.0 when not
  // The text of "text_value" under "text_point", which get_string gives
  // again while the value read is the same.
  utString text;
  double text_value = 0.0;
  char text_point = 0;
  // The compiled text, or none for the structure and point "tried" under.
  std::unique_ptr<zynEvalCompiled> compiled;
  uint64_t tried = 0;
  char tried_point = 0;
};

zynNumericKeptSlot::zynNumericKeptSlot() = default;
zynNumericKeptSlot::zynNumericKeptSlot(const zynNumericKeptSlot&) {}
zynNumericKeptSlot& zynNumericKeptSlot::operator=(const zynNumericKeptSlot&) {
  kept.reset();
  return *this;
}
zynNumericKeptSlot::~zynNumericKeptSlot() = default;

bool zynParameterNumeric::recall_kept(double& v) const {
  const zynNumericKept* k = m_kept.kept.get();
  if (!k || k->generation != zyn_eval_current_generation() || k->point != nlsUtils::m_decimal_point ||
      zyn_eval_reference_mode || evaluating() || !zynEvalWatch::fits(k->height))
    return false;
  v = k->value;
  return true;
}

bool zynParameterNumeric::read_expression_valid(double& v) const {
  if (recall_kept(v)) return m_kept.kept->valid;
  bool valid = true;
  v = read_expression(&valid);
  return valid;
}

bool zynParameterNumeric::compiled_operand(double& raw, zynParameterSubType& subtype) const {
  double v = 0.0;
  if (!get_cached_evaluation(v)) return false;
  raw = m_number;
  subtype = m_subtype;
  return true;
}

bool zynParameterNumeric::run_compiled(double& v) const {
  zynNumericKept* k = m_kept.kept.get();
  const zynEvalCompiled* c = k ? k->compiled.get() : nullptr;
  if (!c || zyn_eval_reference_mode || zyn_eval_read_callbacks || evaluating() || c->point != nlsUtils::m_decimal_point ||
      c->structure != zyn_eval_structure_generation() || !zynEvalWatch::fits(c->height))
    return false;
  const uint64_t generation = zyn_eval_current_generation();
  double raw = 0.0;
  if (!c->run(raw)) return false;
  v = apply_subtype(raw);
  if (!get_range().invalid()) get_range().clamp(v);
  k->generation = generation;
  k->point = c->point;
  std::copy(c->height, c->height + ZYN_NEST_COUNT, k->height);
  k->value = v;
  k->valid = true;
  return true;
}

double zynParameterNumeric::read_expression(bool* valid) const {
  double v = 0.0;
  if (run_compiled(v)) return v;
  const char point = nlsUtils::m_decimal_point;
  zynEvalWatch watch;
  const bool evaluated = get_evaluated_double(v);
  if (valid) *valid = evaluated;
  if (!get_range().invalid()) get_range().clamp(v);
  uint64_t generation = 0;
  int height[ZYN_NEST_COUNT];
  if (zyn_eval_reference_mode || zyn_eval_read_callbacks || !watch.settled(generation, height)) return v;
  if (!m_kept.kept) m_kept.kept = std::make_unique<zynNumericKept>();
  zynNumericKept& k = *m_kept.kept;
  k.generation = generation;
  k.point = point;
  std::copy(height, height + ZYN_NEST_COUNT, k.height);
  k.value = v;
  k.valid = evaluated;
  // Compiled once per text, structure and decimal point; a compilation
  // during which anything was written (a lookup ran a host function) is
  // dropped, since its names may be bound to what no longer stands.
  const uint64_t structure = zyn_eval_structure_generation();
  if (k.tried == structure && k.tried_point == point) return v;
  k.tried = structure;
  k.tried_point = point;
  std::unique_ptr<zynEvalCompiled> compiled = zynEvalCompiled::compile(*this, get_value());
  if (!compiled || zyn_eval_current_generation() != generation) return v;
  compiled->structure = structure;
  compiled->point = point;
  std::copy(height, height + ZYN_NEST_COUNT, compiled->height);
  m_kept.kept->compiled = std::move(compiled);
  return v;
}

// --- Construction -----------------------------------------------------------

// The text is formatted only when someone reads it: most numerics built with
// a value (operator results, evaluations) are read as numbers only.
zynParameterNumeric::zynParameterNumeric(zynParameterSubType subtype, const zynDimensions& dims, double value)
    : m_subtype(subtype), m_dims(dims), m_flags(CLASSIFIED | VALUE_KNOWN | TEXT_PENDING | DEFAULT_PENDING),
      m_number(value) {}

zynParameterNumeric* zynParameterNumeric::create_bool(int b) {
  // Built once, thread-safe, and kept until unload (like the shared errors).
  static const zynParameterPtr* prototypes = [] {
    auto* values = new zynParameterPtr[2];
    for (int i = 0; i < 2; ++i) {
      auto* proto = new zynParameterNumeric(PS_BOOL, zynDimensions(ZYN_DIM_NONE), i);
      proto->settle_default();  // copies share the record: fill it before there are any
      proto->get_double();
      values[i] = zynParameterPtr(proto);
    }
    return values;
  }();
  return new zynParameterNumeric(static_cast<const zynParameterNumeric&>(*prototypes[b != 0 ? 1 : 0]));
}

zynParameterPtr zyn_create_bool(int value) { return zynParameterPtr(zynParameterNumeric::create_bool(value)); }

double zynParameterNumeric::comparison_tol() { return zyn_coincidence_tolerance(); }

// --- Caches -------------------------------------------------------------------

void zynParameterNumeric::classify() const {
  if (m_flags & TEXT_PENDING) return;
  char point = nlsUtils::m_decimal_point;
  if ((m_flags & CLASSIFIED) && m_cache_point == point) return;
  m_flags &= DEFAULT_PENDING;
  m_cache_point = point;
  m_fast_point = 0;
  double v = 0.0;
  if (zyn_parse_number_text(m_value, point, v)) {
    m_number = v;
    m_flags |= CLASSIFIED | VALUE_KNOWN;
  } else {
    m_flags |= CLASSIFIED | EXPRESSION;
  }
}

bool zynParameterNumeric::literal_value(double& raw) const {
  classify();
  if (!(m_flags & VALUE_KNOWN)) return false;
  raw = m_number;
  return true;
}

bool zynParameterNumeric::get_evaluated_double(double& out) const {
  if (get_cached_evaluation(out)) return true;
  if (evaluated_value(out).is_null()) return true;
  out = 0.0;
  return false;
}

const utString& zynParameterNumeric::get_value() const {
  if (m_flags & TEXT_PENDING) {
    m_value = format_value(m_number);
    m_interpolates = -1;
    m_flags &= ~TEXT_PENDING;
    m_flags |= TEXT_NORMALIZED;
    if (apply_subtype(m_number) == m_number) m_flags |= TEXT_FORMATTED;
    m_cache_point = nlsUtils::m_decimal_point;
  }
  return m_value;
}

void zynParameterNumeric::settle_default() const {
  m_flags &= ~DEFAULT_PENDING;
  zynParameterImpl& record = impl();
  if (record.get(zynParameterImpl::DEFAULT_VALUE).empty()) record.set(zynParameterImpl::DEFAULT_VALUE, get_value());
}

// --- Evaluation ---------------------------------------------------------------

double zynParameterNumeric::apply_subtype(double raw) const {
  if (m_subtype == PS_INT) return zyn_saturate_to_int(std::floor(raw));
  if (m_subtype == PS_BOOL) return raw != 0.0 ? 1.0 : 0.0;
  return raw;
}

utString zynParameterNumeric::format_value(double raw) const {
  utString text = zynformat_double_exact(raw);
  if (m_subtype == PS_REAL || m_subtype == PS_ANGLE) return zyn_normalize_real_text(text, nlsUtils::m_decimal_point);
  return text;
}

zynParameterPtr zynParameterNumeric::evaluate_raw(double& raw) const {
  if (get_value().empty()) return zynParameterError::create(PS_ERR_TYPE);
  zynParameterPtr result = zynParameter::evaluate();
  zynParameterType t = get_type(*result);
  if (t == PT_ERROR) return result;
  if (t != PT_NUMERIC) return zynParameterError::create(PS_ERR_TYPE);
  // A literal numeric result gives its value without a round trip through
  // text, read through its own subtype first: int(2.7) and 7/2 on two INT
  // operands hold 2.7 and 3.5 but stand for 2 and 3.
  const zynParameterNumeric* numeric = ut_dynamic_cast(result->get_ref());
  if (numeric && numeric->literal_value(raw)) {
    raw = numeric->apply_subtype(raw);
    return zynParameterPtr();
  }
  utString text = result->get_expr();
  int end = 0;
  if (zyn_parse_number_text(text, nlsUtils::m_decimal_point, raw) || ut_parse(text, raw, end)) return zynParameterPtr();
  if (!nlsUtils::is_numeric(text)) return zynParameterError::create(PS_ERR_TYPE);
  raw = nlsUtils::fiddle_atof(text.c_str());
  return zynParameterPtr();
}

zynParameterPtr zynParameterNumeric::evaluated_value(double& v) const {
  if (get_cached_evaluation(v)) return zynParameterPtr();
  double raw = 0.0;
  if (!literal_value(raw)) {
    zynParameterPtr failure = evaluate_raw(raw);
    if (!failure.is_null()) return failure;
  }
  v = apply_subtype(raw);
  return zynParameterPtr();
}

zynParameterPtr zynParameterNumeric::evaluate() const {
  double v = 0.0;
  zynParameterPtr failure = evaluated_value(v);
  if (!failure.is_null()) return failure;
  if (m_subtype == PS_BOOL) return zynParameterPtr(create_bool(v != 0.0));
  return zynParameterPtr(new zynParameterNumeric(m_subtype, m_dims, v));
}

// --- Reading --------------------------------------------------------------------

double zynParameterNumeric::get_double() const {
  onread_callback();
  // The common read, a cached real literal without a range, straight from the cache.
  if (m_fast_point == nlsUtils::m_decimal_point) return m_number;
  return read_double();
}

const zynRange& zynParameterNumeric::RangeBox::get() const {
  static const zynRange none;
  return m_range ? *m_range : none;
}

double zynParameterNumeric::read_double() const {
  double v = 0.0;
  if (recall_kept(v)) return v;
  if (!get_cached_evaluation(v)) {
    classify();
    if (m_flags & EXPRESSION) return read_expression();
    get_evaluated_double(v);
  }
  if (!get_range().invalid()) get_range().clamp(v);
  if ((m_flags & (VALUE_KNOWN | TEXT_PENDING)) == VALUE_KNOWN && plain_read()) m_fast_point = m_cache_point;
  return v;
}

int zynParameterNumeric::get_int() const { return zyn_saturate_to_int(get_double()); }

// A literal's text is formatted once: when it reads as what formatting its
// value gives, it is returned as it stands from then on.
utString zynParameterNumeric::get_string() const {
  onread_callback();
  if (m_flags & TEXT_PENDING) get_value();  // a numeric built from a value formats its text once
  if ((m_flags & TEXT_FORMATTED) && m_cache_point == nlsUtils::m_decimal_point) return m_value;
  double v = 0.0;
  // Without a range the kept value is the evaluated one: no clamp applies.
  classify();
  if ((m_flags & EXPRESSION) && get_range().invalid()) {
    if (!read_expression_valid(v)) return utString();
    return kept_text(v);
  }
  if (!evaluated_value(v).is_null()) return utString();
  utString text = format_value(v);
  if ((m_flags & (VALUE_KNOWN | TEXT_PENDING)) == VALUE_KNOWN && zyn_same_text(text, m_value)) m_flags |= TEXT_FORMATTED;
  return text;
}

const utString* zynParameterNumeric::formatted_literal() const {
  if (m_flags & TEXT_PENDING) get_value();
  constexpr uint8_t formatted = TEXT_FORMATTED | VALUE_KNOWN;
  if ((m_flags & formatted) != formatted || m_cache_point != nlsUtils::m_decimal_point || !get_range().invalid())
    return nullptr;
  return &m_value;
}

utString zynParameterNumeric::kept_text(double v) const {
  zynNumericKept* k = m_kept.kept.get();
  const char point = nlsUtils::m_decimal_point;
  // Compared bit for bit: -0.0 and 0.0 format differently.
  if (k && !k->text.empty() && k->text_point == point && std::memcmp(&k->text_value, &v, sizeof v) == 0) return k->text;
  utString text = format_value(v);
  if (k) {
    k->text = text;
    k->text_value = v;
    k->text_point = point;
  }
  return text;
}

double zynParameterNumeric::get_double_in_units(zynUnits wanted, bool& failed) const {
  return wanted.convert_value_from(get_double(), m_units, failed);
}

int zynParameterNumeric::is_expr() const {
  classify();
  return (m_flags & EXPRESSION) && !m_value.empty();
}

// An expression is valid when it evaluates: read as get_double reads it,
// its kept value answers again until something changes.
int zynParameterNumeric::is_valid() const {
  double raw = 0.0;
  if (literal_value(raw)) return 1;
  return read_expression_valid(raw);
}

int zynParameterNumeric::check_range() const {
  if (get_range().invalid()) return 1;
  double v = 0.0;
  if (!get_evaluated_double(v)) return 0;
  return !get_range().clamp(v);
}

int zynParameterNumeric::is_int_value() const {
  double v = 0.0;
  return (m_subtype == PS_NUMERIC || m_subtype == PS_INT) && get_evaluated_double(v) && zyn_is_integral(v);
}

int zynParameterNumeric::is_bool_value() const {
  double v = 0.0;
  return (m_subtype == PS_NUMERIC || m_subtype == PS_BOOL) && get_evaluated_double(v) && zyn_is_integral(v);
}

bool zynParameterNumeric::expression_equivalent(double x) const {
  double v = 0.0;
  return is_expr() && get_evaluated_double(v) && std::fabs(x - v) < 1e-15;
}

int zynParameterNumeric::is_equal(const zynParameter& other) const {
  const zynParameterNumeric* r = ut_dynamic_cast(other.get_ref());
  if (get_type(other) != PT_NUMERIC || !r || r->m_subtype != m_subtype || r->m_dims != m_dims) return 0;
  if (m_subtype == PS_INT) return get_int() == r->get_int();
  return std::fabs(get_double() - r->get_double()) <= comparison_tol();
}

// --- Writing --------------------------------------------------------------------

void zynParameterNumeric::set_value(const utString& text) {
  if ((m_flags & DEFAULT_PENDING) && text != get_value()) settle_default();
  zynParameterScalar::set_value(text);
  m_flags &= DEFAULT_PENDING;
  m_fast_point = 0;
  m_kept.kept.reset();
}

namespace {

// Returns true when zyn_normalize_real_text would give the number "text"
// back unchanged: no blanks around it, a digit first, "point" as its separator.
bool is_normal_real_text(const utString& text, char point) {
  const size_t digit = !text.empty() && text[0] == '-' ? 1 : 0;
  if (text.size() <= digit || !std::isdigit(static_cast<unsigned char>(text[digit])) || text.back() == ' ') return false;
  const size_t separator = text.find_first_of(".,");
  return separator != utString::npos && text[separator] == point;
}

// Gives a real's plain text its point as zyn_normalize_real_text would: in
// place of ".", or with "0" after it for a whole number. Texts with an
// exponent are left to it.
void put_point(utString& text, char point) {
  const size_t separator = text.find('.');
  if (separator != utString::npos) {
    text[separator] = point;
  } else if (text.find_first_not_of("-0123456789") == utString::npos) {
    text += point;
    text += '0';
  }
}

}  // namespace

void zynParameterNumeric::set_units(zynUnits units) {
  zyn_eval_note_value_change();
  m_units = units;
}

void zynParameterNumeric::set_range(const zynRange& range) {
  zyn_eval_note_value_change();
  m_range.set(range);
  m_fast_point = 0;
}

void zynParameterNumeric::set_normalized_value(const utString& text, const double* known) {
  char point = nlsUtils::m_decimal_point;
  // The text it holds already, parsed and stored as set: nothing to redo.
  const uint8_t same = TEXT_NORMALIZED | CLASSIFIED;
  if ((m_flags & (same | TEXT_PENDING)) == same && m_cache_point == point && zyn_same_text(text, m_value)) {
    m_fast_point = 0;
    onmodify_callback();
    return;
  }
  double raw = known ? *known : 0.0;
  bool literal = known || zyn_parse_number_text(text, point, raw);
  if (literal && (m_subtype == PS_REAL || m_subtype == PS_ANGLE) && !is_normal_real_text(text, point))
    set_value(zyn_normalize_real_text(text, point));
  else
    set_value(text);
  // The text was just parsed: keep what it said.
  m_cache_point = point;
  m_number = raw;
  m_flags |= CLASSIFIED | TEXT_NORMALIZED | (literal ? VALUE_KNOWN : EXPRESSION);
  onmodify_callback();
}

void zynParameterNumeric::set_string(const utString& text) {
  if (!is_locked()) set_normalized_value(text);
}

void zynParameterNumeric::set_double(double v) {
  if (is_locked()) return;
  // The shortest text that reads back as "v" reads back as "v": no need to
  // parse it again. Zero ("0" for -0.0) and what is not finite are parsed.
  const bool exact = std::isfinite(v) && v != 0.0;
  utString text = zynformat_double_exact(v);
  if (exact && (m_subtype == PS_REAL || m_subtype == PS_ANGLE)) put_point(text, nlsUtils::m_decimal_point);
  set_normalized_value(text, exact ? &v : nullptr);
}

void zynParameterNumeric::set_int(int i) {
  if (!is_locked()) set_normalized_value(std::to_string(i));
}

void zynParameterNumeric::set_double_in_units(double v, zynUnits units, bool& failed) {
  double converted = m_units.convert_value_from(v, units, failed);
  if (!failed) set_double(converted);
}

void zynParameterNumeric::copy_value_from(const zynParameter& src) {
  if (&src == this) return;
  if ((m_subtype == PS_INT || m_subtype == PS_BOOL) && !src.is_expr()) {
    // The source's text read through this subtype's rule: an INT takes the floor.
    zynParameterNumeric reader(m_subtype, zynDimensions(ZYN_DIM_NONE), 0.0);
    reader.m_flags &= ~DEFAULT_PENDING;
    reader.zynParameter::copy_value_from(src);
    set_int(reader.get_int());
    return;
  }
  zynParameter::copy_value_from(src);
}

void zynParameterNumeric::reset() {
  if (m_flags & DEFAULT_PENDING) settle_default();
  zynParameterScalar::reset();
}

void zynParameterNumeric::set_defaults(const utString& first, const utString& second) {
  m_flags &= ~DEFAULT_PENDING;
  zynParameterScalar::set_defaults(first, second);
}

// --- Printing -------------------------------------------------------------------

namespace {

const char* subtype_word(zynParameterSubType s) {
  switch (s) {
    case PS_REAL: return "REAL";
    case PS_INT: return "INT";
    case PS_BOOL: return "BOOL";
    case PS_ANGLE: return "ANGLE";
    default: return "NUMERIC";
  }
}

}  // namespace

utString zynParameterNumeric::print(int) const {
  utString out = "(";
  out += subtype_word(m_subtype);
  if (!is_valid()) out += " !";
  out += ") ";
  const utString& text = get_value();
  out += text;
  utString value = get_string();
  if (value != text) {
    out += " = ";
    out += value;
  }
  out += ' ';
  out += m_dims.get_string();
  out += '\n';
  return out;
}

utString zynParameterNumeric::get_xml_typename() const {
  switch (m_subtype) {
    case PS_REAL: return "real";
    case PS_INT: return "int";
    case PS_BOOL: return "bool";
    case PS_ANGLE: return "angle";
    default: return utString();
  }
}
