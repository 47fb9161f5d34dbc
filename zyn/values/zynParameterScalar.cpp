#include "zyn/values/zynParameterScalar.h"

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterMap.h"
#include "zyn/core/zynParameterUpdateTrack.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/host/zynShortText_internal.h"
#include "zyn/host/zynUnitsUtils.h"
#include "zyn/values/zynOwnKinds_internal.h"
#include "zyn/values/zynParameterEnum.h"
#include "zyn/values/zynParameterNumeric.h"
#include "zyn/values/zynParameterString.h"

#include <typeinfo>

ZYN_DEFINE_TYPE(zynParameterScalar, zynParameter)

namespace {

// Returns the index of the state "text" names in the enumeration "e", or -1.
int enum_state_index(const zynParameter& e, const utString& text) {
  const zynParameterEnum* states = zynParameterEnum::ut_dynamic_cast(e.get_ref());
  return states ? states->find_index(text) : -1;
}

// Compares an enumeration with another scalar by state index. "e" is the
// enumeration side; "text" names the state to compare with.
zynParameterPtr compare_states(const zynParameter& e, const utString& text, bool equal) {
  int theirs = enum_state_index(e, text);
  if (theirs < 0) return zynParameterError::create(PS_ERR_TYPE);
  int mine = enum_state_index(e, e.get_string());
  return zyn_create_bool((mine == theirs) == equal);
}

}  // namespace

zynParameterScalar::zynParameterScalar(const utString& value) : m_value(value) {}

void zynParameterScalar::reset() {
  zynParameterImpl& record = impl();
  if (record.get(zynParameterImpl::DEFAULT_VALUE).empty()) record.set(zynParameterImpl::DEFAULT_VALUE, get_value());
  // Copies: set_string may replace the record's texts through callbacks.
  const utString& second = record.get(zynParameterImpl::DEFAULT_VALUE_SECOND_UNITS);
  utString text = !second.empty() && zynUnitsUtils::get_units() != zynUnitsMetric
                      ? second
                      : record.get(zynParameterImpl::DEFAULT_VALUE);
  set_string(text);
}

int zynParameterScalar::is_valid() const {
  return get_type(*evaluate()) == type() && zynParameter::is_valid();
}

zynParameterOnModify zynParameterScalar::set_onmodify_callback(zynParameterOnModify fn) {
  return exchange_onmodify_callback(fn);
}

zynParameterOnRead zynParameterScalar::set_onread_callback(zynParameterOnRead fn) {
  return exchange_onread_callback(fn);
}

utString zynParameterScalar::get_string() const {
  if (!is_expr()) {
    onread_callback();
    return get_value();
  }
  zynParameterPtr result = evaluate();
  const zynParameterScalar* scalar = ut_dynamic_cast(result.pointer());
  return scalar ? scalar->get_string() : utString();
}

void zynParameterScalar::set_string(const utString& text) {
  if (is_locked()) return;
  set_value(text);
  onmodify_callback();
}

void zynParameterScalar::set_defaults(const utString& first, const utString& second) {
  zynParameterImpl& record = impl();
  record.set(zynParameterImpl::DEFAULT_VALUE_SECOND_UNITS, first == second ? utString() : zynEvaluator::localize(second));
  record.set(zynParameterImpl::DEFAULT_VALUE, zynEvaluator::localize(first));
}

int zynParameterScalar::is_expr() const {
  const utString& text = get_value();
  // A kind may hold its text elsewhere: only the own text's verdict is kept.
  const bool own = &text == &m_value;
  if (own && m_interpolates >= 0) return m_interpolates;
  const int found = interpolates(text);
  if (own) m_interpolates = static_cast<int8_t>(found);
  return found;
}

// Values may be megabytes long: a short text (most are) is read once, a
// long one with the library's searches.
int zynParameterScalar::interpolates(const utString& text) {
  constexpr size_t short_text = 64;
  if (text.size() > short_text) return text.find("%[") != utString::npos || text.find("${") != utString::npos;
  for (size_t i = 1; i < text.size(); ++i) {
    const char opening = text[i];
    if ((opening == '[' && text[i - 1] == '%') || (opening == '{' && text[i - 1] == '$')) return 1;
  }
  return 0;
}

utString zynParameterScalar::get_expr() const { return expr_text(); }

void zynParameterScalar::set_value(const utString& text) {
  zyn_eval_note_value_change();
  const utString& current = get_value();
  if (!zyn_same_text(text, current)) zynParameterUpdateTrack::track_parameter(this);
  else if (&current == &m_value) return;  // the same text (a tree loaded into its like)
  m_value = text;
  m_interpolates = -1;
}

int zynParameterScalar::is_equal(const zynParameter& other) const {
  const zynParameterScalar* scalar = ut_dynamic_cast(&other);
  return zynParameter::is_equal(other) && scalar && get_value() == scalar->get_value();
}

zynParameterPtr zynParameterScalar::operate_binary(const utString& op, const zynParameterPtr& rhs) const {
  if (!is_valid() || !rhs->is_valid()) return zynParameterError::create(PS_ERR_ARGUMENTS);
  bool equality = op == "==" || op == "!=";
  if (equality) {
    bool equal = op == "==";
    if (type() == PT_ENUM) return compare_states(*this, rhs->get_string(), equal);
    if (get_type(*rhs) == PT_ENUM) return compare_states(*rhs, get_string(), equal);
    return zyn_create_bool((get_string() == rhs->get_string()) == equal);
  }
  if (op == "+") return zyn_create_string(get_string() + rhs->get_string());
  return zynParameter::operate_binary(op, rhs);
}

namespace {

enum class zynOwnKind { other, numeric, string, enumeration, map };

// The library's kinds are told apart by the address of their type
// information: a second copy of it (another module's) only sends a value
// the general way.
zynOwnKind own_kind(const zynParameter& p) {
  const std::type_info* kind = &typeid(p);
  if (kind == &typeid(zynParameterNumeric)) return zynOwnKind::numeric;
  if (kind == &typeid(zynParameterString)) return zynOwnKind::string;
  if (kind == &typeid(zynParameterEnum)) return zynOwnKind::enumeration;
  if (kind == &typeid(zynParameterMap)) return zynOwnKind::map;
  return zynOwnKind::other;
}

}  // namespace

const utString* zyn_plain_scalar_text(const zynParameter& p) {
  if (zyn_eval_read_callbacks) return nullptr;
  const zynOwnKind kind = own_kind(p);
  if (kind == zynOwnKind::numeric) return static_cast<const zynParameterNumeric&>(p).formatted_literal();
  if (kind != zynOwnKind::string && kind != zynOwnKind::enumeration) return nullptr;
  const zynParameterScalar& scalar = static_cast<const zynParameterScalar&>(p);
  if (scalar.is_expr()) return nullptr;
  const utString& text = scalar.get_value();
  if (kind == zynOwnKind::enumeration && static_cast<const zynParameterEnum&>(p).find_index(text) < 0) return nullptr;
  return &text;
}

const zynParameterScalar* zyn_scalar_cast(const zynParameter& p) {
  const zynOwnKind kind = own_kind(p);
  if (kind != zynOwnKind::other && kind != zynOwnKind::map) return static_cast<const zynParameterScalar*>(&p);
  return zynParameterScalar::ut_dynamic_cast(&p);
}

int zyn_member_active(const zynParameter& member, const zynParameter* active_container) {
  // A read callback may change anything, the container's activity included.
  if (active_container && member.parent() == active_container && !zyn_eval_read_callbacks &&
      own_kind(member) != zynOwnKind::other)
    return member.own_activity();
  return member.is_active();
}
