#include "zyn/core/zynParameterError.h"

#include "zyn/host/zynNls.h"

ZYN_DEFINE_TYPE(zynParameterError, zynParameter)

namespace {
constexpr int error_kinds = 10;
}  // namespace

// Built once, thread-safe, and kept until unload. Each record is made here,
// so that copying a shared value, from any thread, only reads it.
const zynParameterPtr* zynParameterError::shared_values() {
  static const zynParameterPtr* shared = [] {
    auto* values = new zynParameterPtr[error_kinds + 1];
    for (int i = 0; i <= error_kinds; ++i) {
      values[i] = zynParameterPtr(new zynParameterError(static_cast<zynParameterSubType>(i < error_kinds ? i : 0)));
      values[i]->get_impl();
    }
    return values;
  }();
  return shared;
}

zynParameterPtr zynParameterError::create(zynParameterSubType subtype) {
  int index = subtype >= 0 && subtype < error_kinds ? subtype : error_kinds;
  return shared_values()[index];
}

int zynParameterError::is_shared(const zynParameter& p) {
  if (!p.is_error()) return 0;
  const zynParameterPtr* shared = shared_values();
  for (int i = 0; i <= error_kinds; ++i)
    if (shared[i].raw() == &p) return 1;
  return 0;
}

zynParameterPtr zynParameterError::storable(const zynParameterPtr& p) {
  const zynParameter& value = *p;
  return is_shared(value) ? zynParameterPtr(value.create_new()) : p;
}

zynParameterError::zynParameterError(const zynParameterError& other) : zynParameter(other), m_subtype(other.m_subtype) {
  if (is_shared(other)) set_impl(zynParameterImplPtr());
}

const char* zynParameterError::message_key(zynParameterSubType subtype) {
  static const char* const messages[error_kinds] = {
      "Unknown error", "Syntax error",   "Expression/Reference error", "Invalid name",      "Domain error",
      "Divide by zero", "Incompatible dimensions", "Type error", "Invalid arguments", "Invalid data"};
  return subtype >= 0 && subtype < error_kinds ? messages[subtype] : messages[0];
}

utString zynParameterError::get_expr() const { return zynNLS_get_translated_message(message_key(m_subtype)); }

utString zynParameterError::get_string() const { return zynNLS_get_translated_message("#ERROR") + ": " + get_expr(); }

utString zynParameterError::print(int) const { return "(ERROR) " + get_expr() + "\n"; }

const zynRefToObjectId& zynParameterError::get_ref_id() const { return zynRefToObjectId::empty(); }

zynParameterPtr zynParameterError::evaluate() const { return zynParameterPtr(create_new()); }
