#include "zyn/core/zynQueryParameter.h"

#include <limits>
#include <memory>

namespace {

std::unique_ptr<zynQueryParameter>& instance() {
  static std::unique_ptr<zynQueryParameter> query;
  return query;
}

}  // namespace

zynQueryParameter& zynQueryParameter::singleton() {
  std::unique_ptr<zynQueryParameter>& query = instance();
  if (!query) query = std::make_unique<zynQueryParameter>();
  return *query;
}

void zynQueryParameter::delete_singleton() { instance().reset(); }

utString zynQueryParameter::evaluate_expression_string(const utString& expression) const {
  if (expression.empty() || !m_eval) return utString();
  return m_eval(expression);
}

int zynQueryParameter::evaluate_expression_int(const utString& expression) const {
  const int failed = std::numeric_limits<int>::max();
  const utString answer = evaluate_expression_string(expression);
  int value = 0;
  int end = 0;
  if (answer.empty() || !ut_parse(answer, value, end)) return failed;
  return value;
}

double zynQueryParameter::evaluate_expression_double(const utString& expression) const {
  const double failed = std::numeric_limits<double>::max();
  const utString answer = evaluate_expression_string(expression);
  double value = 0.0;
  int end = 0;
  if (answer.empty() || !ut_parse(answer, value, end)) return failed;
  return value;
}
