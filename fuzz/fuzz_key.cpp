// Parses the input as a key and looks it up in the sample tree: every part
// of the parse is read, the key is taken apart and put together again, and
// the lookup's result is read through.
#include "zynFuzzTree.h"

namespace {

void take_apart(const zynParameterKey& key) {
  (void)key.type();
  (void)key.first();
  (void)key.str();
  (void)key.last();
  (void)key.empty();
  const zynParameterKey joined = key.parent() + zynParameterKey(key.last());
  (void)joined.str();
  (void)(key.first_key() + key.remainder()).str();
  zynParameterKey rest = key;
  for (int steps = 0; steps < 256 && !rest.empty(); ++steps) rest = rest.remainder();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const utString text = zyn_fuzz_text(data, size);
  const zynParameterKey key(text);
  take_apart(key);

  zynParameterPtr root = zyn_fuzz_tree();
  zyn_fuzz_touch((*root)[key]);
  const zynParameter& constant = *root;
  zyn_fuzz_touch(constant[key]);
  zyn_fuzz_touch((*root)[zynParameterKey("tool")][key]);
  zyn_fuzz_touch((*root)[zynParameterKey("values")][key]);
  zyn_fuzz_touch((*root)[zynParameterKey("r")][key]);
  zyn_fuzz_touch((*root)[zynParameterKey(1, text)]);
  return 0;
}
