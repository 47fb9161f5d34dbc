#include "zyn/library/zynParameterArgDecoder.h"

#include "zyn/collections/zynParameterArray.h"
#include "zyn/library/zynLibArgs_internal.h"

using namespace zyn_lib_args;

zynParameterArgDecoder::zynParameterArgDecoder(const zynParameterPtr& args) : m_args(args) {}

bool zynParameterArgDecoder::all_arguments_used() const { return m_next == m_args->size(); }

zynParameterPtr zynParameterArgDecoder::next_argument() {
  if (m_next >= m_args->size()) return bad_arguments();
  return arg(m_args, m_next++);
}

zynParameterPtr zynParameterArgDecoder::remaining_arguments() const {
  const zynParameterArray* array = zynParameterArray::ut_dynamic_cast(m_args.pointer());
  if (!array) return bad_arguments();
  return array->slice(m_next, array->size());
}
