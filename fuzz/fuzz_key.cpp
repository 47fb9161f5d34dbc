// Parses the input as a key and looks it up in the sample tree: every part
// of the parse is read, the key is taken apart and put together again, and
// the lookup's result is read through.
#include <cstdio>
#include <cstdlib>

#include "zynFuzzTree.h"

namespace {

// Keys joined with + are built from their parts, not parsed: they must read
// as a parse of the joined text does.
void check_join(const zynParameterKey& left, const zynParameterKey& right) {
  if (left.str().empty()) return;
  const zynParameterKey joined = left + right;
  const utString text = left.str() + (right.type() == PT_ARRAY ? "" : ".") + right.str();
  const zynParameterKey parsed(text);
  if (joined.type() != parsed.type() || joined.first() != parsed.first() ||
      joined.remainder_str() != parsed.remainder_str() || joined.str() != parsed.str()) {
    std::fprintf(stderr, "joined key \"%s\" reads unlike its parse\n", text.c_str());
    std::abort();
  }
}

void take_apart(const zynParameterKey& key) {
  (void)key.type();
  (void)key.first();
  (void)key.str();
  (void)key.last();
  (void)key.empty();
  check_join(key.parent(), zynParameterKey(key.last()));
  check_join(key.first_key(), key.remainder());
  check_join(key, key);
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
