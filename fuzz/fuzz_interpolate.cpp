// Interpolates the input as a string text ("%[...]", "${...}", "$name",
// "$$") in the sample tree, from the root and from a nested map, and as the
// value of a string and an enumeration.
#include "zynFuzzTree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const utString text = zyn_fuzz_text(data, size);
  zynParameterPtr root = zyn_fuzz_tree();
  zynParameterEvalScope scope(root);

  zynEvaluator at_root(root.pointer());
  (void)at_root.interpolate_string(text);
  (void)at_root.interpolate_string(text);  // an evaluator may be used again
  zynEvaluator in_tool((*root)[zynParameterKey("tool")].pointer());
  (void)in_tool.interpolate_string(text);

  zynParameterPtr str = root->add("probe", zyn_string(text));
  zyn_fuzz_touch(str);
  zynParameterPtr shape = (*root)[zynParameterKey("shape")];
  shape->set_string(text);
  zyn_fuzz_touch(shape);
  return 0;
}
