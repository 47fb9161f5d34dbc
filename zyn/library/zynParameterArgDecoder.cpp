#include "zyn/library/zynParameterArgDecoder.h"

#include "zyn/collections/zynParameterArray.h"
#include "zyn/core/zynParameterError.h"

zynParameterArgDecoder::zynParameterArgDecoder(const zynParameterPtr& args) : m_args(args) {}

bool zynParameterArgDecoder::all_arguments_used() const { return m_next == m_args->size(); }

zynParameterPtr zynParameterArgDecoder::next_argument() {
  if (m_next >= m_args->size()) return zynParameterError::create(PS_ERR_ARGUMENTS);
  return m_args[zynParameterKey(m_next++, utString())];
}

zynParameterPtr zynParameterArgDecoder::remaining_arguments() const {
  const zynParameterArray* array = zynParameterArray::ut_dynamic_cast(m_args.pointer());
  if (!array) return zynParameterError::create(PS_ERR_ARGUMENTS);
  return array->slice(m_next, array->size());
}
