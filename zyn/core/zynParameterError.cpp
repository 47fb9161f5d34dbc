#include "zyn/core/zynParameterError.h"

#include "zyn/host/zynNls.h"

ZYN_DEFINE_TYPE(zynParameterError, zynParameter)

namespace {
constexpr int error_kinds = 10;
}  // namespace

zynParameterPtr zynParameterError::create(zynParameterSubType subtype) {
  // Built once, thread-safe, and kept until unload.
  static const zynParameterPtr* shared = [] {
    auto* values = new zynParameterPtr[error_kinds + 1];
    for (int i = 0; i < error_kinds; ++i)
      values[i] = zynParameterPtr(new zynParameterError(static_cast<zynParameterSubType>(i)));
    values[error_kinds] = zynParameterPtr(new zynParameterError(PS_ERR_UNKNOWN));
    return values;
  }();
  int index = subtype >= 0 && subtype < error_kinds ? subtype : error_kinds;
  return shared[index];
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
