// Evaluates the input as an expression in every place a host puts one: the
// text of a real, of a string, of a reference, the body of a user function
// (called), an activity condition, and a plain evaluation in the sample
// tree's scope. All results are read through.
#include "zynFuzzTree.h"

namespace {

zynParameterPtr probe(const zynParameterPtr& root, const char* name, zynParameter* p) {
  return root->add(name, zynParameterPtr(p));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const utString text = zyn_fuzz_text(data, size);
  zynParameterPtr root = zyn_fuzz_tree();
  zynParameterEvalScope scope(root);

  zyn_fuzz_touch(zyn_test_eval(root, text));
  zyn_fuzz_touch(zyn_test_eval((*root)[zynParameterKey("tool")], text));

  zynParameterPtr real = probe(root, "probe_real", new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_LENGTH), 0));
  real->set_string(text);
  zyn_fuzz_touch(real);

  zynParameterPtr str = probe(root, "probe_string", new zynParameterString());
  str->set_string(text);
  zyn_fuzz_touch(str);

  zynParameterPtr ref = probe(root, "probe_ref", new zynParameterRef(text));
  zyn_fuzz_touch(ref);
  (void)ref->get_ref();

  probe(root, "probe_fn", new zynParameterFunction(text));
  zyn_fuzz_touch(zyn_test_eval(root, "probe_fn(1, 'x', values)"));

  zynParameterPtr active = (*root)[zynParameterKey("tool")][zynParameterKey("flutes")];
  active->set_active(text);
  (void)active->is_active();
  zyn_fuzz_touch(root);
  return 0;
}
