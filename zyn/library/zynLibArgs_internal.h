// Argument access and result builders shared by every built-in and by
// zynParameterArgDecoder. Arguments are read by position; a reference
// argument stands for its target wherever a built-in needs a value of a kind.
#pragma once

#include "zyn/core/zynParameter.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/library/zynParameterLib.h"
#include "zyn/values/zynParameterNumeric.h"
#include "zyn/values/zynParameterString.h"

namespace zyn_lib_args {

// Returns argument "i" of "args" as the evaluator produced it (shared).
inline zynParameterPtr arg(const zynParameterPtr& args, int i) { return args[zynParameterKey(i, utString())]; }

// Returns what "p" stands for: the target of a reference (held for the
// caller while something owns it), else "p" itself. A reference that cannot
// be resolved gives "Expression/Reference error".
inline zynParameterPtr target(const zynParameterPtr& p) {
  const zynParameter* t = p.par();
  if (t == p.pointer()) return p;
  if (!t) return zynParameterLib::error(PS_ERR_REFERENCE);
  zynParameter* q = const_cast<zynParameter*>(t);
  // A target that no handle owns lives elsewhere and is not ours to keep.
  return t->reference_count() > 0 ? zynParameterPtr(q) : zynParameterPtr(coPrfExternal, q);
}

// Returns the target of argument "i" as a "T", or null when it is none.
// The pointer stays valid while "holder" lives.
template <class T>
T* arg_as(const zynParameterPtr& args, int i, zynParameterPtr& holder) {
  holder = target(arg(args, i));
  return T::ut_dynamic_cast(holder.pointer());
}

inline zynParameterPtr bad_arguments() { return zynParameterLib::error(PS_ERR_ARGUMENTS); }
inline zynParameterPtr bad_data() { return zynParameterLib::error(PS_ERR_DATA); }

inline zynParameterPtr new_number(zynParameterSubType subtype, double value, zynDimStandard dim = ZYN_DIM_NONE) {
  return zynParameterPtr(new zynParameterNumeric(subtype, zynDimensions(dim), value));
}
inline zynParameterPtr new_int(int value) { return new_number(PS_INT, value); }
inline zynParameterPtr new_bool(int value) { return zynParameterPtr(zynParameterNumeric::create_bool(value)); }
inline zynParameterPtr new_string(const utString& text) { return zyn_create_string(text); }

}  // namespace zyn_lib_args
