// Until the expression language exists, every expression is a type error.
#include "zyn/core/zynParameterError.h"
#include "zyn/expr/zynEvaluator.h"

zynEvaluator::zynEvaluator(const zynParameter* owner) : m_owner(owner) {}
zynParameterPtr zynEvaluator::evaluate(const utString&) { return zynParameterError::create(PS_ERR_TYPE); }
zynParameterPtr zynEvaluator::evaluate(const zynParameterPtr& p) { return zynParameter::evaluate(*p); }
utString zynEvaluator::interpolate_string(const utString& text) { return text; }
void zynEvaluator::get_paramset(zynParameterPtrcoDList& out) const { out = m_referenced; }
utString zynEvaluator::localize(const utString& text) { return text; }
utString zynEvaluator::neutralize(const utString& text) { return text; }
